#include "TestMain.h"
#include "app/Core.h"
#include "app/LanguageChoice.h"
#include "app/Startup.h"
#include "pages/opening/ChooseLanguagePage.h"
#include "pages/opening/InstallUpdateUninstallPage.h"

#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
// Stands in for the main window: the pages find it by its object name and call its slot by name.
class LogoRecorder : public QWidget
{
    Q_OBJECT

public:
    LogoRecorder() { setObjectName(QStringLiteral("MainWindow")); }
    QStringList codes;

public Q_SLOTS:
    void setLogoImage(QString code) { codes.append(code); }
};

void hover(QWidget *widget, bool enter)
{
    if (enter) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)));
        QCoreApplication::sendEvent(widget, &event);
    } else {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &event);
    }
}

QString plainText(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}
} // namespace

class TestOpeningPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void languageChoiceLeadsOn_data();
    void languageChoiceLeadsOn();
    void laterChoiceReplacesTheEarlierLanguage();
    void logoFollowsThePointerUntilTheChoice();
    void installUpdateUninstallAsksAboutThePc();
    void installUpdateUninstallLeadsOn_data();
    void installUpdateUninstallLeadsOn();
    void buttonTextsFitInEveryLanguage_data();
    void buttonTextsFitInEveryLanguage();

private:
    QList<PageId> m_requested;
};

void TestOpeningPages::initTestCase()
{
    // The style sheet's button font is what has to fit.
    Startup::applyLook(*qApp);
}

void TestOpeningPages::init()
{
    LanguageChoice::apply(QStringLiteral("en"));
    m_requested.clear();
    // The pages here are tested alone: the requested pages are recorded, not built.
    Core::instance()->setPageFactory([this](PageId id) -> QWidget * {
        m_requested.append(id);
        return nullptr;
    });
}

void TestOpeningPages::cleanup()
{
    Core::instance()->setPageFactory({});
    QDir(Core::garminMapsFolder()).removeRecursively();
}

void TestOpeningPages::languageChoiceLeadsOn_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("file");
    QTest::addColumn<PageId>("next");
    QTest::addColumn<QString>("language");

    QTest::newRow("no maps folder") << "EnglishButton" << QStringList() << QString()
                                    << PageId::HighSpeedConnectionRequiredPage << "EN";
    QTest::newRow("vendor map") << "FrenchButton" << QStringList{"HalvornTopo"} << QString()
                                << PageId::InstallUpdateUninstallPage << "FR";
    QTest::newRow("vendor map in lower case")
        << "EnglishButton" << QStringList{"halvorntopo"} << QString()
        << PageId::InstallUpdateUninstallPage << "EN";
    QTest::newRow("only other makers' maps")
        << "FrenchButton" << QStringList{"TopoEurope", "Garmin"} << QString()
        << PageId::HighSpeedConnectionRequiredPage << "FR";
    QTest::newRow("a file, not a folder")
        << "EnglishButton" << QStringList{"TopoEurope"} << "HalvornTopo.img"
        << PageId::HighSpeedConnectionRequiredPage << "EN";
}

void TestOpeningPages::languageChoiceLeadsOn()
{
    QFETCH(QString, button);
    QFETCH(QStringList, folders);
    QFETCH(QString, file);
    QFETCH(PageId, next);
    QFETCH(QString, language);

    const QDir maps(Core::garminMapsFolder());
    for (const QString &folder : folders) {
        QVERIFY(maps.mkpath(folder));
    }
    if (!file.isEmpty()) {
        QFile data(maps.filePath(file));
        QVERIFY(data.open(QIODevice::WriteOnly));
    }

    ChooseLanguagePage page;
    page.show();
    QTest::mouseClick(page.findChild<QPushButton *>(button), Qt::LeftButton);

    QCOMPARE(m_requested, QList<PageId>{next});
    QCOMPARE(Core::languageCode(), language);
}

void TestOpeningPages::laterChoiceReplacesTheEarlierLanguage()
{
    const auto next = [] {
        return QCoreApplication::translate("HighSpeedConnectionRequiredPage", "NEXT ≻");
    };
    ChooseLanguagePage french;
    QTest::mouseClick(french.findChild<QPushButton *>("FrenchButton"), Qt::LeftButton);
    QCOMPARE(next(), QStringLiteral("SUIVANT ≻"));

    ChooseLanguagePage english;
    QTest::mouseClick(english.findChild<QPushButton *>("EnglishButton"), Qt::LeftButton);
    QCOMPARE(next(), QStringLiteral("NEXT ≻"));
    QCOMPARE(Core::languageCode(), QStringLiteral("EN"));
}

void TestOpeningPages::logoFollowsThePointerUntilTheChoice()
{
    LogoRecorder window;
    window.show();
    ChooseLanguagePage page;
    auto *english = page.findChild<QPushButton *>("EnglishButton");
    auto *french = page.findChild<QPushButton *>("FrenchButton");

    hover(french, true);
    hover(french, false);
    hover(english, true);
    QCOMPARE(window.codes, (QStringList{"fr", "", "en"}));

    // The logo of the language chosen stays: leaving the button no longer changes it.
    hover(english, false);
    hover(french, true);
    window.codes.clear();
    QTest::mouseClick(french, Qt::LeftButton);
    hover(french, false);
    hover(english, true);
    QCOMPARE(window.codes, QStringList());
}

void TestOpeningPages::installUpdateUninstallAsksAboutThePc()
{
    InstallUpdateUninstallPage page;
    const QString text = plainText(page.findChild<QLabel *>("InfoLabel")->text());
    QVERIFY2(text.endsWith(QLatin1String("your PC?")), qPrintable(text));
}

void TestOpeningPages::installUpdateUninstallLeadsOn_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<PageId>("next");
    QTest::newRow("install or update")
        << "InstallUpdateButton" << PageId::HighSpeedConnectionRequiredPage;
    QTest::newRow("uninstall") << "UninstallButton" << PageId::SelectProductsPage;
}

void TestOpeningPages::installUpdateUninstallLeadsOn()
{
    QFETCH(QString, button);
    QFETCH(PageId, next);
    InstallUpdateUninstallPage page;
    page.show();
    QTest::mouseClick(page.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(m_requested, QList<PageId>{next});
}

void TestOpeningPages::buttonTextsFitInEveryLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("French") << "fr";
}

void TestOpeningPages::buttonTextsFitInEveryLanguage()
{
    QFETCH(QString, language);
    LanguageChoice::apply(language);
    // The room the main window gives a page, which a long text cannot widen.
    QWidget window;
    window.setFixedSize(352, 346);
    auto *page = new InstallUpdateUninstallPage;
    (new QVBoxLayout(&window))->addWidget(page);
    window.layout()->setContentsMargins(0, 0, 0, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char *name : {"UninstallButton", "InstallUpdateButton"}) {
        auto *button = page->findChild<QPushButton *>(name);
        const int needed = QFontMetrics(button->font()).horizontalAdvance(button->text()) + 24;
        QVERIFY2(needed <= button->width(), qPrintable(QStringLiteral("%1: %2 needs %3 px, has %4")
                                                           .arg(QLatin1String(name), button->text())
                                                           .arg(needed)
                                                           .arg(button->width())));
    }
}

HALVORNSYNC_TEST_MAIN(TestOpeningPages)
#include "tst_openingpages.moc"
