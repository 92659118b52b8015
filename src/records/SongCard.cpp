#include "records/SongCard.h"

#include "core/Text.h"

#include <iterator>

namespace
{

using S = RecordSchema;

// clang-format off
constexpr std::array<RecordSchema::Field, SongCard::FieldCount> kFields{{
    S::zeroText("Titolo", 0, 121),
    S::zeroText("Cantante", 121, 121),
    S::zeroText("Album", 242, 121),
    S::zeroText("Genere", 363, 51),
    S::zeroText("Autori", 414, 251),
    S::zeroText("Nazione", 665, 51),
    S::zeroText("Anno", 716, 31),
    S::zeroText("Premi", 747, 251),
    S::zeroText("Casa", 998, 51),
    S::zeroText("Durata", 1049, 31),
    S::zeroMemo("Testo", 1080, 5001),
    S::zeroMemo("Storia", 6081, 5001),
    S::zeroText("Sito", 11082, 251),
    S::zeroText("Musica", 11333, 251),
    S::zeroText("Note", 11584, 251),
    S::zeroText("Segnala", 11835, 3),
    S::zeroText("File01", 11838, 251),
    S::zeroText("File02", 12089, 251),
    S::zeroText("File03", 12340, 251),
    S::zeroText("Desc01", 12591, 251),
    S::zeroText("Desc02", 12842, 251),
    S::zeroText("Desc03", 13093, 251),
}};
// clang-format on
static_assert(RecordSchema::tiles(kFields, SongCard::kSize), "song card fields must tile the record");

const QString &yes()
{
    static const QString text = QStringLiteral("S\u00EC");
    return text;
}
const QString &no()
{
    static const QString text = QStringLiteral("No");
    return text;
}

} // namespace

const RecordSchema &SongCard::schema()
{
    static const RecordSchema schema(kSize, kFields);
    return schema;
}

SongCard::Flag SongCard::flag() const
{
    const QString flagged = ctrim(text(Segnala));
    if (flagged == yes())
        return Flag::Flagged;
    if (flagged == no())
        return Flag::NotFlagged;
    return Flag::Neither;
}

QString SongCard::flagText(bool flagged)
{
    return flagged ? yes() : no();
}

namespace
{
constexpr int kRest = FieldInfo::kRest;

// clang-format off
constexpr FieldInfo kUses[] = {
    {SongCard::Titolo, "txtTitolo", "Titolo canzone:", {1, 236, 156, 392}, nullptr,
     {"Titolo canzone", 300, 400}, {1, "Titolo canzone:", "effTitolo"}, {1, "", 50},
     {"Titolo", 220, SortKey::Text}, {ImportRule::Title, {"TITLE"}, 170}},
    {SongCard::Cantante, "txtCantante", "Cantante:", {2, 668, 156, 262}, nullptr,
     {"Cantante", 250, 300}, {2, "Cantante:", "effCantante"}, {2, "  ", 35},
     {"Cantante", 160, SortKey::Text}, {ImportRule::Text, {"ARTIST", "ALBUMARTIST"}, 140}},
    {SongCard::Album, "txtAlbum", "Album:", {3, 236, 204, 420}, "ALBUM:  ",
     {"Album", 300, 400}, {3, "Album:", "effAlbum"}, {3, "  Album: ", 40},
     {"Album", 160, SortKey::Text}, {ImportRule::Text, {"ALBUM"}, 140}},
    {SongCard::Genere, "txtGenere", "Genere musicale:", {4, 668, 204, 290}, nullptr,
     {"Genere musicale", 200, 250}, {4, "Genere musicale:", "effGenere"}, {},
     {"Genere", 110, SortKey::Text}, {ImportRule::Text, {"GENRE"}, 90}},
    {SongCard::Autori, "txtAutori", "Autori:", {5, 236, 252, 420}, nullptr,
     {"Autori", 300, 350}, {5, "Autori:", "effAutori"}, {},
     {"Autori", 160, SortKey::Text}, {ImportRule::Text, {"COMPOSER", "LYRICIST"}, 120}},
    {SongCard::Nazione, "txtNazione", "Nazione:", {6, 668, 252, 180}, nullptr,
     {"Nazione", 200, 250}, {6, "Nazione:", "effNazione"}, {},
     {"Nazione", 100, SortKey::Text}, {}},
    {SongCard::Anno, "txtAnno", "Anno:", {7, 860, 252, 98}, nullptr,
     {"Anno", 150, 180}, {7, "Anno:", "effAnno"}, {4, "  Anno: ", kRest},
     {"Anno", 60, SortKey::Year}, {ImportRule::Year, {"DATE", "YEAR", "ORIGINALDATE"}, 46}},
    {SongCard::Premi, "txtPremi", "Premi e riconoscimenti:", {8, 236, 300, 420}, nullptr,
     {"Premi e riconoscimenti", 350, 400}, {}, {},
     {"Premi", 160, SortKey::Text}, {}},
    {SongCard::Casa, "txtCasa", "Casa discografica:", {9, 668, 300, 180}, nullptr,
     {"Casa discografica", 250, 250}, {}, {},
     {"Casa discografica", 130, SortKey::Text}, {}},
    {SongCard::Durata, "txtDurata", "Durata:", {10, 860, 300, 98}, nullptr,
     {"Durata", 180, 200}, {}, {},
     {"Durata", 60, SortKey::Text}, {ImportRule::Length, {}, 56}},
    // The lyrics; a memo.
    {SongCard::Testo, "txtTesto", "Testo canzone:", {11, 50, 365, 440}, nullptr,
     {}, {8, "Testo canzone:", "effTesto"}, {},
     {}, {ImportRule::Memo, {"LYRICS"}, 160}},
    // Not a story: the translation of the lyrics; a memo.
    {SongCard::Storia, "txtStoria", "Traduzione:", {12, 504, 365, 440}, nullptr,
     {}, {9, "Traduzione:", "effStoria"}, {},
     {}, {}},
    // The song's web address.
    {SongCard::Sito, "txtSito", "Sito Web:", {13, 36, 548, 426}, nullptr,
     {"Sito Web", 250, 300}, {}, {},
     {"Sito Web", 160, SortKey::Text}, {}},
    {SongCard::Musica, "txtMusica", "Musica:", {14, 504, 548, 454}, nullptr,
     {"Musica", 350, 400}, {}, {},
     {"Musica", 160, SortKey::Text}, {}},
    {SongCard::Note, "txtNote", "Note:", {15, 36, 596, 758}, nullptr,
     {"Note", 350, 400}, {10, "Note:", "effNote"}, {},
     {"Note", 200, SortKey::Text}, {ImportRule::Text, {"COMMENT"}, 140}},
    // The flag "Sì" or "No" behind the check box; its box and flag art are the editor's own.
    {SongCard::Segnala, "chkSegnala", "Segnala", {16, 856, 588, 0}, nullptr, {}, {}, {},
     {"Segnala", 60, SortKey::Text}, {ImportRule::NotFlagged, {}, 0}},
    // Attachments: bare file names in Documenti_Allegati and their descriptions.
    {SongCard::File01, "lblFile01", nullptr, {}, nullptr, {}, {}, {}, {}, {}},
    {SongCard::File02, "lblFile02", nullptr, {}, nullptr, {}, {}, {}, {}, {}},
    {SongCard::File03, "lblFile03", nullptr, {}, nullptr, {}, {}, {}, {}, {}},
    {SongCard::Desc01, "lblDesc01", nullptr, {}, nullptr, {}, {}, {}, {}, {}},
    {SongCard::Desc02, "lblDesc02", nullptr, {}, nullptr, {}, {}, {}, {}, {}},
    {SongCard::Desc03, "lblDesc03", nullptr, {}, nullptr, {}, {}, {}, {}, {}},
};
// clang-format on
static_assert(std::size(kUses) == SongCard::FieldCount, "one row per song card field");
static_assert(FieldTable::inRecordOrder(kUses), "song card rows in record order");
static_assert(FieldTable::filterCount(kUses) == kSearchFilters, "the song search has ten filters");
} // namespace

const FieldTable &SongCard::fields()
{
    static const FieldTable table(kUses);
    return table;
}
