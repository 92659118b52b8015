#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_override;
}

namespace ProgramFolder {

QString path()
{
    QString folder = g_override.isEmpty() ? QCoreApplication::applicationDirPath() : g_override;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString file(const QString &name)
{
    return path() + name;
}

void setOverride(const QString &folder)
{
    g_override = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

} // namespace ProgramFolder
