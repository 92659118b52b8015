#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// The spreadsheet files Collection.xls and Archivio_Cantanti.xls: a one-line HTML document with
// the Office spreadsheet namespaces, in Windows-1252, which spreadsheet programs open as one
// worksheet. Pure format code: no widgets, no dialogs.
namespace SpreadsheetWriter
{

// One exported column: its bold header cell and the width written with it.
struct Column {
    QString header;
    int width;
};

// Gives the text of a data cell (row and column 0-based, in export order).
using CellText = std::function<QString(int row, int column)>;

// The whole document: the fixed fragments, the header row and `rowCount` data rows of
// columns.size() cells each. Every cell is trimmed of codes up to U+0020 at both ends, and
// "&", "<" and ">" are written as entities so that the cell reads back as the text it holds.
QByteArray document(const QString &sheetName, const QList<Column> &columns, int rowCount,
                    const CellText &cell);

// One data cell's bytes between its <td> and </td>: trimmed, escaped, in Windows-1252.
QByteArray cellBytes(const QString &text);

// Replaces `path` with `bytes` as a whole: the bytes go to a temporary file that is renamed over
// the old one, so a failure leaves the previous file (or none), never a cut one. Throws FileError
// with the platform's description.
void save(const QString &path, const QByteArray &bytes);

} // namespace SpreadsheetWriter
