#pragma once

#include "Route.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

class QDialog;

// Answers the modal pop-ups that code under test opens, so no test blocks on exec(). Queue
// answers before the code runs; each pop-up that appears takes the next one, in order. A pop-up
// that finds the queue empty stays open until answerOpen() is called.
//
// For a PopupDialog, Left presses LeftPopupButton and Right presses RightPopupButton; for a
// NeedHelpDialog, Left is its close button and Right its OK button. The serial pop-up
// (SerialDialog) has answers of its own: answerSerial().
class PopupAnswerer : public QObject
{
    Q_OBJECT

public:
    enum class Button
    {
        Left,
        Right,
        // The key; a pop-up that stays open counts as unexpected and is closed with Left.
        Escape
    };

    struct Shown
    {
        QString className;
        QString header;
        QString text;
        QString readText;    // the text as laid out (markup taken away if it was taken as such)
        QString leftButton;  // empty when hidden
        QString rightButton; // empty when hidden
    };

    explicit PopupAnswerer(QObject *parent = nullptr);
    ~PopupAnswerer() override;

    void answer(Button button, int times = 1);
    // The next serial pop-up gets `serial` typed in and its CONTINUE pressed.
    void answerSerial(const QString &serial) { m_serials.append(serial); }
    // A route's answers: a text goes to the next serial pop-up, the others press a button.
    void expect(const QList<RouteAnswer> &answers);
    // The headers of the serial pop-ups that appeared, oldest first.
    const QStringList &serialHeaders() const { return m_serialHeaders; }
    // Presses a button of the newest pop-up that is open now; false when none is open.
    bool answerOpen(Button button);
    // From now on a pop-up that finds the queue empty is answered with `button` instead of
    // staying open, and counted: a walk that takes a wrong turn then fails instead of hanging.
    void answerUnexpectedWith(Button button);
    int unexpectedCount() const { return m_unexpected; }

    const QList<Shown> &shown() const { return m_shown; }
    int shownCount() const { return int(m_shown.size()); }
    int pendingAnswers() const { return int(m_answers.size()); }
    QDialog *openPopup() const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void press(QDialog *dialog, Button button);

    QList<Button> m_answers;
    QStringList m_serials;
    QStringList m_serialHeaders;
    QList<Shown> m_shown;
    QList<QPointer<QDialog>> m_open;
    std::optional<Button> m_unexpectedAnswer;
    int m_unexpected = 0;
};
