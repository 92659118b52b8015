#pragma once

#include "lists/ResultLine.h"

#include <QString>

#include <functional>
#include <vector>

// The lines of a list window, each with the position of the record it was built from, so that
// using a line opens exactly that record.
namespace Lists
{

struct Entry {
    QString line;
    qint64 position; // 1-based place of the record in its file
};
using Entries = std::vector<Entry>;

// Reads every record of the file at `path` (created empty when missing) in file order and adds
// to `out` the line of each record `keep` accepts. On a failure (FileError) `out` keeps the
// lines added before it.
void scanFile(const QString &path, const LineFormat &format, const std::function<bool(const char *)> &keep,
              Entries &out);

// The sorted list order; records with equal lines stay in file order.
void sortEntries(Entries &entries);

// Reads the record at `position` of the file at `path`; throws FileError when it cannot.
QByteArray readRecord(const QString &path, int recordSize, qint64 position);

} // namespace Lists
