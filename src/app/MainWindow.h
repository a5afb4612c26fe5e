#pragma once

#include "app/WindowDragger.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

namespace Ui {
class MainWindow;
}
class OverlayWidget;

// The program's one window: a frameless frame with a close button, the logo and a stack that
// always holds exactly one wizard page. It dims itself while pop-ups are open and can be dragged
// by any point that is not a push button.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

public Q_SLOTS:
    void setLogoImage(QString code);
    void setOverlayVisible(bool visible);

protected Q_SLOTS:
    void Initialization();
    void onCurrentPageChanged(QWidget *page);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    std::unique_ptr<Ui::MainWindow> ui;
    QPointer<OverlayWidget> m_overlay;
    qint32 m_overlayRequests = 0;
    WindowDragger m_dragger;
};
