#pragma once

#include <QCoreApplication>
#include <QString>

// What a support desk asks for first: a plain-text account of the last few runs. Each run appends
// to one file (by default support.log in the program's data folder); a line that would take it
// past its size cap first renames it to "<file>.1" (the one before to "<file>.2", and so on, the
// oldest kept one going), so the log never takes much more than (kept + 1) × cap bytes.
//
// Nothing written identifies the user beyond the last four characters of the product serial: a
// serial seen in an address is masked there and wherever it appears later, the home folder reads
// "~" and the user's name as a folder name in a path reads "<user>".
//
// One log per process, opened at start-up; until then, and when it cannot be written, every line
// is dropped (the tests and tools run without one). Lines may come from any thread.
class SupportLog
{
    Q_DECLARE_TR_FUNCTIONS(SupportLog)

public:
    static constexpr qint64 defaultCap = 256 * 1024;
    static constexpr int defaultKept = 2;

    static QString defaultPath();
    // Appends this run to `path`, starting with the program's version and system. False when the
    // file cannot be opened: the run goes on without a log.
    static bool open(const QString &path, qint64 cap = defaultCap, int kept = defaultKept);
    static void close();
    // The open log's file, empty when there is none.
    static QString path();

    // One line, with the time in front; line breaks in `line` are written as " | ".
    static void write(const QString &line);

    // `text` of a failure's pop-up with a line after it that tells where the log is, in the same
    // format as `text`; `text` as it is when there is no log.
    static QString withLocation(const QString &text, Qt::TextFormat format);
};
