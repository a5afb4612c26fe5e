#include "pages/computer/UninstallingPage.h"

#include "app/Core.h"
#include "app/Pictures.h"
#include "maps/Worker.h"

#include "ui_UninstallingPage.h"

#include <QTimer>

UninstallingPage::UninstallingPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::UninstallingPage>())
    , m_worker(std::make_unique<Worker>(Core::garminMapsFolder()))
{
    ui->setupUi(this);
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    ui->HeaderLabel->setText(ui->HeaderLabel->text().arg(Core::computerWord()));
    ui->PictureLabel->setPixmap(
        renderPicture(QStringLiteral(":/images/uninstalling-maps.svg"), {230, 164}));
    // In this order, on this thread: a result is written down before the next map starts.
    connect(m_worker.get(), &Worker::resultReady, this,
            &UninstallingPage::onMapUninstallationResult);
    connect(m_worker.get(), &Worker::resultReady, this, &UninstallingPage::uninstallNextMap);
    // Once the page is painted, so the user sees what is about to happen.
    QTimer::singleShot(300, this, &UninstallingPage::uninstallNextMap);
}

UninstallingPage::~UninstallingPage()
{
    m_thread.quit();
    m_thread.wait();
}

void UninstallingPage::uninstallNextMap()
{
    Core *core = Core::instance();
    QStringList remaining = core->mapsToUninstall();
    if (remaining.isEmpty()) {
        // The rest of the run must not offer the maps that are gone.
        core->refreshInstalledMapFolders();
        core->setMapsToUninstall(m_results);
        core->setCurrentPage(PageId::ProductsUninstalledPage);
        return;
    }
    const QString name = remaining.takeFirst();
    core->setMapsToUninstall(remaining);
    // The report is HTML: a folder name is text, whatever characters it holds.
    m_results.append(name.toHtmlEscaped());
    ui->UninstallingMapName->setText(tr("%1...").arg(name));
    Worker *worker = m_worker.get();
    QMetaObject::invokeMethod(worker, [worker, name] { worker->doWork(name); });
}

void UninstallingPage::onMapUninstallationResult(const QString &result)
{
    m_results.last() += result.isEmpty()
                            ? tr(": <font color=\"red\">Error (Maybe it is protected?)</font>")
                            : tr(": <b>Success</b>");
}
