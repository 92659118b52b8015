#include "table/TableColumns.h"

#include "records/SingerCard.h"
#include "records/SongCard.h"

#include <QRegularExpression>

#include <iterator>

namespace
{
// clang-format off
const TableColumn kSongColumns[] = {
    {SongCard::Titolo, "Titolo", 260, false},
    {SongCard::Cantante, "Cantante", 180, false},
    {SongCard::Album, "Album", 180, false},
    {SongCard::Genere, "Genere", 110, false},
    {SongCard::Anno, "Anno", 60, false},
    {SongCard::Durata, "Durata", 70, false},
    {SongCard::Segnala, "Segnala", 70, false},
};
const TableColumn kSingerColumns[] = {
    {SingerCard::Indirizzo, "Nome anagrafico", 220, false},
    {SingerCard::Nome, "Nome d'arte", 200, false},
    {SingerCard::Cittadinanza, "Nazione", 140, false},
    {SingerCard::DataNasc, "Anno di nascita", 110, true},
    {SingerCard::Esperienze, "Generi musicali", 220, false},
};
// clang-format on
} // namespace

int TableColumns::count(ArchiveKind kind)
{
    return kind == ArchiveKind::Songs ? int(std::size(kSongColumns)) : int(std::size(kSingerColumns));
}

const TableColumn &TableColumns::at(ArchiveKind kind, int column)
{
    return kind == ArchiveKind::Songs ? kSongColumns[column] : kSingerColumns[column];
}

int TableColumns::recordSize(ArchiveKind kind)
{
    return kind == ArchiveKind::Songs ? SongCard::kSize : SingerCard::kSize;
}

QString TableColumns::year(const QString &date)
{
    static const QRegularExpression four(QStringLiteral("(?<!\\d)\\d{4}(?!\\d)"));
    const QRegularExpressionMatch m = four.match(date);
    return m.hasMatch() ? m.captured() : date;
}
