#pragma once

#include <QStringList>

// The launcher's help topic: the title and the 28 paragraphs shown by imgGuida. Paragraphs 12
// to 23 are the song-collection help, taken from the song editor's own help.
inline constexpr const char *kLauncherHelpTitle = "Uno sguardo a Cantorium.";
QStringList launcherHelpParagraphs();
