#pragma once

#include <QStringList>

// The collections opened last, most recent first, remembered between runs (file names with
// their extension, as the collection list shows them).
namespace RecentCollections
{
constexpr int kKept = 5;
QStringList names();
void remember(const QString &fileName);
// `names` with the recent ones that it holds moved to the front, most recent first.
QStringList recentFirst(const QStringList &names);
} // namespace RecentCollections
