#pragma once

#include <QString>

class QLabel;
class QVersionNumber;

// Fills the "Your version" and "Available version" lines of a version page: the label's own text
// has its first two placeholders replaced in one substitution, so a filled-in text can never be
// taken for a placeholder. An unknown version shows as nothing.
void fillVersionLines(QLabel *label, const QString &yours, const QVersionNumber &available);
