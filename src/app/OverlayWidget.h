#pragma once

#include <QWidget>

// A translucent layer that dims its parent while a pop-up is open. It follows the parent's size
// and stays above every child the parent gains.
class OverlayWidget : public QWidget
{
    Q_OBJECT

public:
    explicit OverlayWidget(QWidget *parent);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
