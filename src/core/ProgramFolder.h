#pragma once

#include <QString>

// The data folder, with its trailing separator: every archive, photo, attachment, export and the
// password store are named relative to it. It is the folder of the executable when the program
// runs from a folder of its own that it can write into (the build folder, a USB stick, a shared
// folder); an installed copy, or one in a folder it cannot write, keeps the data in the user's
// application data folder instead. Only locate() decides; everything else asks path().
namespace ProgramFolder
{

QString path();
// Names a file inside the data folder.
QString file(const QString &name);
// Tests point the program at a temporary folder; an empty text restores the real one.
void setOverride(const QString &folder);

// Where the data of a program in executableFolder lives: executableFolder itself, or userFolder
// (with trailing separators). Decides without creating anything but a probe file that it removes.
struct Choice {
    QString folder;
    bool inUserFolder = false;
};
Choice choose(const QString &executableFolder, const QString &userFolder);

// Settles the data folder for this run (the executable's folder and the user's
// QStandardPaths::AppDataLocation); until it is called, path() is the executable's folder.
Choice locate();
// The same for given folders, which tests stand in for the real ones.
Choice locate(const QString &executableFolder, const QString &userFolder);

// The user guide Guida.pdf: beside the executable, or in the installed copy's shared folder
// (<prefix>/share/cantorium beside <prefix>/bin). The text beside the executable when neither
// holds it, so that opening it fails as quietly as any missing document.
QString guide();
QString guide(const QString &executableFolder);

} // namespace ProgramFolder
