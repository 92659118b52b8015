#pragma once

#include <QByteArray>

// The export document's fixed fragments and cells, typed out here apart from the writer so that
// a slip in its fragments shows.
namespace ExpectedSheet
{

// The fixed opening of every export up to the worksheet name, and from there to the headers.
inline const QByteArray kOpen =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
    "xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" "
    "content=\"text/html; charset=windows-1252\"><!--[if gte mso 9]><xml>"
    "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet><x:Name>";
inline const QByteArray kAfterName =
    "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
    "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False</x:ProtectContents>"
    "<x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>False</x:ProtectScenarios>"
    "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]-->"
    "</head><body><table x:str><tr>";
inline const QByteArray kClose = "</table></body></html>";

inline QByteArray th(int width, const QByteArray &text)
{
    return "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) + ">" +
           text + "</td>";
}

inline QByteArray td(const QByteArray &text)
{
    return "<td style=\"text-align: left;\" sdnum=\"1033;0;@\">" + text + "</td>";
}

} // namespace ExpectedSheet
