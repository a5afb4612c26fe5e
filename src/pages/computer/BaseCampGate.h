#pragma once

#include <QCoreApplication>

#include <optional>

// The check before the computer installation path begins: with a recent enough Garmin BaseCamp
// (GarminApplications::minimumBaseCampVersion()) installed the wizard goes on to close it;
// otherwise the user is offered its download, or goes back to the page that ran the gate, which
// is left as it was.
class BaseCampGate
{
    Q_DECLARE_TR_FUNCTIONS(BaseCampGate)

public:
    // `asker` is the page that runs the gate: if it is replaced while the question is open, the
    // answer moves nothing.
    static void enter(QObject *asker);
    // The "Garmin BaseCamp Required" question, with `decline` as its left button: true to
    // download BaseCamp, nothing when `asker` went while it was open.
    static std::optional<bool> askToDownload(QObject *asker, const QString &decline);
};
