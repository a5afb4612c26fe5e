#include "TestMain.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {
struct Message
{
    QString context;
    QString source;
    QString translation;
    bool finished = false;
};

QList<Message> readTs(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("context")) {
            context.clear();
        } else if (xml.name() == QLatin1String("name") && context.isEmpty()) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.append({context});
        } else if (xml.name() == QLatin1String("source")) {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool typed = !xml.attributes().value(QLatin1String("type")).isEmpty();
            messages.last().translation = xml.readElementText();
            messages.last().finished = !typed && !messages.last().translation.isEmpty();
        }
    }
    return messages;
}

QString key(const Message &message)
{
    return message.context + QLatin1Char('|') + message.source;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("%\\d"));
    QStringList found;
    for (const QRegularExpressionMatch &match : number.globalMatch(text)) {
        found.append(match.captured());
    }
    found.sort();
    return found;
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySourceTextHasAFinishedFrenchTranslationWithItsPlaceholders();
};

// A lost %1 hides the figure, name or version the user decides by.
void TestTranslations::everySourceTextHasAFinishedFrenchTranslationWithItsPlaceholders()
{
    QTemporaryDir dir;
    const QString gathered = dir.filePath(QStringLiteral("gathered_fr.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(HALVORNSYNC_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral(HALVORNSYNC_SOURCES), QStringLiteral("-ts"), gathered});
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);

    const QList<Message> texts = readTs(gathered);
    QVERIFY2(texts.size() > 50, "lupdate found too few texts in the sources");

    QHash<QString, Message> french;
    for (const Message &message : readTs(QStringLiteral(HALVORNSYNC_FRENCH_TS))) {
        french.insert(key(message), message);
    }
    QStringList faults;
    for (const Message &text : texts) {
        const Message translated = french.value(key(text));
        if (!translated.finished) {
            faults.append(QStringLiteral("untranslated: ") + key(text));
        } else if (placeholders(text.source) != placeholders(translated.translation)) {
            faults.append(QStringLiteral("placeholders differ: ") + key(text));
        }
    }
    QVERIFY2(faults.isEmpty(),
             qPrintable(QStringLiteral("In halvornsync_fr.ts (run the update_translations target, "
                                       "then translate):\n") +
                        faults.join(QLatin1Char('\n'))));
}

HALVORNSYNC_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
