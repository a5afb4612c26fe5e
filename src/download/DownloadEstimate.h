#pragma once

#include <QCoreApplication>
#include <QString>

// The two texts under a download's progress bar, worked out once a second from the bytes received
// so far: how many megabytes have arrived, and how long the rest should take at a smoothed rate.
// Pure arithmetic, so every case can be tried without a network.
class DownloadEstimate
{
    Q_DECLARE_TR_FUNCTIONS(DownloadPage)

public:
    struct Tick
    {
        QString downloaded;
        QString timeLeft; // empty when no estimate can be made
        bool sawData = false;
    };

    // A new attempt, which starts with `received` bytes of the file already there, estimates its
    // rate afresh from its own bytes. The count of silent seconds is kept: it belongs to the page,
    // not to one attempt.
    void restart(qint64 received);

    // One second has passed; `received` and `total` are the transfer's latest figures (total -1
    // when the server announced none).
    Tick tick(qint64 received, qint64 total);

    static QString stalledText();

private:
    QString timeLeft(qint64 received, qint64 total) const;

    qint64 m_lastReceived = 0;
    double m_averageSpeed = 0.0;
    quint8 m_silentTicks = 0;
};
