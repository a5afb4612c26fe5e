#include "EventLoopStallMeter.h"

EventLoopStallMeter::EventLoopStallMeter(QObject *parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const qint64 now = m_clock.nsecsElapsed();
        m_longestNs = std::max(m_longestNs, now - m_lastNs);
        m_lastNs = now;
    });
}

void EventLoopStallMeter::start()
{
    m_longestNs = 0;
    m_clock.start();
    m_lastNs = 0;
    m_timer.start();
}

void EventLoopStallMeter::stop()
{
    m_timer.stop();
    const qint64 now = m_clock.nsecsElapsed();
    m_longestNs = std::max(m_longestNs, now - m_lastNs);
}
