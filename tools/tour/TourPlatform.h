#pragma once

#include "platform/platform.h"

#include <QString>

// The tour's stand-in for the operating system: the computer is never kept awake, nothing is
// started or closed, and Windows' drive C: is a folder of the tour's sandbox, where a route can
// install or remove a Garmin BaseCamp of a given version.
class TourPlatform : public Platform
{
public:
    TourPlatform();
    ~TourPlatform() override;

    // Puts BaseCamp.exe of `version` into the Garmin program folder; an empty version removes
    // it, so BaseCamp counts as missing.
    bool setBaseCamp(const QVersionNumber &version);

    void preventSleep() override {}
    void allowSleep() override {}
    std::optional<QVersionNumber> executableFileVersion(const QString &path) const override;
    void closeBaseCamp(QObject *context, std::function<void()> done) override;
    void writeBaseCampDetail(QObject *context, std::function<void()> done) override;
    bool startDetached(const QString &program) override;
    QString nativePath(const QString &windowsPath) const override;

private:
    QString baseCampExecutable() const;

    QString m_driveC;
    QVersionNumber m_baseCampVersion;
};
