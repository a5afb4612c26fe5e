#include "TestMain.h"
#include "app/PopupDialog.h"
#include "app/RichTextResources.h"
#include "app/Startup.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

namespace {
QLabel *header(PopupDialog &dialog)
{
    return dialog.findChild<QLabel *>("PopupHeaderLabel");
}

// What a reader of the label gets: its text as laid out, markup taken away.
QString readText(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// Stands in for the browser and the system's other handlers.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};
} // namespace

class TestPopupDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Startup::applyLook(*qApp); }

    void headerIsUpperCasedAndFitsTheDialog_data();
    void headerIsUpperCasedAndFitsTheDialog();
    void escapeLeavesThePopupOpenAndEnterAccepts();
    void markupNamesOnlyOurOwnResources_data();
    void markupNamesOnlyOurOwnResources();
    void linksOpenOnlyOnTheWeb();
    void longTextScrollsAndTheButtonsStayOnScreen();
};

void TestPopupDialog::headerIsUpperCasedAndFitsTheDialog_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shrunk");
    QTest::newRow("short") << "Information" << false;
    QTest::newRow("40-character product name")
        << "Halvorn Topo Canada Complete Edition 2024" << true;
    QTest::newRow("very long") << QString(80, QLatin1Char('w')) << true;
    QTest::newRow("markup in a product name") << "Topo <b>Nord</b>" << false;
}

void TestPopupDialog::headerIsUpperCasedAndFitsTheDialog()
{
    QFETCH(QString, text);
    QFETCH(bool, shrunk);
    PopupDialog dialog;
    QLabel *label = header(dialog);
    label->ensurePolished();
    const int normalSize = QFontInfo(label->font()).pixelSize();

    dialog.setHeader(text);
    label->ensurePolished();

    QCOMPARE(readText(label), text.toUpper());
    const int size = QFontInfo(label->font()).pixelSize();
    QCOMPARE(size < normalSize, shrunk);
    const int drawnWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
    QVERIFY2(drawnWidth <= dialog.width() - 24, qPrintable(QString::number(drawnWidth)));
}

void TestPopupDialog::escapeLeavesThePopupOpenAndEnterAccepts()
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

void TestPopupDialog::markupNamesOnlyOurOwnResources_data()
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

void TestPopupDialog::markupNamesOnlyOurOwnResources()
{
    QFETCH(QString, markup);
    QFETCH(bool, foreign);
    QTemporaryDir dir;
    const QString file = dir.filePath("big");
    QImage big(400, 400, QImage::Format_RGB32);
    big.fill(Qt::red);
    QVERIFY(big.save(file + ".png"));
    QFile css(file + ".css");
    QVERIFY(css.open(QIODevice::WriteOnly) && css.write("p { margin-top: 500px; }") > 0);
    css.close();
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

void TestPopupDialog::linksOpenOnlyOnTheWeb()
{
    PopupDialog dialog;
    dialog.setLinksEnabled(true);
    auto *text = dialog.findChild<QLabel *>("TextLabel");
    UrlRecorder handlers;
    for (const char *scheme : {"https", "file", "smb"}) {
        QDesktopServices::setUrlHandler(scheme, &handlers, "open");
    }
    for (const char *link :
         {"file:///etc/passwd", "smb://host/share", "https://halvorn.example/"}) {
        Q_EMIT text->linkActivated(link);
    }
    for (const char *scheme : {"https", "file", "smb"}) {
        QDesktopServices::unsetUrlHandler(scheme);
    }
    QCOMPARE(handlers.opened, QList<QUrl>{QUrl("https://halvorn.example/")});
}

void TestPopupDialog::longTextScrollsAndTheButtonsStayOnScreen()
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

HALVORNSYNC_TEST_MAIN(TestPopupDialog)
#include "tst_popupdialog.moc"
