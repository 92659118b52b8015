#include "output/SpreadsheetWriter.h"

#include "core/RecordFile.h"
#include "core/Text.h"

#include <QSaveFile>

namespace
{

// Everything before the header cells, in the order the format fixes; the sheet name goes
// between the two halves.
constexpr char kHeadBeforeName[] =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" xmlns=\"http://www.w3.org/TR/REC-html40\">"
    "<head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
    "<!--[if gte mso 9]><xml>"
    "<x:ExcelWorkbook>"
    "<x:ExcelWorksheets>"
    "<x:ExcelWorksheet>"
    "<x:Name>";
constexpr char kHeadAfterName[] = "</x:Name>"
                                  "<x:WorksheetOptions>"
                                  "<x:Selected/>"
                                  "<x:Panes>"
                                  "<x:Pane>"
                                  "<x:Number>1</x:Number>"
                                  "<x:ActiveRow>3</x:ActiveRow>"
                                  "</x:Pane>"
                                  "</x:Panes>"
                                  "<x:ProtectContents>False</x:ProtectContents>"
                                  "<x:ProtectObjects>False</x:ProtectObjects>"
                                  "<x:ProtectScenarios>False</x:ProtectScenarios>"
                                  "</x:WorksheetOptions>"
                                  "</x:ExcelWorksheet>"
                                  "</x:ExcelWorksheets>"
                                  "</x:ExcelWorkbook>"
                                  "</xml><![endif]-->"
                                  "</head>"
                                  "<body>"
                                  "<table x:str>"
                                  "<tr>";
constexpr char kHeaderCellOpen[] = "<td style=\"text-align: left; font-weight: bold;\" width=";
constexpr char kCellOpen[] = "<td style=\"text-align: left;\">";
constexpr char kCellClose[] = "</td>";
constexpr char kTail[] = "</table></body></html>";

// Appends the Windows-1252 bytes of a trimmed cell with the three markup characters as entities.
void appendEscapedBytes(QByteArray &out, const QByteArray &bytes)
{
    char previous = 0;
    for (const char c : bytes) {
        if (c == ' ' && previous == ' ') {
            // Spreadsheet programs read HTML and fold a run of spaces into one; a character
            // reference keeps the card's spacing.
            out.append("&#32;", 5);
            continue;
        }
        previous = c;
        switch (c) {
        case '&':
            out.append("&amp;", 5);
            break;
        case '<':
            out.append("&lt;", 4);
            break;
        case '>':
            out.append("&gt;", 4);
            break;
        default:
            out.append(c);
        }
    }
}

// Texts of Latin-1 letters, the usual content of a card, are their own Windows-1252 bytes; any
// other text goes through the code page conversion.
QByteArray codePageBytes(const QString &text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= 0x80 && (c < 0xA0 || c > 0xFF))
            return Ansi::fromUnicode(text);
    }
    return text.toLatin1();
}

} // namespace

namespace SpreadsheetWriter
{

QByteArray cellBytes(const QString &text)
{
    QByteArray out;
    appendEscapedBytes(out, codePageBytes(ctrim(text)));
    return out;
}

QByteArray document(const QString &sheetName, const QList<Column> &columns, int rowCount,
                    const CellText &cell)
{
    QByteArray out;
    out.reserve(2048 + qsizetype(rowCount) * columns.size() * 64);
    out.append(kHeadBeforeName);
    out.append(Ansi::fromUnicode(sheetName));
    out.append(kHeadAfterName);
    for (const Column &column : columns) {
        out.append(kHeaderCellOpen);
        out.append(QByteArray::number(column.width));
        out.append('>');
        out.append(Ansi::fromUnicode(column.header));
        out.append(kCellClose);
    }
    out.append("</tr>");
    const int width = int(columns.size());
    for (int row = 0; row < rowCount; ++row) {
        out.append("<tr>");
        for (int column = 0; column < width; ++column) {
            out.append(kCellOpen);
            appendEscapedBytes(out, codePageBytes(ctrim(cell(row, column))));
            out.append(kCellClose);
        }
        out.append("</tr>");
    }
    out.append(kTail);
    return out;
}

void save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileError(reason);
    }
    if (!file.commit())
        throw FileError(file.errorString());
}

} // namespace SpreadsheetWriter
