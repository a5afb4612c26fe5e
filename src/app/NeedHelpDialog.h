#pragma once

#include "app/WindowDragger.h"

#include <QDialog>
#include <QPointer>

#include <memory>

namespace Ui {
class NeedHelpDialog;
}

// A small framed dialog that shows a help widget (in practice a picture) supplied by the caller.
// It can be dragged like the main window and dims the main window while it is open.
class NeedHelpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NeedHelpDialog(QWidget *parent = nullptr);
    ~NeedHelpDialog() override;

    // Takes ownership of `widget` and shows it in the dialog's frame.
    void setContentWidget(QWidget *widget);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    std::unique_ptr<Ui::NeedHelpDialog> ui;
    WindowDragger m_dragger;
    QPointer<QWidget> m_dimmedWindow;
};
