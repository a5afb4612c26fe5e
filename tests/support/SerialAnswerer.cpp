#include "SerialAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

SerialAnswerer::SerialAnswerer(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

SerialAnswerer::~SerialAnswerer()
{
    qApp->removeEventFilter(this);
}

void SerialAnswerer::answer(const QString &serial)
{
    m_answers.append(serial);
}

bool SerialAnswerer::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() != QEvent::Show || !object->inherits("SerialDialog")) {
        return false;
    }
    auto *dialog = static_cast<QDialog *>(object);
    m_headers.append(dialog->findChild<QLabel *>(QStringLiteral("PopupHeaderLabel"))->text());
    if (m_answers.isEmpty()) {
        return false;
    }
    // Typed and pressed once the dialog's own event loop runs, as a user would.
    QTimer::singleShot(
        0, this, [guarded = QPointer<QDialog>(dialog), serial = m_answers.takeFirst()] {
            if (guarded) {
                guarded->findChild<QLineEdit *>(QStringLiteral("SerialLineEdit"))->setText(serial);
                guarded->findChild<QAbstractButton *>(QStringLiteral("RightPopupButton"))->click();
            }
        });
    return false;
}
