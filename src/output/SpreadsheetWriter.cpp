#include "output/SpreadsheetWriter.h"

#include "core/AtomicFile.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <cstring>
#include <type_traits>

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
// LibreOffice ignores the table's x:str and would turn "0042" into 42, "1.80" into 1.8 and a text
// beginning with "=" into a formula; the text number format keeps every cell the card's text.
// Excel ignores the attribute.
constexpr char kCellOpen[] = "<td style=\"text-align: left;\" sdnum=\"1033;0;@\">";
constexpr char kCellClose[] = "</td>";
constexpr char kTail[] = "</table></body></html>";

// Appends a trimmed cell as Windows-1252 bytes with the three markup characters as entities. A run
// of spaces keeps every space after the first as a character reference, since spreadsheet programs
// read HTML and would fold the run into one. `Unit` is QChar for text still to convert and char
// for bytes already in the code page.
template <typename Unit> void appendCell(QByteArray &out, const Unit *begin, const Unit *end)
{
    // Room for the worst case, every character an entity; the unused tail is cut below.
    const qsizetype start = out.size();
    out.resize(start + 5 * (end - begin));
    char *to = out.data() + start;
    unsigned previous = 0;
    for (const Unit *at = begin; at < end; ++at) {
        unsigned c;
        if constexpr (std::is_same_v<Unit, QChar>) {
            c = at->unicode();
            if (c >= 0x80 && (c < 0xA0 || c > 0xFF)) {
                // Outside Latin-1, or the C1 range that the code page maps elsewhere: convert the
                // whole cell to the code page first, then write its bytes.
                out.truncate(start);
                const QByteArray bytes = Ansi::fromUnicode(QString(begin, end - begin));
                appendCell(out, bytes.constData(), bytes.constData() + bytes.size());
                return;
            }
        } else {
            c = static_cast<unsigned char>(*at);
        }
        if (c == ' ' && previous == ' ') {
            memcpy(to, "&#32;", 5);
            to += 5;
            continue;
        }
        previous = c;
        switch (c) {
        case '&':
            memcpy(to, "&amp;", 5);
            to += 5;
            break;
        case '<':
            memcpy(to, "&lt;", 4);
            to += 4;
            break;
        case '>':
            memcpy(to, "&gt;", 4);
            to += 4;
            break;
        default:
            *to++ = char(c);
        }
    }
    out.truncate(to - out.constData());
}

// Trims the text of codes up to U+0020 at both ends, then appends it.
void appendCell(QByteArray &out, const QString &text)
{
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    while (begin < end && begin->unicode() <= 0x20)
        ++begin;
    while (end > begin && end[-1].unicode() <= 0x20)
        --end;
    appendCell(out, begin, end);
}

} // namespace

namespace SpreadsheetWriter
{

QString suffix(Format format)
{
    switch (format) {
    case Format::Xlsx:
        return QStringLiteral("xlsx");
    case Format::Csv:
        return QStringLiteral("csv");
    case Format::Xls:
        break;
    }
    return QStringLiteral("xls");
}

QByteArray cellBytes(const QString &text)
{
    QByteArray out;
    appendCell(out, text);
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
            appendCell(out, cell(row, column));
            out.append(kCellClose);
        }
        out.append("</tr>");
    }
    out.append(kTail);
    return out;
}

void save(const QString &path, const QByteArray &bytes)
{
    AtomicFile::save(path, bytes);
}

} // namespace SpreadsheetWriter
