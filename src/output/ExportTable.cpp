#include "output/ExportTable.h"

#include "collections/SongCard.h"
#include "core/RecordFile.h"
#include "core/RecordSchema.h"
#include "core/Text.h"
#include "singers/SingerCard.h"

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

bool ExportTableModel::load(const QString &path, const RecordSchema &schema)
{
    beginResetModel();
    m_rows.clear();
    bool complete = true;
    try {
        RecordFile file(path, schema.size());
        m_rows.reserve(file.count());
        file.scan([this, &schema](qint64 position, const QByteArray &record) {
            QStringList row;
            row.reserve(m_columns.size());
            for (const ExportColumn &column : std::as_const(m_columns)) {
                if (column.field < 0) {
                    row << QString::number(position);
                } else {
                    const RecordSchema::Field &field = schema.field(column.field);
                    row << ctrim(RecordSchema::load(record.constData() + field.offset, field));
                }
            }
            m_rows.append(row);
            return true;
        });
    } catch (const FileError &) {
        complete = false; // the rows read so far stay
    }
    endResetModel();
    return complete;
}

int ExportTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ExportTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ExportTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_rows.at(index.row()).at(index.column());
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
