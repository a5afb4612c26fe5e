#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

namespace Ui {
class PopupDialog;
}
class QPushButton;

// The one modal pop-up of the program: a header, a body text, an optional warning line, an
// optional "Need Help?" button and two buttons. The left button rejects (the negative or "back"
// choice), the right one accepts. The main window stays dimmed while any pop-up exists.
class PopupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PopupDialog(QWidget *parent = nullptr);
    ~PopupDialog() override;

    void setHeader(const QString &text);
    void setText(const QString &text);
    void setLeftButtonText(const QString &text);
    void setRightButtonText(const QString &text);
    void setLinksEnabled(bool enabled);
    void showDurationWarning();
    QPushButton *showNeedHelpButton();

    // Puts the dialog's centre on the main window's centre, when the main window is shown.
    void centreOnMainWindow();

    // Asks a question in a pop-up centred on the main window; true when the right button was
    // pressed. An empty button text hides that button.
    static bool ask(const QString &header, const QString &text, const QString &leftButton,
                    const QString &rightButton);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::PopupDialog> ui;
    // The window whose overlay this dialog switched on, so the same one is switched off.
    QPointer<QWidget> m_dimmedWindow;
};
