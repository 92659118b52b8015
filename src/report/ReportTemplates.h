#pragma once

#include "report/ReportTemplate.h"

// The program's three report templates, built from their design tables.
namespace report
{

inline const QString kSongCardName = QStringLiteral("Scheda Canzone");
inline const QString kSingerCardName = QStringLiteral("Scheda cantante");
inline const QString kListName = QStringLiteral("Riepilogo dati");

ReportTemplate songCardTemplate();
ReportTemplate singerCardTemplate();
ReportTemplate listTemplate();

} // namespace report
