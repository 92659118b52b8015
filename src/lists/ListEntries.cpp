#include "lists/ListEntries.h"

#include "core/RecordFile.h"
#include "lists/ListOrder.h"

#include <algorithm>

namespace Lists
{

void scanFile(const QString &path, const LineFormat &format, const std::function<bool(const char *)> &keep,
              Entries &out)
{
    RecordFile file(path, format.schema().size());
    file.scanRaw([&](qint64 position, const char *record) {
        if (keep(record))
            out.push_back({format.line(record), position});
        return true;
    });
    file.close();
}

void sortEntries(Entries &entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return compareLines(a.line, b.line) < 0; });
}

QByteArray readRecord(const QString &path, int recordSize, qint64 position)
{
    RecordFile file(path, recordSize);
    QByteArray record = file.read(position);
    file.close();
    return record;
}

} // namespace Lists
