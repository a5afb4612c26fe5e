#include "TestMain.h"
#include "app/Startup.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The colour the style sheet paints a button's background with, read from a rendered button,
// in a corner of its padding where no text is drawn.
QColor renderedBackground(const QString &objectName, bool enabled = true)
{
    QWidget page;
    auto *layout = new QVBoxLayout(&page);
    auto *button = new QPushButton(QStringLiteral("TEXT"), &page);
    button->setObjectName(objectName);
    button->setEnabled(enabled);
    button->setMinimumSize(200, 65);
    layout->addWidget(button);
    page.resize(240, 100);
    page.ensurePolished();
    page.show();
    const QImage image = button->grab().toImage();
    return image.pixelColor(4, 4);
}
} // namespace

class TestLook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Startup::applyLook(*qApp); }
    void buttonsAreColouredByRole_data();
    void buttonsAreColouredByRole();
};

void TestLook::buttonsAreColouredByRole_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("unnamed button: primary") << "SomeButton" << true << QColor("#458CE4");
    QTest::newRow("next: primary") << "NextButton" << true << QColor("#458CE4");
    QTest::newRow("skip: negative") << "SkipButton" << true << QColor("#dc262d");
    QTest::newRow("left pop-up button: negative") << "LeftPopupButton" << true << QColor("#dc262d");
    QTest::newRow("exit: negative") << "ExitButton" << true << QColor("#dc262d");
    QTest::newRow("reinstall: orange") << "ReinstallButton" << true << QColor("#f9a622");
    QTest::newRow("disabled next: grey") << "NextButton" << false << QColor("dimgray");
    QTest::newRow("disabled skip: grey") << "SkipButton" << false << QColor("dimgray");
}

void TestLook::buttonsAreColouredByRole()
{
    QFETCH(QString, objectName);
    QFETCH(bool, enabled);
    QFETCH(QColor, colour);
    QCOMPARE(renderedBackground(objectName, enabled).name(), colour.name());
}

HALVORNSYNC_TEST_MAIN(TestLook)
#include "tst_look.moc"
