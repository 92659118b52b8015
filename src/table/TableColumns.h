#pragma once

#include <QString>

// The two archives the table shows.
enum class ArchiveKind {
    Songs,   // a collection (.mus)
    Singers, // Archivio_Cantanti.pro
};

// One column of the table: which record field it shows, its header and first width. Kept here,
// keyed by field index, until the record field tables carry a table-view column of their own.
struct TableColumn {
    int field;          // index in the record's schema
    const char *header; // UTF-8
    int width;          // pixels at first opening
    bool yearOnly;      // shows only the year found in a free-text date
};

namespace TableColumns
{
int count(ArchiveKind kind);
const TableColumn &at(ArchiveKind kind, int column);
// The record size of the archive kind.
int recordSize(ArchiveKind kind);
// The first four-digit number of a free-text date ("12/03/1958" gives "1958"), or the text.
QString year(const QString &date);
} // namespace TableColumns
