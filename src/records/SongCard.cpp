#include "records/SongCard.h"

#include "core/Text.h"

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
