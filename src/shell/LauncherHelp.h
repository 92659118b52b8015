#pragma once

#include <QStringList>

// The launcher's help: 28 paragraphs about the whole program. Paragraphs 12 to 23 are the
// song-collection help, taken from the song editor's own help, which is why the text is put
// together here, above the features, and handed to the launcher.
QStringList launcherHelpParagraphs();
