#pragma once

#include "report/ReportTemplate.h"

namespace report
{

// The height one list line takes in the data area, in report units.
inline constexpr double kListLineHeight = 12.822;
// What the data band adds below its lines.
inline constexpr double kListBandExtra = 10;

// Fills the list template "Riepilogo dati": the title, one line per entry as shown in the
// window's list, then the closing lines; the text and its band take the lines' height.
void fillList(ReportTemplate &tmpl, const QString &title, const QStringList &entries,
              const QStringList &closing = QStringList());

} // namespace report
