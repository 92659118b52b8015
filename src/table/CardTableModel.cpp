#include "table/CardTableModel.h"

#include <algorithm>

namespace
{
const char *const kUndecodable = "Scheda illeggibile: il record non contiene una scheda valida";
}

CardTableModel::CardTableModel(const CardIndex &index, QObject *parent)
    : QAbstractTableModel(parent)
    , m_index(index)
{
}

int CardTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CardTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : TableColumns::count(m_index.kind());
}

QVariant CardTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const int row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (m_index.undecodable(row))
            return index.column() == 0 ? QString::fromUtf8(kUndecodable) + QStringLiteral(" (posizione %1)").arg(CardIndex::position(row))
                                       : QString();
        return m_index.column(row, index.column());
    case Qt::ToolTipRole:
        if (m_index.undecodable(row))
            return QString::fromUtf8(kUndecodable);
        return QVariant();
    case PositionRole:
        return CardIndex::position(row);
    case UndecodableRole:
        return m_index.undecodable(row);
    default:
        return QVariant();
    }
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < TableColumns::count(m_index.kind()))
        return QString::fromUtf8(TableColumns::at(m_index.kind(), section).header);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 && section < m_rows.size())
        return position(section);
    return QVariant();
}

void CardTableModel::sort(int column, Qt::SortOrder order)
{
    m_column = column;
    m_order = order;
    if (m_grouped)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<qint64> positions;
    for (const QModelIndex &i : before)
        positions.append(position(i.row()));
    sortRows();
    const QVector<int> rows = rowsOf(positions);
    QModelIndexList after;
    for (int k = 0; k < before.size(); ++k) {
        const int r = rows.at(k);
        after.append(r < 0 ? QModelIndex() : index(r, before.at(k).column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CardTableModel::sortRows()
{
    if (m_column < 0 || m_column >= columnCount())
        return;
    const QVector<quint32> &rank = m_index.ranks(m_column);
    // Equal texts keep the order of their positions, whichever way the column runs.
    if (m_order == Qt::AscendingOrder)
        std::sort(m_rows.begin(), m_rows.end(), [&rank](int a, int b) {
            return rank[a] != rank[b] ? rank[a] < rank[b] : a < b;
        });
    else
        std::sort(m_rows.begin(), m_rows.end(), [&rank](int a, int b) {
            return rank[a] != rank[b] ? rank[a] > rank[b] : a < b;
        });
}

void CardTableModel::setRows(QVector<int> rows, bool grouped)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_grouped = grouped;
    if (!grouped)
        sortRows();
    endResetModel();
}

int CardTableModel::rowOf(qint64 position) const
{
    const int wanted = int(position - 1);
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows.at(r) == wanted)
            return r;
    return -1;
}

QVector<int> CardTableModel::rowsOf(const QList<qint64> &positions) const
{
    QVector<int> shownAt(m_index.count(), -1);
    for (int r = 0; r < m_rows.size(); ++r)
        shownAt[m_rows.at(r)] = r;
    QVector<int> out;
    out.reserve(positions.size());
    for (qint64 p : positions)
        out.append(p >= 1 && p <= shownAt.size() ? shownAt.at(int(p - 1)) : -1);
    return out;
}
