#include "records/DiscographySong.h"

#include "core/ProgramFolder.h"
#include "core/Text.h"

#include <iterator>

namespace
{

using S = RecordSchema;

constexpr std::array<RecordSchema::Field, DiscographySong::FieldCount> kFields{{
    S::counted("Anno", 0, 4),
    S::counted("Titolo", 5, 50),
    S::counted("Genere", 56, 28),
    S::counted("Autori", 85, 29),
    S::counted("Durata", 115, 28),
}};
static_assert(RecordSchema::tiles(kFields, DiscographySong::kSize),
              "discography fields must tile the record");

} // namespace

const RecordSchema &DiscographySong::schema()
{
    static const RecordSchema schema(kSize, kFields);
    return schema;
}

QString Discography::path(qint64 position)
{
    return path(QString::number(position));
}

QString Discography::path(const QString &position)
{
    return ProgramFolder::file(QStringLiteral("Discografia_Cantante_") + ctrim(position) +
                               QStringLiteral(".pro"));
}

namespace
{
constexpr int kRest = FieldInfo::kRest;

// clang-format off
const FieldInfo kUses[] = {
    {DiscographySong::Anno, "txtAnno", "Anno:", nullptr, nullptr, {}, {}, {2, "   Anno: ", 4}},
    {DiscographySong::Titolo, "txtTitolo", "Titolo brano:", nullptr, nullptr, {}, {}, {1, "", 46}},
    {DiscographySong::Genere, "txtGenere", "Genere:", nullptr, nullptr, {}, {}, {3, "  Genere: ", 24}},
    {DiscographySong::Autori, "txtAutori", "Autori:", nullptr, nullptr, {}, {}, {4, "  Autori: ", 29}},
    {DiscographySong::Durata, "txtDurata", "Durata:", nullptr, nullptr, {}, {}, {5, "  Durata: ", kRest}},
};
// clang-format on
static_assert(std::size(kUses) == DiscographySong::FieldCount, "one row per discography field");
} // namespace

const FieldTable &DiscographySong::fields()
{
    static const FieldTable table(kUses);
    return table;
}
