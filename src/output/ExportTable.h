#pragma once

#include <QAbstractTableModel>
#include <QByteArrayView>
#include <QList>
#include <QString>

class RecordSchema;

// One column of an export: the grid shows it, the spreadsheet writes it (the position column
// has no field and is never written).
struct ExportColumn {
    const char *gridHeader; // UTF-8
    int gridWidth;
    int field;      // index in the record schema; -1 for the card's position
    int sheetWidth; // the header cell's width in the spreadsheet
    bool fullOnly;  // written only in an export of every field, never in the .xls
};

namespace ExportColumns
{
// Position, then every song card field in record order; the 13 not fullOnly are the .xls.
const QList<ExportColumn> &collection();
// Position, then every singer card field in record order; the 25 not fullOnly are the .xls.
const QList<ExportColumn> &singers();
} // namespace ExportColumns

// The grid of an export window: one row per card in file order, column 0 the 1-based position,
// the other columns the trimmed field texts. Read-only throughout: the export writes what the
// file held.
class ExportTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    ExportTableModel(const QList<ExportColumn> &columns, QObject *parent = nullptr);

    // Reads every whole record of `path` (created empty when missing) with `schema`. A failure
    // part way keeps the rows read so far and is not reported; returns false then.
    bool load(const QString &path, const RecordSchema &schema);

    const QList<ExportColumn> &columns() const { return m_columns; }
    // A memo's line breaks read as "\n".
    QString cell(int row, int column) const;
    // A field cell as the file held it: trimmed Windows-1252 bytes (a memo's line breaks as CR LF),
    // valid until the next load.
    QByteArrayView cellBytes(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<ExportColumn> m_columns;
    // Every cell's trimmed Windows-1252 bytes back to back, row by row, and where each begins
    // (one more entry than cells): one allocation for the whole archive instead of one per cell,
    // and a cell is converted only when it is shown or written.
    QByteArray m_bytes;
    QList<qsizetype> m_starts;
    QList<bool> m_memo; // per column
    int m_rowCount = 0;
};
