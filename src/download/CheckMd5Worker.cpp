#include "download/CheckMd5Worker.h"

#include "platform/platform.h"

#include <QCryptographicHash>

CheckMd5Worker::CheckMd5Worker(QObject *parent, const QString &filePath, const QString &expectedMd5,
                               ReadFrom readFrom)
    : QThread(parent)
    , filePath(filePath)
    , expectedMd5(expectedMd5)
    , readFrom(readFrom)
{
}

CheckMd5Worker::~CheckMd5Worker()
{
    requestInterruption();
    wait();
}

bool CheckMd5Worker::matches(const QString &expectedMd5, const QByteArray &hexDigest)
{
    return QString::fromLatin1(hexDigest).compare(expectedMd5.trimmed(), Qt::CaseInsensitive) == 0;
}

void CheckMd5Worker::run()
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    const auto consume = [&](QByteArrayView block) {
        // The page that asked is going away: its answer is no longer wanted.
        if (isInterruptionRequested()) {
            return false;
        }
        hash.addData(block);
        return true;
    };
    Platform *platform = Platform::instance();
    const bool read = readFrom == ReadFrom::Cache
                          ? Platform::readFile(filePath, consume)
                          : platform->readFromMedium(filePath, consume) &&
                                (readFrom == ReadFrom::Medium || platform->syncFile(filePath));
    const QByteArray digest = hash.result().toHex();
    if (read) {
        Q_EMIT digestReady(digest);
    }
    Q_EMIT resultReady(read && matches(expectedMd5, digest));
}
