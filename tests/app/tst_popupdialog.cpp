#include "PopupAnswerer.h"
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

int drawnWidth(QLabel *label)
{
    return QFontMetrics(label->font()).horizontalAdvance(label->text());
}

const QColor kErrorRed(0xDC, 0x26, 0x2D);
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
    void emptyButtonTextHidesTheButton();
    void escapeLeavesThePopupOpen();
    void enterAccepts();
    void leftButtonRejects();
    void linksCanBeEnabled();
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
    QCOMPARE(label->styleSheet().isEmpty(), !shrunk);
    if (shrunk) {
        QVERIFY(QFontInfo(label->font()).pixelSize() < normalSize);
        // Rounding to whole pixels may leave a pixel or two over.
        QVERIFY2(drawnWidth(label) <= 312 + 4, qPrintable(QString::number(drawnWidth(label))));
    } else {
        QCOMPARE(QFontInfo(label->font()).pixelSize(), normalSize);
    }
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
    QCOMPARE(header(dialog)->text(), text.toUpper());
    const QColor colour = header(dialog)->palette().color(QPalette::Active, QPalette::WindowText);
    QCOMPARE(colour == kErrorRed, red);
    if (red) {
        QCOMPARE(header(dialog)->palette().color(QPalette::Inactive, QPalette::WindowText),
                 kErrorRed);
        QCOMPARE(header(dialog)->palette().color(QPalette::Disabled, QPalette::WindowText),
                 kErrorRed);
    }
}

void TestPopupDialog::emptyButtonTextHidesTheButton()
{
    PopupDialog dialog;
    dialog.setLeftButtonText(QString());
    dialog.setRightButtonText(QStringLiteral("≺ back"));
    auto *left = dialog.findChild<QPushButton *>("LeftPopupButton");
    auto *right = dialog.findChild<QPushButton *>("RightPopupButton");
    QVERIFY(left->isHidden());
    QVERIFY(!right->isHidden());
    QCOMPARE(right->text(), QStringLiteral("≺ BACK"));
}

void TestPopupDialog::escapeLeavesThePopupOpen()
{
    PopupDialog dialog;
    dialog.setLeftButtonText(QStringLiteral("No"));
    dialog.setRightButtonText(QStringLiteral("Yes"));
    PopupAnswerer answerer;
    bool stillOpen = false;
    QTimer::singleShot(0, this, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        stillOpen = dialog.isVisible();
        answerer.answerOpen(PopupAnswerer::Button::Left);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(stillOpen);
}

void TestPopupDialog::enterAccepts()
{
    PopupDialog dialog;
    dialog.setLeftButtonText(QStringLiteral("No"));
    dialog.setRightButtonText(QStringLiteral("Yes"));
    QTimer::singleShot(0, this, [&] {
        // Even with the focus on the left button, Enter means the right one.
        dialog.findChild<QPushButton *>("LeftPopupButton")->setFocus();
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

void TestPopupDialog::leftButtonRejects()
{
    PopupAnswerer answerer;
    answerer.answer(PopupAnswerer::Button::Left);
    QVERIFY(!PopupDialog::ask(QStringLiteral("Question"), QStringLiteral("Body"),
                              QStringLiteral("No"), QStringLiteral("Yes")));
    QCOMPARE(answerer.shown().first().leftButton, QStringLiteral("NO"));
    QCOMPARE(answerer.shown().first().text, QStringLiteral("Body"));
}

void TestPopupDialog::linksCanBeEnabled()
{
    PopupDialog dialog;
    auto *text = dialog.findChild<QLabel *>("TextLabel");
    dialog.setLinksEnabled(true);
    QVERIFY(text->openExternalLinks());
    QVERIFY(text->textInteractionFlags().testFlag(Qt::LinksAccessibleByKeyboard));
    QVERIFY(text->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    dialog.setLinksEnabled(false);
    QVERIFY(!text->openExternalLinks());
    QCOMPARE(text->textInteractionFlags(), Qt::NoTextInteraction);
}

HALVORNSYNC_TEST_MAIN(TestPopupDialog)
#include "tst_popupdialog.moc"
