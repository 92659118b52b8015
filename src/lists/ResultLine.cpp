#include "lists/ResultLine.h"

#include "records/SongCard.h"
#include "core/Text.h"
#include "records/DiscographySong.h"
#include "records/SingerCard.h"

#include <algorithm>

namespace Lists
{

LineFormat::LineFormat(const RecordSchema &schema, std::initializer_list<Column> columns)
    : m_schema(&schema)
    , m_columns(columns)
{
}

LineFormat::LineFormat(const RecordSchema &schema, std::vector<Column> columns)
    : m_schema(&schema)
    , m_columns(std::move(columns))
{
}

QString LineFormat::padded(const QString &text, int width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), QLatin1Char(' '));
}

template <class Text> QString LineFormat::build(Text &&textOf) const
{
    QString line;
    line.reserve(200);
    for (const Column &c : m_columns) {
        line += QLatin1String(c.separator);
        const QString text = ctrim(textOf(c.field));
        if (c.width == kLast)
            line += text;
        else
            line += padded(text, c.width);
    }
    return line;
}

QString LineFormat::line(const char *record) const
{
    return build([&](int field) {
        const RecordSchema::Field &f = m_schema->field(field);
        return RecordSchema::load(record + f.offset, f);
    });
}

QString LineFormat::lineOf(const QString *texts) const
{
    return build([&](int field) { return texts[field]; });
}

namespace
{
// The fields with a list column, in their order on the line.
std::vector<Column> columnsOf(const FieldTable &fields)
{
    std::vector<const FieldInfo *> listed;
    for (const FieldInfo &f : fields)
        if (f.listColumn.order > 0)
            listed.push_back(&f);
    std::sort(listed.begin(), listed.end(),
              [](const FieldInfo *a, const FieldInfo *b) { return a->listColumn.order < b->listColumn.order; });
    std::vector<Column> columns;
    for (const FieldInfo *f : listed)
        columns.push_back({f->listColumn.separator, f->field,
                           f->listColumn.width == FieldInfo::kRest ? kLast : f->listColumn.width});
    return columns;
}
} // namespace

const LineFormat &songLine()
{
    static const LineFormat format(SongCard::schema(), columnsOf(SongCard::fields()));
    return format;
}

const LineFormat &singerLine()
{
    static const LineFormat format(SingerCard::schema(), columnsOf(SingerCard::fields()));
    return format;
}

const LineFormat &discographyLine()
{
    static const LineFormat format(DiscographySong::schema(), columnsOf(DiscographySong::fields()));
    return format;
}

} // namespace Lists
