#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace
{

QString g_override;
QString g_located;

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The installed layout: <prefix>/bin/cantorium with its shared files in <prefix>/share/cantorium.
QString sharedFolder(const QString &executableFolder)
{
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/cantorium"));
}

// An installed copy is never its own data folder, even for root, who could write into /usr/bin.
bool isInstalledCopy(const QString &executableFolder)
{
    return QFileInfo(QDir::cleanPath(executableFolder)).fileName() == QLatin1String("bin") &&
           QFileInfo(sharedFolder(executableFolder)).isDir();
}

// Permissions say nothing for root and nothing about read-only media: only a real file tells.
bool canWriteInto(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(withSeparator(folder) + QStringLiteral(".cantorium-XXXXXX"));
    return probe.open();
}

} // namespace

namespace ProgramFolder
{

QString path()
{
    if (!g_override.isEmpty())
        return withSeparator(g_override);
    if (!g_located.isEmpty())
        return g_located;
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString file(const QString &name)
{
    return path() + name;
}

void setOverride(const QString &folder)
{
    g_override = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

Choice choose(const QString &executableFolder, const QString &userFolder)
{
    // Without a home there is no user folder to fall back on: the program's own folder is all
    // there is, and its archives then report their own failures.
    if (userFolder.isEmpty() || (!isInstalledCopy(executableFolder) && canWriteInto(executableFolder)))
        return {withSeparator(executableFolder), false};
    return {withSeparator(userFolder), true};
}

Choice locate(const QString &executableFolder, const QString &userFolder)
{
    const Choice choice = choose(executableFolder, userFolder);
    g_located = choice.folder;
    return choice;
}

Choice locate()
{
    return locate(QCoreApplication::applicationDirPath(),
                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString guide(const QString &executableFolder)
{
    const QString beside = withSeparator(executableFolder) + QStringLiteral("Guida.pdf");
    const QString shared = sharedFolder(executableFolder) + QStringLiteral("/Guida.pdf");
    if (!QFileInfo(beside).isFile() && QFileInfo(shared).isFile())
        return shared;
    return beside;
}

QString guide()
{
    // A test's folder stands for the whole program.
    return guide(g_override.isEmpty() ? QCoreApplication::applicationDirPath() : g_override);
}

} // namespace ProgramFolder
