#include "copier/CopyRequest.h"

#include "copier/FileCopier.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QLatin1String linkSuffix("lnk");
} // namespace

CopyRequest CopyRequest::make(const QString &source, const QString &destination, int flags,
                              bool move, bool isDir)
{
    const QFileInfo sourceInfo(source);
    QFileInfo destinationInfo(destination);
    destinationInfo.makeAbsolute();
    if (!isDir && destinationInfo.isDir()) {
        destinationInfo.setFile(QDir(destinationInfo.filePath()), sourceInfo.fileName());
    }

    CopyRequest request;
    request.source = sourceInfo.filePath();
    request.destination = destinationInfo.filePath();
    // Links are shortcut files on Windows, and a shortcut only works under its ".lnk" name.
    if (sourceInfo.isSymLink() && (flags & FileCopier::FollowLinks)) {
        request.source = sourceInfo.symLinkTarget();
        if (destinationInfo.suffix() == linkSuffix) {
            request.destination.chop(4);
        }
    } else if ((sourceInfo.isSymLink() || (flags & FileCopier::MakeLinks)) &&
               destinationInfo.suffix() != linkSuffix) {
        request.destination += QLatin1String(".lnk");
    }
    request.flags = flags;
    request.move = move;
    request.isDir = isDir;
    return request;
}
