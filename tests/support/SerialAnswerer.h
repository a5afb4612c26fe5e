#pragma once

#include <QList>
#include <QObject>
#include <QString>

// Answers the product-information step's serial pop-up (SerialDialog) for a test: queue a serial
// to type and CONTINUE before the step starts; each pop-up that appears takes the next answer. A
// pop-up that finds the queue empty stays open.
class SerialAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit SerialAnswerer(QObject *parent = nullptr);
    ~SerialAnswerer() override;

    void answer(const QString &serial);

    // The headers of the pop-ups that appeared, oldest first.
    const QStringList &headers() const { return m_headers; }
    int shownCount() const { return int(m_headers.size()); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QStringList m_answers;
    QStringList m_headers;
};
