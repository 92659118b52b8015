#pragma once

#include <QString>

// The folder of the executable, with its trailing separator: every data file lives there.
namespace ProgramFolder {

QString path();
// Names a file inside the program folder.
QString file(const QString &name);
// Tests point the program at a temporary folder; an empty text restores the real one.
void setOverride(const QString &folder);

} // namespace ProgramFolder
