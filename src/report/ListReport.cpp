#include "report/ListReport.h"

namespace report
{

void fillList(ReportTemplate &tmpl, const QString &title, const QStringList &entries,
              const QStringList &closing)
{
    tmpl.setText(QStringLiteral("txtTitolo"), title);
    ReportObject &lines = tmpl.object(QStringLiteral("txtRiepilogo"));
    lines.clearLines();
    for (const QString &entry : entries)
        lines.appendLine(entry);
    for (const QString &line : closing)
        lines.appendLine(line);
    tmpl.fills.append({lines.name, lines.text()});
    lines.setHeight(lines.lineCount() * kListLineHeight);
    tmpl.object(QStringLiteral("MasterData")).setHeight(lines.rect.height() + kListBandExtra);
}

} // namespace report
