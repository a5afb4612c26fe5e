#pragma once

#include "download/DownloadPage.h"
#include "maps/MapInstaller.h"

#include <QPointer>

class QThread;

// Installs the product's current map on the computer: downloads the archive into the download
// folder inside the Garmin maps folder, verifies it, unpacks it there, puts the new map folders
// in place of the ones they supersede, reports the new version and moves on to
// InformNewPCVersionPage. No buttons: the user only answers the failure questions. The computer
// stays awake from the start of a download to the end of its install.
class DownloadMapPCPage : public DownloadPage
{
    Q_OBJECT

public:
    explicit DownloadMapPCPage(QWidget *parent = nullptr);
    ~DownloadMapPCPage() override;

    // The archive is read in blocks this large: measured against bsdtar, the extractor's
    // smaller default leaves a fifth of the speed behind.
    static constexpr int extractionBlockSize = 64 * 1024;

protected:
    QUrl downloadUrl() const override;
    QString downloadTarget() const override;
    Space checkSpace(qint64 announcedBytes) override;
    PageId pageAfterNo() const override;
    bool prepareAttempt() override;
    void downloadComplete() override;

protected Q_SLOTS:
    void handleMd5CheckResults(bool ok) override;
    void handleUnzipResults();
    void InformServer();

private:
    void installMap();
    void onInstallFinished(const MapInstaller::Result &result);
    void askToDownloadAgain();
    // Empties the download folder, but for a partial download that the next attempt continues.
    bool resetDownloadFolder() const;
    void giveUp(const QString &message);
    static QString downloadFolder();

    QPointer<QThread> m_installThread;
};
