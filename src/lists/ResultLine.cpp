#include "lists/ResultLine.h"

#include "records/SongCard.h"
#include "core/Text.h"
#include "records/DiscographySong.h"
#include "records/SingerCard.h"

namespace Lists
{

LineFormat::LineFormat(const RecordSchema &schema, std::initializer_list<Column> columns)
    : m_schema(&schema)
    , m_columns(columns)
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

const LineFormat &songLine()
{
    static const LineFormat format(SongCard::schema(), {
                                                           {"", SongCard::Titolo, 50},
                                                           {"  ", SongCard::Cantante, 35},
                                                           {"  Album: ", SongCard::Album, 40},
                                                           {"  Anno: ", SongCard::Anno, kLast},
                                                       });
    return format;
}

const LineFormat &singerLine()
{
    static const LineFormat format(SingerCard::schema(),
                                   {
                                       {"", SingerCard::Nome, 30},
                                       {"  Cittadinanza: ", SingerCard::Cittadinanza, 20},
                                       {"  Brano: ", SingerCard::Estremi, 50},
                                       {"  Band: ", SingerCard::Iban, kLast},
                                   });
    return format;
}

const LineFormat &discographyLine()
{
    static const LineFormat format(DiscographySong::schema(),
                                   {
                                       {"", DiscographySong::Titolo, 46},
                                       {"   Anno: ", DiscographySong::Anno, 4},
                                       {"  Genere: ", DiscographySong::Genere, 24},
                                       {"  Autori: ", DiscographySong::Autori, 29},
                                       {"  Durata: ", DiscographySong::Durata, kLast},
                                   });
    return format;
}

} // namespace Lists
