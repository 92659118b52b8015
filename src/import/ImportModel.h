#pragma once

#include "import/FolderReader.h"

#include <QAbstractTableModel>

// The preview grid of an import: one row per audio file read, with a check box saying whether
// its card will be added, what the card will hold and what storing changed.
class ImportModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The fixed columns; the fields an import fills follow, in record order, as the song
    // card's field table gives them a width in the preview.
    enum Column { Check, Stato, File, FirstField };

    explicit ImportModel(QObject *parent = nullptr);

    // Rows already in the collection or repeated start unchecked, every other row checked.
    void setRows(const QList<ImportRow> &rows);
    void clear() { setRows({}); }
    const QList<ImportRow> &rows() const { return m_rows; }
    bool isChecked(int row) const { return m_checked.at(row); }
    void setChecked(int row, bool on);
    void setAllChecked(bool on);
    int checkedCount() const;
    // The cards of the checked rows, in grid order.
    QList<SongCard> checkedCards() const;

    // The words of the Stato column: "già presente", "troncato: Titolo"...
    static QString stateText(const ImportRow &row);
    static SongCard::Field fieldOf(int column); // FieldCount for a fixed column
    static int columnOf(SongCard::Field field); // -1 when the preview does not show it
    static int columnWidth(int column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void checkedCountChanged(int checked);

private:
    QList<ImportRow> m_rows;
    QList<bool> m_checked;
};
