#include "TestMain.h"
#include "app/PopupDialog.h"
#include "app/Startup.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
QLabel *header(PopupDialog &dialog)
{
    return dialog.findChild<QLabel *>("PopupHeaderLabel");
}
} // namespace

class TestPopupDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Startup::applyLook(*qApp); }

    void headerIsUpperCasedAndFitsTheDialog_data();
    void headerIsUpperCasedAndFitsTheDialog();
    void onlyTheTranslatedErrorHeaderIsRed_data();
    void onlyTheTranslatedErrorHeaderIsRed();
    void escapeLeavesThePopupOpenAndEnterAccepts();
};

void TestPopupDialog::headerIsUpperCasedAndFitsTheDialog_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shrunk");
    QTest::newRow("short") << "Information" << false;
    QTest::newRow("40-character product name")
        << "Halvorn Topo Canada Complete Edition 2024" << true;
    QTest::newRow("very long") << QString(80, QLatin1Char('w')) << true;
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

    QCOMPARE(label->text(), text.toUpper());
    const int size = QFontInfo(label->font()).pixelSize();
    QCOMPARE(size < normalSize, shrunk);
    const int drawnWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
    QVERIFY2(drawnWidth <= dialog.width() - 24, qPrintable(QString::number(drawnWidth)));
}

void TestPopupDialog::onlyTheTranslatedErrorHeaderIsRed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("red");
    QTest::newRow("Error") << "Error" << true;
    QTest::newRow("error") << "error" << false;
    QTest::newRow("ERROR") << "ERROR" << false;
    QTest::newRow("Information") << "Information" << false;
}

void TestPopupDialog::onlyTheTranslatedErrorHeaderIsRed()
{
    QFETCH(QString, text);
    QFETCH(bool, red);
    PopupDialog dialog;
    dialog.setHeader(text);
    // Red also while the window is inactive.
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor colour = header(dialog)->palette().color(group, QPalette::WindowText);
        QCOMPARE(colour == QColor(0xDC, 0x26, 0x2D), red);
    }
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

HALVORNSYNC_TEST_MAIN(TestPopupDialog)
#include "tst_popupdialog.moc"
