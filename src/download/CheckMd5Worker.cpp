#include "download/CheckMd5Worker.h"

#include <QCryptographicHash>
#include <QFile>

namespace {
// Large reads keep the disk streaming; the hash itself is the slow part.
constexpr qint64 readSize = 1 << 20;
} // namespace

CheckMd5Worker::CheckMd5Worker(QObject *parent, const QString &filePath, const QString &expectedMd5)
    : QThread(parent)
    , filePath(filePath)
    , expectedMd5(expectedMd5)
{
}

bool CheckMd5Worker::matches(const QString &expectedMd5, const QByteArray &hexDigest)
{
    return QString::fromLatin1(hexDigest).compare(expectedMd5.trimmed(), Qt::CaseInsensitive) == 0;
}

void CheckMd5Worker::run()
{
    bool result = false;
    QFile file(filePath);
    if (file.open(QIODevice::ReadOnly)) {
        QCryptographicHash hash(QCryptographicHash::Md5);
        QByteArray buffer(readSize, Qt::Uninitialized);
        bool readOk = true;
        for (;;) {
            const qint64 n = file.read(buffer.data(), readSize);
            // The page that asked is going away: its answer is no longer wanted.
            if (n < 0 || isInterruptionRequested()) {
                readOk = false;
                break;
            }
            if (n == 0) {
                break;
            }
            hash.addData(QByteArrayView(buffer.constData(), n));
        }
        result = readOk && matches(expectedMd5, hash.result().toHex());
    }
    Q_EMIT resultReady(result);
}
