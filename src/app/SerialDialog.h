#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

namespace Ui {
class SerialDialog;
}

// Asks for the product serial in the program's pop-up style. CONTINUE accepts only a serial that
// is not blank; BACK rejects. Surrounding blanks (a pasted serial often carries them) are not part
// of the serial. The main window stays dimmed while the dialog exists.
class SerialDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SerialDialog(QWidget *parent = nullptr);
    ~SerialDialog() override;

    void setSerial(const QString &serial);
    QString serial() const;

    void accept() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::SerialDialog> ui;
    QPointer<QWidget> m_dimmedWindow;
};
