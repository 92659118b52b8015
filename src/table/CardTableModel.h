#pragma once

#include "table/CardIndex.h"

#include <QAbstractTableModel>

// The table's rows: a list of index rows (a search result or the whole file) shown through the
// index's column texts, in the order of one column's Italian collation.
class CardTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The card's position, for any cell of its row.
    static constexpr int PositionRole = Qt::UserRole + 1;
    // True for a record that cannot be read as a card.
    static constexpr int UndecodableRole = Qt::UserRole + 2;

    CardTableModel(const CardIndex &index, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Shows `rows` (index rows), sorted by the current column unless `grouped` keeps their order.
    void setRows(QVector<int> rows, bool grouped = false);
    const QVector<int> &rows() const { return m_rows; }
    qint64 position(int row) const { return CardIndex::position(m_rows.at(row)); }
    // The model row that shows the card at `position`, or -1.
    int rowOf(qint64 position) const;
    // The same for many positions at once, in one pass over the rows.
    QVector<int> rowsOf(const QList<qint64> &positions) const;

    int sortColumn() const { return m_column; }
    Qt::SortOrder sortOrder() const { return m_order; }

private:
    void sortRows();

    const CardIndex &m_index;
    QVector<int> m_rows;
    int m_column = -1;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    bool m_grouped = false;
};
