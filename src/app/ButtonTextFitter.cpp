#include "app/ButtonTextFitter.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {
// The style sheet's horizontal padding of a push button, on each side.
const int kPadding = 12;
} // namespace

void ButtonTextFitter::attach(QPushButton *button)
{
    if (button) {
        new ButtonTextFitter(button);
    }
}

ButtonTextFitter::ButtonTextFitter(QPushButton *button)
    : QObject(button)
    , m_button(button)
{
    button->installEventFilter(this);
}

bool ButtonTextFitter::eventFilter(QObject *object, QEvent *event)
{
    if (object == m_button && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        fit();
    }
    return false;
}

void ButtonTextFitter::fit()
{
    if (m_basePixelSize == 0) {
        m_button->ensurePolished();
        m_basePixelSize = QFontInfo(m_button->font()).pixelSize();
    }
    QFont base = m_button->font();
    base.setPixelSize(m_basePixelSize);
    const int needed = QFontMetrics(base).horizontalAdvance(m_button->text()) + 2 * kPadding;
    const int room = m_button->width();

    QString sheet;
    if (needed > room && needed > 0 && room > 2 * kPadding) {
        // The padding stays; only the text shrinks.
        const double ratio = double(room - 2 * kPadding) / (needed - 2 * kPadding);
        sheet = QStringLiteral("font-size: %1px;")
                    .arg(std::max(1, int(std::floor(m_basePixelSize * ratio))));
    }
    // Setting the same sheet again would polish the button anew and resize it in a loop.
    if (sheet != m_appliedSheet) {
        m_appliedSheet = sheet;
        m_button->setStyleSheet(sheet);
    }
}
