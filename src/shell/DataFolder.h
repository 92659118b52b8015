#pragma once

#include <QString>

// Settles where this run keeps its archives (ProgramFolder::locate) and, when that is the user's
// own data folder, creates it with the first-access password store at the first start. A folder
// that cannot be prepared is reported as an error; the login window then meets the missing
// store in its own way. Returns false after such a failure.
bool prepareDataFolder();
// The same for given folders, which tests stand in for the real ones.
bool prepareDataFolder(const QString &executableFolder, const QString &userFolder);
