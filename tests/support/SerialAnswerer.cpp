#include "SerialAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
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
    m_answers.append({false, serial});
}

void SerialAnswerer::back()
{
    m_answers.append({true, QString()});
}

bool SerialAnswerer::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() != QEvent::Show || !object->inherits("SerialDialog")) {
        return false;
    }
    auto *dialog = static_cast<QDialog *>(object);
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("SerialLineEdit"));
    m_offered.append(edit ? edit->text() : QString());
    if (m_answers.isEmpty()) {
        return false;
    }
    const Answer answer = m_answers.takeFirst();
    // Typed and pressed once the dialog's own event loop runs, as a user would.
    QPointer<QDialog> guarded(dialog);
    QTimer::singleShot(0, this, [guarded, answer] {
        if (!guarded) {
            return;
        }
        if (auto *edit = guarded->findChild<QLineEdit *>(QStringLiteral("SerialLineEdit"));
            edit && !answer.back) {
            edit->setText(answer.serial);
        }
        const QString name =
            answer.back ? QStringLiteral("LeftPopupButton") : QStringLiteral("RightPopupButton");
        if (auto *button = guarded->findChild<QAbstractButton *>(name)) {
            button->click();
        }
    });
    return false;
}
