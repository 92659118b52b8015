#include "output/ExportTable.h"

#include "records/SongCard.h"
#include "core/RecordFile.h"
#include "core/RecordSchema.h"
#include "core/Text.h"
#include "records/SingerCard.h"

#include <cstring>

namespace ExportColumns
{

const QList<ExportColumn> &collection()
{
    using S = SongCard;
    static const QList<ExportColumn> columns{
        {"N.", 60, -1, 0},
        {"Titolo canzone", 300, S::Titolo, 400},
        {"Cantante", 250, S::Cantante, 300},
        {"Album", 300, S::Album, 400},
        {"Genere musicale", 200, S::Genere, 250},
        {"Autori", 300, S::Autori, 350},
        {"Nazione", 200, S::Nazione, 250},
        {"Anno", 150, S::Anno, 180},
        {"Premi e riconoscimenti", 350, S::Premi, 400},
        {"Casa discografica", 250, S::Casa, 250},
        {"Durata", 180, S::Durata, 200},
        {"Sito Web", 250, S::Sito, 300},
        {"Musica", 350, S::Musica, 400},
        {"Note", 350, S::Note, 400},
    };
    return columns;
}

const QList<ExportColumn> &singers()
{
    using S = SingerCard;
    static const QList<ExportColumn> columns{
        {"N.", 60, -1, 0},
        {"Nome d'arte", 250, S::Nome, 250},
        {"Data di nascita", 120, S::DataNasc, 200},
        {"Cittadinanza", 200, S::Cittadinanza, 250},
        {"Luogo di nascita", 250, S::LuogoNasc, 250},
        {"Nome anagrafico", 250, S::Indirizzo, 250},
        {"Esordio", 250, S::CodFisc, 300},
        {"Canzone capolavoro", 300, S::Estremi, 400},
        {"Coniuge", 250, S::Email, 250},
        {"Figli", 300, S::Tel, 400},
        {"Data decesso", 180, S::Cellulare, 200},
        {"Titolo di studio", 300, S::Studio, 300},
        {"Lingue conosciute", 300, S::Lingue, 300},
        {"Social media", 250, S::PartitaIva, 300},
        {"Band di appartenenza", 300, S::Iban, 300},
        {"Altezza", 200, S::Altezza, 250},
        {"Peso", 200, S::Peso, 250},
        {"Occhi", 200, S::Occhi, 250},
        {"Capelli", 200, S::Capelli, 250},
        {"Impegni sociali", 250, S::Vita, 300},
        {"Altre attività", 250, S::Fianchi, 300},
        {"Residenza attuale", 250, S::Taglia, 300},
        {"Giudizio", 200, S::Scarpe, 250},
        {"Generi musicali", 300, S::Esperienze, 300},
        {"Premi e riconoscimenti", 300, S::Disponibilita, 300},
        {"Note", 350, S::Note, 350},
    };
    return columns;
}

} // namespace ExportColumns

ExportTableModel::ExportTableModel(const QList<ExportColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(columns)
{
}

namespace
{

// Appends a field's text as the record's codec reads it, trimmed of codes up to U+0020 at both
// ends, as Windows-1252 bytes (where those codes are the bytes up to 0x20).
void appendField(QByteArray &out, const char *record, const RecordSchema::Field &field)
{
    const char *at = record + field.offset;
    int n = 0;
    switch (field.codec) {
    case RecordSchema::Codec::ZeroText: {
        const void *zero = std::memchr(at, 0, size_t(field.width));
        n = zero ? int(static_cast<const char *>(zero) - at) : field.width;
        break;
    }
    case RecordSchema::Codec::Counted:
        n = qMin(int(static_cast<unsigned char>(at[0])), field.capacity());
        ++at;
        break;
    case RecordSchema::Codec::ZeroMemo:
        // Line breaks change in the reading: take the codec's own text.
        out.append(Ansi::fromUnicode(ctrim(RecordSchema::load(at, field))));
        return;
    }
    const char *end = at + n;
    while (at < end && static_cast<unsigned char>(*at) <= 0x20)
        ++at;
    while (end > at && static_cast<unsigned char>(end[-1]) <= 0x20)
        --end;
    out.append(at, end - at);
}

} // namespace

bool ExportTableModel::load(const QString &path, const RecordSchema &schema)
{
    beginResetModel();
    m_bytes.clear();
    m_starts = {0};
    m_rowCount = 0;
    bool complete = true;
    try {
        RecordFile file(path, schema.size());
        const qint64 count = file.count();
        m_starts.reserve(count * m_columns.size() + 1);
        m_bytes.reserve(count * m_columns.size() * 24);
        file.scan([this, &schema](qint64, const QByteArray &record) {
            for (const ExportColumn &column : std::as_const(m_columns)) {
                if (column.field >= 0)
                    appendField(m_bytes, record.constData(), schema.field(column.field));
                m_starts.append(m_bytes.size());
            }
            ++m_rowCount;
            return true;
        });
    } catch (const FileError &) {
        complete = false; // the rows read so far stay
    }
    endResetModel();
    return complete;
}

QByteArrayView ExportTableModel::cellBytes(int row, int column) const
{
    const qsizetype index = qsizetype(row) * m_columns.size() + column;
    return QByteArrayView(m_bytes.constData() + m_starts.at(index),
                          m_starts.at(index + 1) - m_starts.at(index));
}

QString ExportTableModel::cell(int row, int column) const
{
    if (m_columns.at(column).field < 0)
        return QString::number(row + 1);
    const QByteArrayView bytes = cellBytes(row, column);
    const char *begin = bytes.data();
    const char *end = begin + bytes.size();
    // Bytes outside 0x80-0x9F are their own Latin-1 characters, the common case by far.
    for (const char *at = begin; at < end; ++at) {
        const auto b = static_cast<unsigned char>(*at);
        if (b >= 0x80 && b < 0xA0)
            return Ansi::toUnicode(begin, int(end - begin));
    }
    return QString::fromLatin1(begin, end - begin);
}

int ExportTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ExportTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ExportTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return cell(index.row(), index.column());
}

QVariant ExportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    return QString::fromUtf8(m_columns.at(section).gridHeader);
}

Qt::ItemFlags ExportTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
