#pragma once

#include <QCoreApplication>

// The check before the computer installation path begins: with Garmin BaseCamp 4.6.2 or later
// installed the wizard goes on to close it; otherwise the user is offered its download, or goes
// back to the page that ran the gate, which is left as it was.
class BaseCampGate
{
    Q_DECLARE_TR_FUNCTIONS(BaseCampGate)

public:
    static void enter();
};
