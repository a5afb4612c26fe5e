#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>
#include <optional>

namespace Ui {
class PopupDialog;
}
class QPushButton;
class QScrollArea;

// The one modal pop-up of the program: a header, a body text, an optional warning line, an
// optional "Need Help?" button and two buttons. The left button rejects (the negative or "back"
// choice), the right one accepts. The main window stays dimmed while any pop-up exists.
class PopupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PopupDialog(QWidget *parent = nullptr);
    ~PopupDialog() override;

    // The header is plain text: it may name a product, and no markup is ever meant there.
    void setHeader(const QString &text);
    // One of the program's own translated messages, which may carry markup. Values from outside
    // that go into it are escaped by the caller.
    void setText(const QString &richText);
    // A text from outside the program (the service's words, the network stack's error), shown
    // exactly as it is: taken as markup, it could lose its "<...>" parts or load an image.
    void setPlainText(const QString &text);
    void setLeftButtonText(const QString &text);
    void setRightButtonText(const QString &text);
    // Links in the text open in the browser (web addresses only).
    void setLinksEnabled(bool enabled);
    void showDurationWarning();
    QPushButton *showNeedHelpButton();

    // For a question whose careful answer is the left button (NO): it gets the focus, and Enter
    // and Escape choose it.
    void makeLeftButtonTheDefault();

    // Puts the dialog's centre on the main window's centre, when the main window is shown.
    void centreOnMainWindow();

    // Shows the pop-up, centred on the main window, until it is answered: true for the right
    // button. It runs its own event loop, in which `asker` (the page that asks) may be replaced:
    // then the answer belongs to no page any more and is nothing, so it moves nothing.
    std::optional<bool> answerFor(QObject *asker);

    // A question for `asker`, answered as answerFor() answers it. An empty button text hides that
    // button.
    static std::optional<bool> ask(QObject *asker, const QString &header, const QString &text,
                                   const QString &leftButton, const QString &rightButton,
                                   bool leftIsDefault = false);
    // A question that no page asks; true when the right button was pressed.
    static bool ask(const QString &header, const QString &text, const QString &leftButton,
                    const QString &rightButton, bool leftIsDefault = false);

    // Writes the answer to the support log, as showing the pop-up wrote its text.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The body as the user reads it, without markup.
    QString readText() const;
    void fitTextToScreen();
    void relayout();

    std::unique_ptr<Ui::PopupDialog> ui;
    QScrollArea *m_textScroll = nullptr;
    int m_formHeight = 0;
    bool m_escapeChoosesLeft = false;
    // The window whose overlay this dialog switched on, so the same one is switched off.
    QPointer<QWidget> m_dimmedWindow;
};
