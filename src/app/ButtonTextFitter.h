#pragma once

#include <QObject>

class QPushButton;

// Keeps a button's text whole in the width the layout gives the button: when the text (a long
// translation, say) is wider than that, the button's font is made smaller until it fits, as the
// pop-up does with its header. A text that fits keeps the style sheet's size.
class ButtonTextFitter : public QObject
{
    Q_OBJECT

public:
    // The fitter lives as long as the button.
    static void attach(QPushButton *button);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    explicit ButtonTextFitter(QPushButton *button);
    void fit();

    QPushButton *m_button;
    int m_basePixelSize = 0;
    QString m_appliedSheet;
};
