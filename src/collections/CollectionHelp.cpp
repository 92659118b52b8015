#include "collections/CollectionHelp.h"

QStringList collectionHelpParagraphs()
{
    return {}; // written with the song editor
}
