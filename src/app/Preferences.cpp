#include "app/Preferences.h"

#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace Preferences
{

namespace
{

QString settingsFile()
{
    return ProgramFolder::file(QString::fromLatin1(kFileName));
}

bool insideHiddenDataFolder(const QString &folder)
{
    const QString data = QDir::cleanPath(ProgramFolder::path());
    const QString clean = QDir::cleanPath(folder);
    if (clean != data && !clean.startsWith(data + QLatin1Char('/')))
        return false;
    const QStringList parts = data.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts)
        if (part.startsWith(QLatin1Char('.')))
            return true;
    return false;
}

QString home()
{
    const QString h = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    return h.isEmpty() ? QDir::homePath() : h;
}

} // namespace

QVariant value(const QString &key, const QVariant &fallback)
{
    const QSettings settings(settingsFile(), QSettings::IniFormat);
    return settings.value(key, fallback);
}

void setValue(const QString &key, const QVariant &value)
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
}

QString startFolder(const QString &kind)
{
    const QString last = value(QStringLiteral("cartelle/") + kind).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir() && !insideHiddenDataFolder(last))
        return last;
    return home();
}

void rememberFolder(const QString &kind, const QString &chosen)
{
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    setValue(QStringLiteral("cartelle/") + kind, folder);
}

} // namespace Preferences
