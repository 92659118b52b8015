#pragma once

#include "core/RecordSchema.h"

#include <QString>

#include <initializer_list>
#include <vector>

// The one-line summary of a record that the list windows show: columns of trimmed field texts,
// each padded or cut to its width, joined by literal separators; the last column is kept whole.
namespace Lists
{

struct Column {
    const char *separator; // written before the column, ASCII
    int field;             // schema index
    int width;             // characters; kLast for the last column
};
inline constexpr int kLast = -1;

class LineFormat
{
public:
    LineFormat(const RecordSchema &schema, std::initializer_list<Column> columns);
    LineFormat(const RecordSchema &schema, std::vector<Column> columns);

    const RecordSchema &schema() const { return *m_schema; }
    const std::vector<Column> &columns() const { return m_columns; }

    // The line of one stored record (schema().size() bytes); only the listed fields are decoded.
    QString line(const char *record) const;
    // The line from field texts already decoded, one per schema field.
    QString lineOf(const QString *texts) const;

    // The line of a record type with a schema (SongCard, SingerCard, DiscographySong).
    template <class Record> QString lineOfRecord(const Record &record) const
    {
        std::vector<QString> texts;
        texts.reserve(size_t(Record::kFieldCount));
        for (int i = 0; i < Record::kFieldCount; ++i)
            texts.push_back(record.text(i));
        return lineOf(texts.data());
    }

    // A trimmed text padded with spaces and cut to exactly `width` characters.
    static QString padded(const QString &text, int width);

private:
    template <class Text> QString build(Text &&textOf) const;

    const RecordSchema *m_schema;
    std::vector<Column> m_columns;
};

// Title 50, singer 35, album 40, year: the song search and the flagged songs.
const LineFormat &songLine();
// Stage name 30, citizenship 20, best-known song 50, band: the singer search.
const LineFormat &singerLine();
// Title 46, year 4, genre 24, authors 29, duration: a singer's discography.
const LineFormat &discographyLine();

} // namespace Lists
