#include "FakePlatform.h"
#include "PopupAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "UrlRecorder.h"
#include "app/Core.h"
#include "app/PopupDialog.h"
#include "app/RichTextResources.h"
#include "app/SingleRun.h"
#include "app/Startup.h"

#include <QAccessible>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

// Core's own rules, and the pop-ups.
class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Startup::applyLook(*qApp); }

    void formatDuration_data();
    void formatDuration();
    void garminMapsFolderReplacesOnlyTheApplicationFolder_data();
    void garminMapsFolderReplacesOnlyTheApplicationFolder();
    void oneRunAtATime();

    void headerIsUpperCasedAndFitsTheDialog_data();
    void headerIsUpperCasedAndFitsTheDialog();
    void escapeLeavesThePopupOpenAndEnterAccepts();
    void markupNamesOnlyOurOwnResources_data();
    void markupNamesOnlyOurOwnResources();
    void linksOpenOnlyOnTheWeb();
    void longTextScrollsAndTheButtonsStayOnScreen();
};

void TestApp::formatDuration_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("59.4 s rounds down") << 59.4 << "59 sec";
    QTest::newRow("59.6 s stays in seconds") << 59.6 << "60 sec";
    QTest::newRow("one minute") << 60.0 << "1 min";
    QTest::newRow("90 s rounds half away") << 90.0 << "2 min";
    QTest::newRow("3575 s stays in minutes") << 3575.0 << "60 min";
    QTest::newRow("one hour") << 3600.0 << "1 hrs 0 min";
    QTest::newRow("5430 s") << 5430.0 << "1 hrs 31 min";
    QTest::newRow("7170 s: hours from the rounded minutes") << 7170.0 << "2 hrs 0 min";
}

void TestApp::formatDuration()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(Core::formatDuration(seconds), text);
}

void TestApp::garminMapsFolderReplacesOnlyTheApplicationFolder_data()
{
    QTest::addColumn<QString>("applicationName");
    QTest::addColumn<QString>("dataHome");
    QTest::newRow("name in the home folder") << "HalvornSync"
                                             << "/home/halvornsync-user/share";
    QTest::newRow("name in another case in the home folder") << "halvornsync"
                                                             << "/home/HALVORNSYNC/share";
}

void TestApp::garminMapsFolderReplacesOnlyTheApplicationFolder()
{
    QFETCH(QString, applicationName);
    QFETCH(QString, dataHome);
    const QString previousName = QCoreApplication::applicationName();
    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName(applicationName);
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());

    const FakePlatform withoutWine;
    Core::instance()->decideGarminMapsFolder();
    const QString folder = Core::garminMapsFolder();

    QCoreApplication::setApplicationName(previousName);
    qputenv("XDG_DATA_HOME", previousDataHome);
    QCOMPARE(folder, dataHome + QStringLiteral("/Garmin/Maps"));
}

// A second start while one runs is told so and goes no further; a killed run's lock is taken over.
void TestApp::oneRunAtATime()
{
    const QTemporaryDir folder;
    PopupAnswerer answerer;
    answerer.answerUnexpectedWith(PopupAnswerer::Button::Right);
    auto first = std::make_unique<SingleRun>(folder.path());
    QVERIFY(first->claim());
    QVERIFY(!SingleRun(folder.path()).claim());
    QCOMPARE(answerer.shown().value(0).text, QStringLiteral("HalvornSync is already running."));

    // Killed, the first run leaves its lock behind, naming a process that no longer exists.
    QFile lock(folder.filePath(QStringLiteral("halvornsync.lock")));
    QVERIFY(lock.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = lock.readAll().split('\n');
    lock.close();
    first.reset();
    lines[0] = "2147483647";
    QVERIFY(TestFiles::write(lock.fileName(), lines.join('\n')));
    QVERIFY(SingleRun(folder.path()).claim());
    QCOMPARE(answerer.shownCount(), 1);
}

void TestApp::headerIsUpperCasedAndFitsTheDialog_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shrunk");
    QTest::newRow("short") << "Information" << false;
    QTest::newRow("very long") << QString(80, QLatin1Char('w')) << true;
    QTest::newRow("markup in a product name") << "Topo <b>Nord</b>" << false;
}

void TestApp::headerIsUpperCasedAndFitsTheDialog()
{
    QFETCH(QString, text);
    QFETCH(bool, shrunk);
    PopupDialog dialog;
    auto *label = dialog.findChild<QLabel *>("PopupHeaderLabel");
    label->ensurePolished();
    const int normalSize = QFontInfo(label->font()).pixelSize();

    dialog.setHeader(text);
    label->ensurePolished();

    // What a reader of the label gets: its text as laid out, markup taken away.
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), text.toUpper());
    const int size = QFontInfo(label->font()).pixelSize();
    QCOMPARE(size < normalSize, shrunk);
    const int drawnWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
    QVERIFY2(drawnWidth <= dialog.width() - 24, qPrintable(QString::number(drawnWidth)));
}

void TestApp::escapeLeavesThePopupOpenAndEnterAccepts()
{
    PopupDialog dialog;
    dialog.setLeftButtonText(QStringLiteral("No"));
    dialog.setRightButtonText(QStringLiteral("Yes"));
    bool openAfterEscape = false;
    QTimer::singleShot(0, this, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        openAfterEscape = dialog.isVisible();
        // Even with the focus on the left button, Enter means the right one.
        dialog.findChild<QPushButton *>("LeftPopupButton")->setFocus();
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(openAfterEscape);
}

void TestApp::markupNamesOnlyOurOwnResources_data()
{
    QTest::addColumn<QString>("markup"); // %1: a file that would show if it were read
    QTest::addColumn<bool>("foreign");
    QTest::newRow("our own only") << "" << false;
    QTest::newRow("image") << "<img src=\"%1.png\">" << true;
    QTest::newRow("style sheet") << "<link rel=\"stylesheet\" type=\"text/css\" href=\"%1.css\"/>"
                                 << true;
    QTest::newRow("page background") << "<body background=\"%1.png\">" << true;
    QTest::newRow("paragraph background")
        << "<p style=\"background-image:url(%1.png)\">p</p>" << true;
    QTest::newRow("cell background")
        << "<table><tr><td background=\"%1.png\">c</td></tr></table>" << true;
}

void TestApp::markupNamesOnlyOurOwnResources()
{
    QFETCH(QString, markup);
    QFETCH(bool, foreign);
    QTemporaryDir dir;
    const QString file = dir.filePath("big");
    QImage big(400, 400, QImage::Format_RGB32);
    big.fill(Qt::red);
    QVERIFY(big.save(file + ".png"));
    QVERIFY(TestFiles::write(file + ".css", "p { margin-top: 500px; }"));
    const QString ours = "<p><img src=\":/images/info.svg\" width=\"64\" height=\"64\"></p>"
                         "<p><a href=\"https://halvorn.example/\">notes</a></p>";
    const QString html = markup.arg(file) + ours;

    const QString shown = RichTextResources::ownOnly(html);
    QCOMPARE(shown == html, !foreign);
    QVERIFY2(!shown.contains(file), qPrintable(shown));
    QVERIFY2(shown.contains(":/images/info.svg"), qPrintable(shown));
    QVERIFY(shown.contains("https://halvorn.example/"));
    QLabel label;
    label.setTextFormat(Qt::RichText);
    label.setWordWrap(true);
    label.setText(shown);
    QVERIFY(label.heightForWidth(336) < 400);
}

void TestApp::linksOpenOnlyOnTheWeb()
{
    PopupDialog dialog;
    dialog.setLinksEnabled(true);
    auto *text = dialog.findChild<QLabel *>("TextLabel");
    const UrlRecorder handlers({"https", "file", "smb"});
    for (const char *link :
         {"file:///etc/passwd", "smb://host/share", "https://halvorn.example/"}) {
        Q_EMIT text->linkActivated(link);
    }
    QCOMPARE(handlers.opened, QStringList{"https://halvorn.example/"});
}

void TestApp::longTextScrollsAndTheButtonsStayOnScreen()
{
    PopupDialog dialog;
    dialog.setHeader("Information");
    dialog.setRightButtonText("Continue");
    dialog.setText(QString("A notice that says a lot. ").repeated(200));
    dialog.show();

    const QRect screen = dialog.screen()->availableGeometry();
    QVERIFY(screen.contains(dialog.frameGeometry()));
    auto *button = dialog.findChild<QPushButton *>("RightPopupButton");
    QVERIFY(screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())));
    auto *scroll = dialog.findChild<QScrollArea *>("TextScrollArea");
    QTRY_VERIFY(scroll->verticalScrollBar()->maximum() > 0);
    QCOMPARE(scroll->focusPolicy(), Qt::StrongFocus);
}

HALVORNSYNC_TEST_MAIN(TestApp)
#include "tst_app.moc"
