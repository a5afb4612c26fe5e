#include "CopyLog.h"

#include <QMetaEnum>

namespace {
template <typename Enum> QString keyOf(Enum value)
{
    return QString::fromLatin1(QMetaEnum::fromType<Enum>().valueToKey(value));
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}
} // namespace

CopyLog::CopyLog(QObject *parent)
    : QObject(parent)
{
    connect(this, &CopyLog::dataTransferProgress, this, &CopyLog::recordProgress);
}

void CopyLog::watch(FileCopier *copier)
{
    connect(copier, &FileCopier::started, this, &CopyLog::copyStarted);
    connect(copier, &FileCopier::finished, this, &CopyLog::copyFinished);
    connect(copier, &FileCopier::canceled, this, &CopyLog::copyCanceled);
    connect(copier, &FileCopier::error, this, &CopyLog::copyError);
    connect(copier, &FileCopier::dataTransferProgress, this, &CopyLog::recordProgress);
    connect(copier, &FileCopier::stateChanged, this, [this](FileCopier::State state) {
        events << QStringLiteral("state(%1)").arg(keyOf(state));
    });
    connect(copier, &FileCopier::done, this,
            [this](bool error) { events << QStringLiteral("done(%1)").arg(boolText(error)); });
}

void CopyLog::copyStarted(int id)
{
    events << QStringLiteral("started(%1)").arg(id);
}

void CopyLog::copyFinished(int id, bool error)
{
    events << QStringLiteral("finished(%1,%2)").arg(id).arg(boolText(error));
}

void CopyLog::copyCanceled()
{
    events << QStringLiteral("canceled()");
}

void CopyLog::copyError(int id, FileCopier::Error error, bool stopped)
{
    events << QStringLiteral("error(%1,%2%3)")
                  .arg(id)
                  .arg(keyOf(error), stopped ? QStringLiteral(",stopped") : QString());
}

void CopyLog::recordProgress(int id, qint64 bytes)
{
    progress[id].append(bytes);
}
