#pragma once

#include "download/DownloadPage.h"

// Offers the product's additional GPS data; if the user accepts, downloads the archive into the
// user's download folder, unpacks it into a folder of its own there, deletes the archive and
// moves on to GPSDataExtractedPage. A product without such data goes straight to ThankYouPage.
class DownloadGPSDataPage : public DownloadPage
{
    Q_OBJECT

public:
    explicit DownloadGPSDataPage(QWidget *parent = nullptr);
    ~DownloadGPSDataPage() override;

    // The service's name for the data as a folder name that stays one folder inside the
    // download folder on every system.
    static QString folderName(const QString &dataName);
    // Where the current product's data is unpacked.
    static QString dataFolder();

protected:
    QUrl downloadUrl() const override;
    QString downloadTarget() const override;
    Space checkSpace(qint64 announcedBytes) override;
    QString failureText() const override;
    PageId pageAfterNo() const override;
    void firstStep() override;
    void downloadComplete() override;

private Q_SLOTS:
    void Initialization();
    void onUnzipFinished();

private:
    static QString archivePath();
};
