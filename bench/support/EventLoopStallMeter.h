#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Measures how long the event loop of the thread it lives in goes without turning: a 1 ms timer
// notes the longest gap between two of its ticks. A GUI thread that stalls for that long would
// freeze the window.
class EventLoopStallMeter : public QObject
{
    Q_OBJECT

public:
    explicit EventLoopStallMeter(QObject *parent = nullptr);

    void start();
    void stop();
    // The longest gap seen between two turns of the loop, in milliseconds.
    double longestStallMs() const { return m_longestNs / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
};
