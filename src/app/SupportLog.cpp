#include "app/SupportLog.h"

#include "halvornsync/Version.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMutex>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>

namespace {

struct State
{
    QMutex mutex;
    QFile file;
    qint64 cap = 0;
    int kept = 0;
    // Every serial seen so far: the service may say it back in an error text.
    QStringList serials;
    QString home;
    QList<QRegularExpression> userFolders;
};

State &state()
{
    static State s;
    return s;
}

QString masked(const QString &serial)
{
    const qsizetype shown = serial.size() > 4 ? 4 : 0;
    return QString(serial.size() - shown, QLatin1Char('*')) + serial.right(shown);
}

// The user's name standing alone as a folder name, as in a Wine prefix's "users/<name>" or a
// Windows profile outside the home folder's own path.
QList<QRegularExpression> userFolderPatterns()
{
    QStringList names{QDir::home().dirName(), qEnvironmentVariable("USER"),
                      qEnvironmentVariable("USERNAME")};
    names.removeAll(QString());
    names.removeDuplicates();
    QList<QRegularExpression> patterns;
    for (const QString &name : std::as_const(names)) {
        patterns.append(QRegularExpression(
            QStringLiteral("(?<=[/\\\\])%1(?![\\w.-])").arg(QRegularExpression::escape(name)),
            QRegularExpression::CaseInsensitiveOption));
    }
    return patterns;
}

QString anonymised(QString line, State &s)
{
    static const QRegularExpression serialParameter(QStringLiteral("serial_number=([^&#\\s]*)"));
    QRegularExpressionMatchIterator matches = serialParameter.globalMatch(line);
    while (matches.hasNext()) {
        const QString serial = QUrl::fromPercentEncoding(matches.next().captured(1).toUtf8());
        if (!serial.isEmpty() && !s.serials.contains(serial)) {
            s.serials.append(serial);
        }
    }
    for (const QString &serial : std::as_const(s.serials)) {
        line.replace(QString::fromLatin1(QUrl::toPercentEncoding(serial)), masked(serial));
        line.replace(serial, masked(serial));
    }
    if (s.home.size() > 1) {
        line.replace(s.home, QStringLiteral("~"), Qt::CaseInsensitive);
        line.replace(QDir::toNativeSeparators(s.home), QStringLiteral("~"), Qt::CaseInsensitive);
    }
    for (const QRegularExpression &folder : std::as_const(s.userFolders)) {
        line.replace(folder, QStringLiteral("<user>"));
    }
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return line.replace(lineBreaks, QStringLiteral(" | "));
}

// The full file becomes "<file>.1", each older one moves one number up, the oldest kept goes.
void rotate(State &s)
{
    const QString path = s.file.fileName();
    const auto numbered = [&path](int n) {
        return path + QLatin1Char('.') + QString::number(n);
    };
    s.file.close();
    if (s.kept > 0) {
        QFile::remove(numbered(s.kept));
        for (int n = s.kept - 1; n >= 1; --n) {
            QFile::rename(numbered(n), numbered(n + 1));
        }
        QFile::rename(path, numbered(1));
    } else {
        QFile::remove(path);
    }
    s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

} // namespace

QString SupportLog::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/support.log");
}

bool SupportLog::open(const QString &path, qint64 cap, int kept)
{
    {
        State &s = state();
        const QMutexLocker lock(&s.mutex);
        s.file.close();
        s.cap = cap;
        s.kept = kept;
        s.serials.clear();
        s.home = QDir::homePath();
        s.userFolders = userFolderPatterns();
        QDir().mkpath(QFileInfo(path).absolutePath());
        s.file.setFileName(path);
        if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            return false;
        }
    }
    write(QStringLiteral("start: HalvornSync %1 (Qt %2, %3, %4)")
              .arg(QLatin1String(ProgramVersion::full), QLatin1String(qVersion()),
                   QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture()));
    return true;
}

void SupportLog::close()
{
    State &s = state();
    const QMutexLocker lock(&s.mutex);
    s.file.close();
}

QString SupportLog::path()
{
    State &s = state();
    const QMutexLocker lock(&s.mutex);
    return s.file.isOpen() ? s.file.fileName() : QString();
}

void SupportLog::write(const QString &line)
{
    State &s = state();
    const QMutexLocker lock(&s.mutex);
    if (!s.file.isOpen()) {
        return;
    }
    const QByteArray bytes = (QDateTime::currentDateTime().toString(Qt::ISODate) +
                              QLatin1Char(' ') + anonymised(line, s) + QLatin1Char('\n'))
                                 .toUtf8();
    if (s.file.size() > 0 && s.file.size() + bytes.size() > s.cap) {
        rotate(s);
    }
    s.file.write(bytes);
    // Whatever ends the run, what it wrote is in the file.
    s.file.flush();
}

QString SupportLog::withLocation(const QString &text, Qt::TextFormat format)
{
    const QString file = path();
    if (file.isEmpty()) {
        return text;
    }
    const QString line = tr("The support log is in %1.").arg(QDir::toNativeSeparators(file));
    return text + QLatin1Char('\n') + (format == Qt::RichText ? line.toHtmlEscaped() : line);
}
