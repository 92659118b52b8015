#include "import/ImportModel.h"

#include <QBrush>
#include <QColor>

namespace
{
const QColor kCutFill(0xFF, 0xC8, 0x8C);     // orange: the end of the text is dropped
const QColor kBestFitFill(0xFF, 0xF0, 0x96); // yellow: some letters are replaced
const QColor kPresentFill(0xE0, 0xE0, 0xE0); // grey: the song is already there

// The fields the preview shows, in record order.
const QList<SongCard::Field> &shownFields()
{
    static const QList<SongCard::Field> fields = [] {
        QList<SongCard::Field> list;
        for (const FieldInfo &f : SongCard::fields())
            if (f.import.previewWidth > 0)
                list << SongCard::Field(f.field);
        return list;
    }();
    return fields;
}

// A field's name in the preview: its column title, as a table view names it.
QString fieldName(SongCard::Field field)
{
    const char *title = SongCard::fields()[field].tableColumn.title;
    return title ? QString::fromUtf8(title) : QString::fromLatin1(SongCard::schema().field(int(field)).name);
}

QString fieldList(const QList<SongCard::Field> &fields)
{
    QStringList names;
    for (SongCard::Field f : fields)
        names << fieldName(f);
    return names.join(QStringLiteral(", "));
}
} // namespace

ImportModel::ImportModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

SongCard::Field ImportModel::fieldOf(int column)
{
    const int i = column - FirstField;
    return i >= 0 && i < shownFields().size() ? shownFields().at(i) : SongCard::FieldCount;
}

int ImportModel::columnOf(SongCard::Field field)
{
    const qsizetype i = shownFields().indexOf(field);
    return i < 0 ? -1 : FirstField + int(i);
}

int ImportModel::columnWidth(int column)
{
    switch (column) {
    case Check: return 26;
    case Stato: return 150;
    case File: return 170;
    default: return SongCard::fields()[fieldOf(column)].import.previewWidth;
    }
}

QString ImportModel::stateText(const ImportRow &row)
{
    QStringList words;
    if (row.present)
        words << QStringLiteral("già presente");
    if (row.repeated)
        words << QStringLiteral("ripetuto nella cartella");
    if (!row.cutFields.isEmpty())
        words << QStringLiteral("troncato: ") + fieldList(row.cutFields);
    if (!row.bestFitFields.isEmpty())
        words << QStringLiteral("lettere sostituite: ") + fieldList(row.bestFitFields);
    return words.join(QStringLiteral("; "));
}

void ImportModel::setRows(const QList<ImportRow> &rows)
{
    beginResetModel();
    m_rows = rows;
    m_checked.clear();
    for (const ImportRow &row : m_rows)
        m_checked << !(row.present || row.repeated);
    endResetModel();
    emit checkedCountChanged(checkedCount());
}

void ImportModel::setChecked(int row, bool on)
{
    if (m_checked.at(row) == on)
        return;
    m_checked[row] = on;
    emit dataChanged(index(row, Check), index(row, Check), {Qt::CheckStateRole});
    emit checkedCountChanged(checkedCount());
}

void ImportModel::setAllChecked(bool on)
{
    if (m_rows.isEmpty())
        return;
    for (bool &c : m_checked)
        c = on;
    emit dataChanged(index(0, Check), index(int(m_rows.size()) - 1, Check), {Qt::CheckStateRole});
    emit checkedCountChanged(checkedCount());
}

int ImportModel::checkedCount() const
{
    return int(std::count(m_checked.begin(), m_checked.end(), true));
}

QList<SongCard> ImportModel::checkedCards() const
{
    QList<SongCard> cards;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_checked.at(i))
            cards << m_rows.at(i).card;
    return cards;
}

int ImportModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ImportModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FirstField + int(shownFields().size());
}

QVariant ImportModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const ImportRow &row = m_rows.at(index.row());
    const int column = index.column();
    if (column == Check)
        return role == Qt::CheckStateRole ? QVariant(m_checked.at(index.row()) ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    const SongCard::Field field = fieldOf(column);
    switch (role) {
    case Qt::DisplayRole:
        if (column == Stato)
            return stateText(row);
        if (column == File)
            return row.relative;
        if (SongCard::schema().field(field).codec == RecordSchema::Codec::ZeroMemo) {
            // The first line in the grid; the whole text in the tip.
            const QString text = row.card.text(field);
            const qsizetype end = text.indexOf(QLatin1Char('\n'));
            return end < 0 ? text : text.left(end) + QStringLiteral(" …");
        }
        return row.card.text(field);
    case Qt::ToolTipRole:
        if (column == Stato || column == File)
            return column == File ? row.path : stateText(row);
        if (row.cutFields.contains(field))
            return row.card.text(field) + QStringLiteral("\n\n(testo troncato alla lunghezza del campo)");
        if (row.bestFitFields.contains(field))
            return row.card.text(field) +
                   QStringLiteral("\n\n(caratteri che l'archivio non può contenere sostituiti)");
        return row.card.text(field).isEmpty() ? QVariant() : QVariant(row.card.text(field));
    case Qt::BackgroundRole:
        if (row.cutFields.contains(field))
            return QBrush(kCutFill);
        if (row.bestFitFields.contains(field))
            return QBrush(kBestFitFill);
        if (column == Stato && (row.present || row.repeated))
            return QBrush(kPresentFill);
        return {};
    default:
        return {};
    }
}

bool ImportModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != Check || role != Qt::CheckStateRole)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags ImportModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Check)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ImportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Check: return QString();
    case Stato: return QStringLiteral("Stato");
    case File: return QStringLiteral("File");
    default: return fieldName(fieldOf(section));
    }
}
