#pragma once

#include <QDateTime>
#include <QObject>
#include <QUrl>

#include <memory>

class QThread;

// What a download keeps to be continued later: its file while it is incomplete, and a small
// record beside it ("<file>.resume") with the address, the server's validator of the file's
// version, the size announced, how many of the file's bytes are on the disk for sure, and when
// the record was written. A later attempt, in this run or another, continues the file only for
// the same address and validator; anything else starts it afresh.
//
// The record never claims more than is on the disk: the file is synced off the GUI thread first,
// then the record replaced whole. A file that is whole, or that the server could not
// continue, has no record.
class PartialDownload : public QObject
{
    Q_OBJECT

public:
    // Partial downloads whose record is older than this are removed at start.
    static constexpr int keptDays = 14;

    explicit PartialDownload(QObject *parent = nullptr);
    // Waits for a sync under way and writes its record, so that the next run finds what was
    // synced.
    ~PartialDownload() override;

    static QString recordPath(const QString &target);
    // Whether `target` is kept to be continued: it has a record.
    static bool isKept(const QString &target);
    // Whether `target` is a partial download of `url`, in the version `validator` names.
    static bool continues(const QString &target, const QUrl &url, const QString &validator);
    // Removes from `folder` each partial download whose record is older than keptDays, or cannot
    // be read, with its record.
    static void removeStale(const QString &folder,
                            const QDateTime &now = QDateTime::currentDateTimeUtc());

    // How many bytes of `target` an attempt at `url` can keep, of the version `validator` names
    // (empty: none can be kept): all of them after an earlier attempt of this object, else those
    // the record vouches for. The file is cut to that length; when nothing can be kept, it and
    // its record are removed and 0 is returned.
    qint64 resumePoint(const QString &target, const QUrl &url, const QString &validator);
    // The server has answered: the file now holds the start of the version `validator` names,
    // `announced` bytes in all, from byte 0 when `startedOver`. Without a validator nothing can
    // be continued, and no record is kept.
    void answered(const QString &validator, qint64 announced, bool startedOver);
    // Syncs the file off the GUI thread, then records its first `bytes` as kept.
    void save(qint64 bytes);
    // Nothing is to be continued (the file is whole, or begins afresh): the record goes.
    void forget();

private:
    struct Record
    {
        QUrl url;
        QString validator;
        qint64 announced = -1;
        qint64 bytes = 0;
        QDateTime saved;
    };
    static std::optional<Record> read(const QString &target);
    void write();
    void onSynced();

    QString m_target;
    Record m_record;
    // A record is in force for m_target.
    bool m_active = false;
    // Raised whenever the kept bytes lose their worth: a sync started before then records nothing.
    quint64 m_generation = 0;
    QThread *m_sync = nullptr;
    std::shared_ptr<bool> m_synced;
    qint64 m_syncBytes = 0;
    quint64 m_syncGeneration = 0;
    // Bytes to save once the sync under way is over; -1: none.
    qint64 m_pendingBytes = -1;
};
