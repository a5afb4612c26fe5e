#pragma once

#include <QList>
#include <QObject>
#include <QString>

// Answers the product-information step's serial pop-up (SerialDialog) for a test: queue a serial
// to type and CONTINUE, or back() for BACK, before the step starts; each pop-up that appears takes
// the next answer. A pop-up that finds the queue empty stays open.
class SerialAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit SerialAnswerer(QObject *parent = nullptr);
    ~SerialAnswerer() override;

    void answer(const QString &serial);
    void back();

    // The serials the pop-ups offered when they appeared, oldest first.
    const QStringList &offered() const { return m_offered; }
    int shownCount() const { return int(m_offered.size()); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    struct Answer
    {
        bool back = false;
        QString serial;
    };
    QList<Answer> m_answers;
    QStringList m_offered;
};
