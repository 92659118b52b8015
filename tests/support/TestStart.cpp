#include "app/AppFormats.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

// Tests build windows without the program's start-up; they get the same formats it applies,
// as soon as their application object exists. Each test process keeps the user's settings and
// trash in folders of its own, so that tests running side by side never share them.
static void applyProgramFormats()
{
    AppFormats::apply();
    static QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    // The desktop's trash too: a deleted collection never reaches the user's own.
    static QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    static QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
}
Q_COREAPP_STARTUP_FUNCTION(applyProgramFormats)
