#include "shell/DataFolder.h"

#include "access/PasswordStore.h"
#include "app/Desktop.h"
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <exception>

bool prepareDataFolder(const QString &executableFolder, const QString &userFolder)
{
    const ProgramFolder::Choice choice = ProgramFolder::locate(executableFolder, userFolder);
    // The program's own folder got its store when it was built or copied; only the user's
    // folder starts empty.
    if (!choice.inUserFolder)
        return true;
    try {
        PasswordStore::writeFirstAccess(PasswordStore::path());
    } catch (const FileError &e) {
        desktop().error(QStringLiteral("Attenzione: impossibile preparare la cartella dei dati %1\r\n\r\n%2")
                            .arg(QDir::toNativeSeparators(choice.folder), QString::fromUtf8(e.what())));
        return false;
    }
    return true;
}

bool prepareDataFolder()
{
    return prepareDataFolder(QCoreApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
