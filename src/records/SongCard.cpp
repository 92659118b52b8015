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
const FieldInfo kUses[] = {
    {SongCard::Titolo, "txtTitolo", "Titolo canzone:", "txtTitolo", nullptr,
     {"Titolo canzone", 300, 400}, {1, "Titolo canzone:", "effTitolo"}, {1, "", 50}},
    {SongCard::Cantante, "txtCantante", "Cantante:", "txtCantante", nullptr,
     {"Cantante", 250, 300}, {2, "Cantante:", "effCantante"}, {2, "  ", 35}},
    {SongCard::Album, "txtAlbum", "Album:", "txtAlbum", "ALBUM:  ",
     {"Album", 300, 400}, {3, "Album:", "effAlbum"}, {3, "  Album: ", 40}},
    {SongCard::Genere, "txtGenere", "Genere musicale:", "txtGenere", nullptr,
     {"Genere musicale", 200, 250}, {4, "Genere musicale:", "effGenere"}, {}},
    {SongCard::Autori, "txtAutori", "Autori:", "txtAutori", nullptr,
     {"Autori", 300, 350}, {5, "Autori:", "effAutori"}, {}},
    {SongCard::Nazione, "txtNazione", "Nazione:", "txtNazione", nullptr,
     {"Nazione", 200, 250}, {6, "Nazione:", "effNazione"}, {}},
    {SongCard::Anno, "txtAnno", "Anno:", "txtAnno", nullptr,
     {"Anno", 150, 180}, {7, "Anno:", "effAnno"}, {4, "  Anno: ", kRest}},
    {SongCard::Premi, "txtPremi", "Premi e riconoscimenti:", "txtPremi", nullptr,
     {"Premi e riconoscimenti", 350, 400}, {}, {}},
    {SongCard::Casa, "txtCasa", "Casa discografica:", "txtCasa", nullptr,
     {"Casa discografica", 250, 250}, {}, {}},
    {SongCard::Durata, "txtDurata", "Durata:", "txtDurata", nullptr,
     {"Durata", 180, 200}, {}, {}},
    // The lyrics; a memo.
    {SongCard::Testo, "txtTesto", "Testo canzone:", "txtTesto", nullptr,
     {"Testo canzone", 300, 500, true}, {8, "Testo canzone:", "effTesto"}, {}},
    // Not a story: the translation of the lyrics; a memo.
    {SongCard::Storia, "txtStoria", "Traduzione:", "txtStoria", nullptr,
     {"Traduzione", 300, 500, true}, {9, "Traduzione:", "effStoria"}, {}},
    // The song's web address.
    {SongCard::Sito, "txtSito", "Sito Web:", nullptr, nullptr,
     {"Sito Web", 250, 300}, {}, {}},
    {SongCard::Musica, "txtMusica", "Musica:", "txtMusica", nullptr,
     {"Musica", 350, 400}, {}, {}},
    {SongCard::Note, "txtNote", "Note:", "txtNote", nullptr,
     {"Note", 350, 400}, {10, "Note:", "effNote"}, {}},
    // The flag "Sì" or "No" behind the check box.
    {SongCard::Segnala, "chkSegnala", "Segnala", nullptr, nullptr, {"Segnalata", 80, 90, true}, {}, {}},
    // Attachments: bare file names in Documenti_Allegati and their descriptions.
    {SongCard::File01, "lblFile01", nullptr, nullptr, nullptr, {"Allegato 1", 200, 250, true}, {}, {}},
    {SongCard::File02, "lblFile02", nullptr, nullptr, nullptr, {"Allegato 2", 200, 250, true}, {}, {}},
    {SongCard::File03, "lblFile03", nullptr, nullptr, nullptr, {"Allegato 3", 200, 250, true}, {}, {}},
    {SongCard::Desc01, "lblDesc01", nullptr, nullptr, nullptr,
     {"Descrizione allegato 1", 250, 300, true}, {}, {}},
    {SongCard::Desc02, "lblDesc02", nullptr, nullptr, nullptr,
     {"Descrizione allegato 2", 250, 300, true}, {}, {}},
    {SongCard::Desc03, "lblDesc03", nullptr, nullptr, nullptr,
     {"Descrizione allegato 3", 250, 300, true}, {}, {}},
};
// clang-format on
static_assert(std::size(kUses) == SongCard::FieldCount, "one row per song card field");
} // namespace

const FieldTable &SongCard::fields()
{
    static const FieldTable table(kUses);
    return table;
}
