#include "table/RecentCollections.h"

#include <QSettings>

namespace
{
const char *const kKey = "collection/recenti";
}

QStringList RecentCollections::names()
{
    QStringList list = QSettings().value(QLatin1String(kKey)).toStringList();
    list.removeAll(QString());
    list.removeDuplicates();
    return list.mid(0, kKept);
}

void RecentCollections::remember(const QString &fileName)
{
    if (fileName.isEmpty())
        return;
    QStringList list = names();
    list.removeAll(fileName);
    list.prepend(fileName);
    QSettings().setValue(QLatin1String(kKey), list.mid(0, kKept));
}

QStringList RecentCollections::recentFirst(const QStringList &names)
{
    QStringList out;
    for (const QString &recent : RecentCollections::names())
        if (names.contains(recent))
            out << recent;
    for (const QString &name : names)
        if (!out.contains(name))
            out << name;
    return out;
}
