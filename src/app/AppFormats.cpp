#include "app/AppFormats.h"

#include <QDate>
#include <QLocale>

namespace AppFormats {

void apply()
{
    QLocale italian(QLocale::Italian, QLocale::Italy);
    // Number output must not depend on the system; group separators are never wanted in fields.
    italian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(italian);
}

QString shortDate(const QDate &date)
{
    if (!date.isValid())
        return QString();
    // Spelled out rather than taken from the locale: Italian's own short format has a
    // two-digit year.
    return date.toString(QLatin1String(kShortDatePattern));
}

} // namespace AppFormats
