#include "platform/BoundedProcess.h"

BoundedProcess::BoundedProcess(QObject *context, Done done, std::chrono::milliseconds limit)
    : m_context(context)
    , m_done(std::move(done))
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(limit);
}

void BoundedProcess::run(const QString &program, const QStringList &arguments, QObject *context,
                         Done done, std::chrono::milliseconds limit)
{
    // Not a child of `context`: the caller may delete its context from inside `done`, and a
    // QProcess must not be deleted while it is still emitting its own signals.
    auto *runner = new BoundedProcess(context, std::move(done), limit);
    connect(context, &QObject::destroyed, runner, [runner] { runner->finish(false); });
    runner->start(program, arguments);
}

void BoundedProcess::start(const QString &program, const QStringList &arguments)
{
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    connect(&m_process, &QProcess::started, this, [this] { m_limit.start(); });
    connect(&m_process, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                finish(status == QProcess::NormalExit && exitCode == 0);
            });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            finish(false);
        }
    });
    connect(&m_limit, &QTimer::timeout, this, [this] { finish(false); });
    m_limit.start();
    m_process.start(program, arguments);
}

void BoundedProcess::finish(bool succeeded)
{
    if (m_over) {
        return;
    }
    m_over = true;
    m_limit.stop();
    if (m_context && m_done) {
        QMetaObject::invokeMethod(
            m_context, [done = std::move(m_done), succeeded] { done(succeeded); },
            Qt::QueuedConnection);
    }
    if (m_process.state() == QProcess::NotRunning) {
        deleteLater();
        return;
    }
    // Gone only once the killed tool has been reaped, so nothing is left behind and the
    // QProcess destructor never has to wait for it.
    connect(&m_process, &QProcess::finished, this, &QObject::deleteLater);
    connect(&m_process, &QProcess::errorOccurred, this, &QObject::deleteLater);
    m_process.kill();
}
