#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The backup commands as the user meets them, on the data folder of this run: each shows its
// progress window and its messages. The window set calls the first two from the launcher;
// the places that do something that cannot be undone call beforeRisk().
namespace BackupCommands
{

extern const char *const kBackupTitle;  // " Copia di sicurezza"
extern const char *const kRestoreTitle; // " Ripristina una copia di sicurezza"

// "Copia di sicurezza": a backup of the whole data folder into its Backup folder.
void backupNow(QWidget *owner);
// "Ripristina": the window that lists the backups and restores one.
void restoreWindow(QWidget *owner);

// An automatic backup of `items` of `dataFolder` (the whole folder when empty) before
// something the user cannot undo; `reason` names it ("Prima dell'eliminazione della
// collection Rock"). True when the backup was made; otherwise the user has been told why (or
// stopped it) and the caller must not go ahead.
bool beforeRisk(QWidget *owner, const QString &dataFolder, const QString &reason, const QStringList &items);

// Sizes as the user reads them: "830 byte", "12,4 kB", "301,2 MB".
QString sizeText(qint64 bytes);

} // namespace BackupCommands
