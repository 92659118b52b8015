#pragma once

#include <QString>

class QDate;

// The process-wide formats the windows rely on, whatever the system's regional settings:
// short dates as day/month/four-digit year and the comma as decimal separator.
namespace AppFormats {

// Qt's own pattern for the short date ("dd/mm/yyyy" in the user's terms).
inline constexpr const char *kShortDatePattern = "dd/MM/yyyy";

// Makes an Italian locale the process default, so that numbers use "," as decimal separator.
void apply();
// A date in the short format, e.g. "07/03/2024"; an invalid date gives an empty text.
QString shortDate(const QDate &date);

} // namespace AppFormats
