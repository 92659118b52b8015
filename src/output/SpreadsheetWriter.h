#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

// The spreadsheet files of the exports. By default Collection.xls and Archivio_Cantanti.xls: a
// one-line HTML document with the Office spreadsheet namespaces, in Windows-1252, which
// spreadsheet programs open as one worksheet. On request a real workbook (.xlsx) or a text file
// of separated values (.csv). Pure format code: no widgets, no dialogs.
namespace SpreadsheetWriter
{

enum class Format { Xls, Xlsx, Csv };

// The file name suffix of a format, without its dot: "xls", "xlsx", "csv".
QString suffix(Format format);

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

// Gives the bytes of a data cell as the card holds them, in Windows-1252 (row and column 0-based,
// in export order). The view must stay valid until the next call.
using CellBytes = std::function<QByteArrayView(int row, int column)>;

// How a cell reads in the .xlsx and .csv files: trimmed of codes up to U+0020 at both ends like
// the .xls cells, converted to UTF-8, and every line break inside it (CR LF, or a lone CR or LF)
// made one LF, the line break of a spreadsheet cell; so in a .csv file CR LF only ever ends a row.
// A NUL byte, which no spreadsheet keeps in a text, is left out.
QByteArray cellUtf8(QByteArrayView windows1252);

// The .csv file: UTF-8 with a byte-order mark, a header row and `rowCount` data rows, fields
// separated by ";" (what spreadsheet programs expect under an Italian locale), every field between
// double quotes with its own quotes doubled, every row ended by CR LF.
QByteArray csvDocument(const QList<Column> &columns, int rowCount, const CellBytes &cell);

// Writes the .xlsx workbook at `path`: one worksheet called `sheetName`, the bold header row frozen
// and filtered, each column `width` pixels wide, every cell a text (never a number, date or
// formula, so "0042" and "=1+1" read as written) and a cell holding a line break wrapped. The
// workbook goes to a temporary file beside `path` that is renamed over it once whole, so a failure
// leaves the previous file (or none). Throws FileError.
void saveXlsx(const QString &path, const QString &sheetName, const QList<Column> &columns, int rowCount,
              const CellBytes &cell);

// Replaces `path` with `bytes` as a whole: the bytes go to a temporary file that is renamed over
// the old one, so a failure leaves the previous file (or none), never a cut one. Throws FileError
// with the platform's description.
void save(const QString &path, const QByteArray &bytes);

// True when a workbook read back is whole: every part listed, of the size and checksum the
// archive says, and every XML part complete. Anything else, a hostile file included, is false.
bool xlsxIsWhole(const QByteArray &zip);

} // namespace SpreadsheetWriter
