#include "output/ExportTable.h"

#include "records/SongCard.h"
#include "core/RecordFile.h"
#include "core/RecordSchema.h"
#include "core/Text.h"
#include "records/SingerCard.h"

#include <cstring>

namespace ExportColumns
{

namespace
{
// The card's position, then every field with an export column, in record order.
QList<ExportColumn> columnsOf(const FieldTable &fields)
{
    QList<ExportColumn> columns{{"N.", 60, -1, 0}};
    for (const FieldInfo &f : fields)
        if (f.exportColumn.header)
            columns.append({f.exportColumn.header, f.exportColumn.gridWidth, f.field, f.exportColumn.sheetWidth});
    return columns;
}
} // namespace

const QList<ExportColumn> &collection()
{
    static const QList<ExportColumn> columns = columnsOf(SongCard::fields());
    return columns;
}

const QList<ExportColumn> &singers()
{
    static const QList<ExportColumn> columns = columnsOf(SingerCard::fields());
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
    if (field.codec == RecordSchema::Codec::ZeroMemo) {
        // Line breaks change in the reading: take the codec's own text.
        out.append(Ansi::fromUnicode(ctrim(RecordSchema::load(at, field))));
        return;
    }
    const RecordSchema::Bytes text = RecordSchema::trimmed(RecordSchema::bytesOf(at, field));
    out.append(text.data, text.size);
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
