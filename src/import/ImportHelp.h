#pragma once

#include <QStringList>

// The help topic of the import window.
extern const char *const kImportHelpTitle;
QStringList importHelpParagraphs();
