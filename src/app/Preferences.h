#pragma once

#include <QString>
#include <QVariant>

// What the program remembers between runs for this copy (the chart looked at last, the folders
// the file dialogs used): an INI file in the data folder, so that each copy keeps its own.
// Nothing here is needed to open an archive; an unreadable or unwritable file is ignored.
namespace Preferences
{

inline constexpr const char *kFileName = "Cantorium.ini";

QVariant value(const QString &key, const QVariant &fallback = {});
void setValue(const QString &key, const QVariant &value);

// The folder a file dialog of `kind` ("foto", "allegati", "importa", "esporta") starts in: the one
// used last for that kind while it still exists, else the user's home. Never a folder inside a
// hidden data folder, where the user would not look for his own files.
QString startFolder(const QString &kind);
// Remembers the folder of `chosen` (a file, or a folder) for the next dialog of `kind`.
void rememberFolder(const QString &kind, const QString &chosen);

} // namespace Preferences
