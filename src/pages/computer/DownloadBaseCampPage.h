#pragma once

#include "download/DownloadPage.h"

// Downloads the Garmin BaseCamp installer the service announces into the user's download folder,
// verifies its checksum and moves on to InstallBaseCampPage, which starts it. No buttons: the user
// only answers the failure questions.
class DownloadBaseCampPage : public DownloadPage
{
    Q_OBJECT

public:
    explicit DownloadBaseCampPage(QWidget *parent = nullptr);
    ~DownloadBaseCampPage() override;

    // Where the installer is written, and where InstallBaseCampPage starts it from.
    static QString installerPath();

    // Corrupt downloads fetched again without asking; the next one asks the user.
    static constexpr int automaticRetries = 2;

protected:
    QUrl downloadUrl() const override;
    QString downloadTarget() const override;
    Space checkSpace(qint64 announcedBytes) override;
    PageId pageAfterNo() const override;
    void firstStep() override;
    void downloadComplete() override;

protected Q_SLOTS:
    void handleMd5CheckResults(bool ok) override;
    void checkMD5();

private:
    int m_corruptDownloads = 0;
};
