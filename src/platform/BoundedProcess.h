#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <chrono>
#include <functional>

// Runs one outside tool whose output nobody reads, such as taskkill, with a time limit for
// starting and another for finishing, and reports once when it is over: finished, failed to
// start, or killed after overrunning a limit. The window never waits for it.
class BoundedProcess : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(bool succeeded)>;

    // `done` gets true when the tool exited normally with code 0. It is called from the event
    // loop, and not at all if `context` is destroyed first, in which case the tool is killed.
    static void run(const QString &program, const QStringList &arguments, QObject *context,
                    Done done, std::chrono::milliseconds limit = std::chrono::seconds(30));

private:
    BoundedProcess(QObject *context, Done done, std::chrono::milliseconds limit);
    void start(const QString &program, const QStringList &arguments);
    void finish(bool succeeded);

    QProcess m_process;
    QTimer m_limit;
    QPointer<QObject> m_context;
    Done m_done;
    bool m_over = false;
};
