#pragma once

#include <QString>

// What every window that reads an archive says when the archive holds no card or cannot be
// reached, and what a window with a card asks before changes to it would be dropped.
namespace ArchiveMessages
{

inline const QString kEmpty = QStringLiteral("L'archivio non contiene nessuna scheda.");
inline const QString kNoAccess =
    QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di "
                   "possedere i privilegi di scrittura nella cartella di installazione del programma.");

inline const QString kSaveChanges = QStringLiteral("Salvare le modifiche alla scheda?");

} // namespace ArchiveMessages
