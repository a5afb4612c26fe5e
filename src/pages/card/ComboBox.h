#pragma once

#include <QComboBox>

// The drive list: an ordinary combo box that reads "No drive detected", greyed, while it offers
// nothing, instead of standing blank.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    // The greyed text of an empty list.
    static QString placeholderText();

protected:
    void paintEvent(QPaintEvent *event) override;
};
