#include "app/AppFormats.h"

#include <QCoreApplication>

// Tests build windows without the program's start-up; they get the same formats it applies,
// as soon as their application object exists.
static void applyProgramFormats()
{
    AppFormats::apply();
}
Q_COREAPP_STARTUP_FUNCTION(applyProgramFormats)
