#include "archive/ArchiveHandle.h"

#include <archive.h>

void ArchiveReaderDeleter::operator()(archive *reader) const
{
    archive_read_close(reader);
    archive_read_free(reader);
}

void ArchiveWriterDeleter::operator()(archive *writer) const
{
    archive_write_close(writer);
    archive_write_free(writer);
}
