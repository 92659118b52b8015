#include "app/AppFormats.h"

#include <QCoreApplication>
#include <QTemporaryDir>

// Tests build windows without the program's start-up; they get the same formats it applies,
// as soon as their application object exists. What windows remember between runs (QSettings)
// goes to a folder of the test's own, never to the user's settings, and starts empty.
static void applyProgramFormats()
{
    AppFormats::apply();
    static QTemporaryDir settings;
    if (settings.isValid())
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
}
Q_COREAPP_STARTUP_FUNCTION(applyProgramFormats)
