#pragma once

#include <QFile>
#include <QString>

#include <functional>
#include <memory>

// Makes the file object a copy writes through. Tests install a factory whose files stop growing
// partway, the way a full card does, or hold a copy at a point of their choosing: CI runs as
// root, so permissions cannot make a write fail.
class DestinationFileFactory
{
public:
    using Factory = std::function<std::unique_ptr<QFile>(const QString &path)>;

    // An unopened file for `path`.
    static std::unique_ptr<QFile> create(const QString &path);
    // Replaces plain QFile objects for every copier of the process; an empty factory restores
    // them. Safe to call while a copy runs.
    static void setFactory(Factory factory);
};
