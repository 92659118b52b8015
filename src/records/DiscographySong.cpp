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
constexpr FieldInfo kUses[] = {
    {DiscographySong::Anno, "txtAnno", "Anno:", {1, 310, 140, 80}, nullptr, {}, {}, {2, "   Anno: ", 4}, {"Anno", 60, SortKey::Year}, {}},
    {DiscographySong::Titolo, "txtTitolo", "Titolo brano:", {2, 310, 196, 500}, nullptr, {}, {}, {1, "", 46}, {"Titolo", 260, SortKey::Text}, {}},
    {DiscographySong::Genere, "txtGenere", "Genere:", {3, 310, 252, 320}, nullptr, {}, {}, {3, "  Genere: ", 24}, {"Genere", 140, SortKey::Text}, {}},
    {DiscographySong::Autori, "txtAutori", "Autori:", {4, 310, 308, 320}, nullptr, {}, {}, {4, "  Autori: ", 29}, {"Autori", 180, SortKey::Text}, {}},
    {DiscographySong::Durata, "txtDurata", "Durata:", {5, 310, 364, 320}, nullptr, {}, {}, {5, "  Durata: ", kRest}, {"Durata", 70, SortKey::Text}, {}},
};
// clang-format on
static_assert(std::size(kUses) == DiscographySong::FieldCount, "one row per discography field");
static_assert(FieldTable::inRecordOrder(kUses), "discography rows in record order");
} // namespace

const FieldTable &DiscographySong::fields()
{
    static const FieldTable table(kUses);
    return table;
}
