#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Reads string values from a registry file that Wine keeps in its prefix (user.reg,
// system.reg): "[key]" lines open a key, "\"name\"=\"value\"" lines give its string values, and
// both are written with Wine's escapes (\\, \", \n and the like, \xHHHH for every character
// beyond ASCII, octal for other control characters).
class WineRegistryFile
{
public:
    explicit WineRegistryFile(QString path);

    // The string value `name` of `key` (as "Software\\Wine", one backslash between the parts),
    // both compared without regard to case, as the registry does. Nothing when the file, the key
    // or a string value of that name is missing.
    std::optional<QString> stringValue(QStringView key, QStringView name) const;

private:
    QString m_path;
};
