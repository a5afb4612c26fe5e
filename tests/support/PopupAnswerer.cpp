#include "PopupAnswerer.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {
QString textOf(QDialog *dialog, const char *name)
{
    auto *label = dialog->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QString();
}

QString readText(QDialog *dialog)
{
    auto *label = dialog->findChild<QLabel *>(QStringLiteral("TextLabel"));
    QAccessibleInterface *readable = label ? QAccessible::queryAccessibleInterface(label) : nullptr;
    return readable ? readable->text(QAccessible::Name) : QString();
}

QString buttonText(QDialog *dialog, const char *name)
{
    auto *button = dialog->findChild<QAbstractButton *>(QLatin1String(name));
    return button && !button->isHidden() ? button->text() : QString();
}

bool isPopup(QObject *object)
{
    return object->inherits("PopupDialog") || object->inherits("NeedHelpDialog");
}
} // namespace

PopupAnswerer::PopupAnswerer(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

PopupAnswerer::~PopupAnswerer()
{
    qApp->removeEventFilter(this);
}

void PopupAnswerer::answer(Button button, int times)
{
    for (int i = 0; i < times; ++i) {
        m_answers.append(button);
    }
}

void PopupAnswerer::expect(const QList<RouteAnswer> &answers)
{
    for (const RouteAnswer &given : answers) {
        if (!given.text.isEmpty()) {
            answerSerial(given.text);
        } else {
            answer(given.accept ? Button::Right : Button::Left);
        }
    }
}

QDialog *PopupAnswerer::openPopup() const
{
    for (qsizetype i = m_open.size() - 1; i >= 0; --i) {
        if (m_open[i] && m_open[i]->isVisible()) {
            return m_open[i];
        }
    }
    return nullptr;
}

bool PopupAnswerer::answerOpen(Button button)
{
    QDialog *dialog = openPopup();
    if (!dialog) {
        return false;
    }
    press(dialog, button);
    return true;
}

void PopupAnswerer::answerUnexpectedWith(Button button)
{
    m_unexpectedAnswer = button;
}

bool PopupAnswerer::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::Show && object->inherits("SerialDialog")) {
        auto *dialog = static_cast<QDialog *>(object);
        m_serialHeaders.append(textOf(dialog, "PopupHeaderLabel"));
        if (!m_serials.isEmpty()) {
            QTimer::singleShot(
                0, this, [guarded = QPointer(dialog), serial = m_serials.takeFirst()] {
                    if (guarded) {
                        guarded->findChild<QLineEdit *>(QStringLiteral("SerialLineEdit"))
                            ->setText(serial);
                        guarded->findChild<QAbstractButton *>(QStringLiteral("RightPopupButton"))
                            ->click();
                    }
                });
        }
        return false;
    }
    if (event->type() == QEvent::Show && isPopup(object)) {
        auto *dialog = static_cast<QDialog *>(object);
        m_shown.append({QString::fromLatin1(dialog->metaObject()->className()),
                        textOf(dialog, "PopupHeaderLabel"), textOf(dialog, "TextLabel"),
                        readText(dialog), buttonText(dialog, "LeftPopupButton"),
                        buttonText(dialog, "RightPopupButton")});
        m_open.append(dialog);
        if (m_answers.isEmpty() && m_unexpectedAnswer) {
            ++m_unexpected;
            m_answers.append(*m_unexpectedAnswer);
        }
        if (!m_answers.isEmpty()) {
            const Button button = m_answers.takeFirst();
            // Pressed once the dialog's own event loop runs, as a user would.
            QPointer<QDialog> guarded(dialog);
            QTimer::singleShot(0, this, [this, guarded, button] {
                if (guarded) {
                    press(guarded, button);
                }
            });
        }
    }
    return false;
}

void PopupAnswerer::press(QDialog *dialog, Button button)
{
    if (button == Button::Escape) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        if (!dialog->isVisible()) {
            return;
        }
        // Counted and closed, so that a test fails rather than waits for ever.
        ++m_unexpected;
        button = Button::Left;
    }
    const bool popup = dialog->inherits("PopupDialog");
    const char *name = button == Button::Left ? (popup ? "LeftPopupButton" : "CloseButton")
                                              : (popup ? "RightPopupButton" : "OkButton");
    if (auto *widget = dialog->findChild<QAbstractButton *>(QLatin1String(name))) {
        widget->click();
    }
}
