#include "pages/shared/VersionLines.h"

#include <QLabel>
#include <QVersionNumber>

void fillVersionLines(QLabel *label, const QString &yours, const QVersionNumber &available)
{
    label->setText(label->text().arg(yours, available.toString()));
}
