#pragma once

#include <memory>

struct archive;

// Owning handles of libarchive objects. Closing before freeing matters for the disk writer: it
// applies the permissions and times of directories only when it is closed.
struct ArchiveReaderDeleter
{
    void operator()(archive *reader) const;
};

struct ArchiveWriterDeleter
{
    void operator()(archive *writer) const;
};

using ArchiveReader = std::unique_ptr<archive, ArchiveReaderDeleter>;
using ArchiveWriter = std::unique_ptr<archive, ArchiveWriterDeleter>;
