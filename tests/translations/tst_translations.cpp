#include "PopupAnswerer.h"
#include "TestMain.h"
#include "app/Core.h"
#include "app/LanguageChoice.h"

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

// A text with letters, all of them upper case: a button text.
bool isUpperCase(const QString &text)
{
    return text.toUpper() == text && text.toLower() != text;
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySourceTextHasAFinishedFrenchTranslation();
    void frenchTranslationsKeepWhatTheProgramReliesOn();
    void frenchErrorHeaderIsRed();
};

void TestTranslations::everySourceTextHasAFinishedFrenchTranslation()
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
    QStringList untranslated;
    for (const Message &text : texts) {
        const Message translated = french.value(key(text));
        if (!translated.finished) {
            untranslated.append(text.context + QStringLiteral(": ") + text.source);
        }
    }
    QVERIFY2(untranslated.isEmpty(),
             qPrintable(QStringLiteral("No finished French translation in halvornsync_fr.ts "
                                       "(run the update_translations target, then translate):\n") +
                        untranslated.join(QLatin1Char('\n'))));
}

void TestTranslations::frenchTranslationsKeepWhatTheProgramReliesOn()
{
    QStringList faults;
    for (const Message &message : readTs(QStringLiteral(HALVORNSYNC_FRENCH_TS))) {
        if (!message.finished) {
            continue;
        }
        const QString &source = message.source;
        const QString &french = message.translation;
        const auto fault = [&](const char *what) {
            faults.append(QLatin1String(what) + QStringLiteral(": ") + key(message));
        };
        if (placeholders(source) != placeholders(french)) {
            fault("placeholders differ");
        }
        for (const QString arrow : {QStringLiteral("≺"), QStringLiteral("≻")}) {
            if (source.contains(arrow) != french.contains(arrow)) {
                fault("arrow lost or added");
            }
        }
        if (source.startsWith(QLatin1String("<html>")) !=
            french.startsWith(QLatin1String("<html>"))) {
            fault("rich text lost or added");
        }
        // A figure with its unit ("%1 MB") is no button: French writes "Mo".
        if (isUpperCase(source) && !source.contains(QLatin1Char('%')) && !isUpperCase(french)) {
            fault("button text not in upper case");
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// The pop-up colours its header red when it is the translated "Error"; Core's error header must
// translate to the same word, or French errors lose their colour.
void TestTranslations::frenchErrorHeaderIsRed()
{
    QVERIFY(LanguageChoice::apply(QStringLiteral("fr")));
    PopupAnswerer answerer;
    answerer.answer(PopupAnswerer::Button::Right);
    Core::instance()->showError(QStringLiteral("Le serveur ne répond pas."));
    LanguageChoice::apply(QStringLiteral("en"));

    QCOMPARE(answerer.shown().value(0).header, QStringLiteral("ERREUR"));
    QCOMPARE(answerer.shown().value(0).headerColour, QColor(0xDC, 0x26, 0x2D));
}

HALVORNSYNC_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
