#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class FileCopier;

// A copy, on the computer, of the map of a card that has no room for a second one: made and
// checked before the card's map is overwritten, put back on any failure, deleted once the new
// map is on the card. A copy that cannot be put back (the card was pulled out) stays in the
// program's cache folder with a record of whose it is, the card's volume identity and its map's
// family, and is put back the next time that card is inserted; never over another product's map.
//
// Every step runs off the GUI thread (the copier, then the checksum workers, which read what was
// written back from the medium); progress() counts the copy, checking() marks the check after it,
// finished() gives the outcome once per make() or putBack().
class CardSafetyCopy : public QObject
{
    Q_OBJECT

public:
    // For the card mounted at `cardRoot` now; finds a copy that already waits for it.
    explicit CardSafetyCopy(const QString &cardRoot, QObject *parent = nullptr);
    ~CardSafetyCopy() override;

    // The folder of the program's cache that holds the copies.
    static QString folder();
    // Whether a copy waits for its card.
    static bool anyWaiting();

    // A copy of this card's map is on the computer (this one's, or an earlier run's that could
    // not put it back).
    bool waiting() const;
    // Whether the computer has room for a copy of the card's map.
    bool fitsOnComputer() const;
    // Whether the copy can go back now: it waits for the card that is in the reader, and the card
    // holds no map, or one half written or corrupt, or one of the same family.
    bool canPutBack() const;
    // The copy's file on the computer.
    QString path() const;

    // What the user is told while the copy is put back, once it is back, and when it could not
    // be put back (where it is kept, and how it gets back onto the card).
    static QString puttingBackText();
    static QString putBackText();
    QString notPutBackText() const;

    // Copies the card's map to the computer and checks the copy against the map as the card
    // gives it back. A copy that already waits for this card's map is kept as it is: it, not what
    // the card holds now, is the map to keep.
    void make();
    // Writes the copy back beside the card's map, checks it as the card gives it back, puts it in
    // the map's place and syncs the card's folder; only then is the copy deleted. Refused unless
    // canPutBack().
    void putBack();
    // The new map is on the card: the copy is no longer needed.
    void discard();

Q_SIGNALS:
    void progress(int percent);
    void checking();
    void finished(bool ok);

private:
    QString recordPath() const;
    bool readRecord(const QString &recordFile);
    bool writeRecord();
    void copy(const QString &source, const QString &destination, std::function<void()> then);
    // Reads `file` back from its medium against `md5` (synced once it passes, when `written` by
    // this copy); `done` gets the verdict and the digest read.
    void check(const QString &file, const QByteArray &md5, bool written,
               std::function<void(bool ok, const QByteArray &digest)> done);
    // Ends the step in failure, removing `leftover` (what was only half made).
    void fail(const QString &leftover = {});
    void finishLater(bool ok);

    const QString m_root;
    const QString m_identity;
    // The copy's name in folder(), without extension; empty while there is none.
    QString m_key;
    int m_family = 0;
    QByteArray m_md5;
    qint64 m_copySize = 0;
    std::unique_ptr<FileCopier> m_copier;
    std::function<void()> m_afterCopy;
};
