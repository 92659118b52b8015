#pragma once

#include <QStringList>

// The twelve paragraphs of the song-collection help, shared by the song editor, the two
// catalogue windows and the launcher help (its paragraphs 12 to 23).
QStringList collectionHelpParagraphs();
inline const char *const kCollectionHelpTitle = "Applicazione Collection Musicale.";
// The help page of the collection windows: those paragraphs, then where this copy keeps its data.
QString collectionHelpText();
