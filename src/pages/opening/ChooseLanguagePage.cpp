#include "pages/opening/ChooseLanguagePage.h"

#include "app/Core.h"
#include "app/LanguageChoice.h"
#include "app/Pictures.h"
#include "app/Startup.h"
#include "app/SupportLog.h"
#include "maps/InstallRecovery.h"

#include "ui_ChooseLanguagePage.h"

#include <QEvent>

ChooseLanguagePage::ChooseLanguagePage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ChooseLanguagePage>())
{
    ui->setupUi(this);
    ui->PictureLabel->setPixmap(
        renderPicture(QStringLiteral(":/images/image-choose-language.svg"), {230, 164}));

    m_mainWindow = Core::mainWindow();
    if (m_mainWindow) {
        ui->EnglishButton->installEventFilter(this);
        ui->FrenchButton->installEventFilter(this);
    }
    connect(ui->EnglishButton, &QPushButton::clicked, this,
            &ChooseLanguagePage::onLanguageButtonClicked);
    connect(ui->FrenchButton, &QPushButton::clicked, this,
            &ChooseLanguagePage::onLanguageButtonClicked);
}

ChooseLanguagePage::~ChooseLanguagePage() = default;

bool ChooseLanguagePage::eventFilter(QObject *object, QEvent *event)
{
    const bool language = object == ui->EnglishButton || object == ui->FrenchButton;
    if (language) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::HoverEnter:
            showLogo(object == ui->EnglishButton ? QStringLiteral("en") : QStringLiteral("fr"));
            break;
        case QEvent::Leave:
        case QEvent::HoverLeave:
            showLogo(QString());
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(object, event);
}

void ChooseLanguagePage::showLogo(const QString &code)
{
    if (m_mainWindow) {
        QMetaObject::invokeMethod(m_mainWindow, "setLogoImage", Q_ARG(QString, code));
    }
}

void ChooseLanguagePage::onLanguageButtonClicked()
{
    // The logo of the language under the pointer at the click stays for the rest of the run.
    ui->EnglishButton->removeEventFilter(this);
    ui->FrenchButton->removeEventFilter(this);

    LanguageChoice::apply(sender() == ui->EnglishButton ? QStringLiteral("en")
                                                        : QStringLiteral("fr"));

    Core *core = Core::instance();
    // From here on the run keeps to this folder, wherever Garmin's programs may appear meanwhile.
    core->decideGarminMapsFolder();
    // A map that an interrupted install set aside is put back before anything looks at the maps;
    // what cannot be put back is named.
    const QString unsettled = InstallRecovery::settle(Core::garminMapsFolder());
    if (!unsettled.isEmpty() &&
        !core->showErrorFor(this, SupportLog::withLocation(unsettled, Qt::RichText))) {
        return;
    }
    Startup::removeStaleDownloads();
    core->refreshInstalledMapFolders();
    core->setCurrentPage(core->installedMapFolders().isEmpty()
                             ? PageId::HighSpeedConnectionRequiredPage
                             : PageId::InstallUpdateUninstallPage);
}
