#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// One queued copy operation. A plain value so that it can travel through queued slot calls.
struct CopyRequest
{
    QList<int> childIds; // the entries of a directory request, run after it is created
    QString source;
    QString destination; // absolute
    bool move = false;   // remove the source once it has been copied
    bool isDir = false;
    int flags = 0; // FileCopier::CopyFlag values

    // Builds a request the way callers mean it: a file copied onto an existing directory lands
    // inside it, a relative destination is taken from the working directory, and links are
    // followed or named as the flags say.
    static CopyRequest make(const QString &source, const QString &destination, int flags,
                            bool move = false, bool isDir = false);
};

Q_DECLARE_METATYPE(CopyRequest)
