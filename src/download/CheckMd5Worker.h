#pragma once

#include <QString>
#include <QThread>

// Checks a downloaded file against the MD5 checksum the service announced, on a thread of its
// own so the window stays responsive over a multi-gigabyte map. One worker serves one check: it
// emits resultReady exactly once and its thread ends. A missing file, a read error and a wrong
// checksum all read as false. Destroying the worker stops the check and waits for its thread.
class CheckMd5Worker : public QThread
{
    Q_OBJECT

public:
    enum class ReadFrom
    {
        Cache,  // a file just downloaded: wherever the system has its data is fine
        Medium, // a file on a card: what counts is what the card gives back
        // A file just written: what the medium gives back, and once it passes it is on the
        // medium for good (synced).
        Written,
    };

    CheckMd5Worker(QObject *parent, const QString &filePath, const QString &expectedMd5,
                   ReadFrom readFrom = ReadFrom::Cache);
    ~CheckMd5Worker() override;

    // The service's text against a digest in lowercase hexadecimal: letter case and surrounding
    // blanks do not matter, so a good file is never called corrupt for them.
    static bool matches(const QString &expectedMd5, const QByteArray &hexDigest);

    const QString filePath;
    const QString expectedMd5;
    const ReadFrom readFrom;

Q_SIGNALS:
    // Before resultReady(), when the whole file could be read: its digest in lowercase
    // hexadecimal, for a check whose expected value is only known from another file.
    void digestReady(const QByteArray &hexDigest);
    void resultReady(bool _result);

protected:
    void run() override;
};
