#include "backup/BackupCommands.h"

#include "app/Desktop.h"
#include "backup/Backups.h"
#include "backup/FrmAvanzamento.h"
#include "backup/FrmRipristina.h"
#include "core/ProgramFolder.h"

#include <QDir>
#include <QLocale>

namespace BackupCommands
{

const char *const kBackupTitle = " Copia di sicurezza";
const char *const kRestoreTitle = " Ripristina una copia di sicurezza";

QString sizeText(qint64 bytes)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    if (bytes < 1000)
        return QStringLiteral("%1 byte").arg(bytes);
    if (bytes < 1000 * 1000)
        return italian.toString(bytes / 1000.0, 'f', 1) + QStringLiteral(" kB");
    if (bytes < qint64(1000) * 1000 * 1000)
        return italian.toString(bytes / 1e6, 'f', 1) + QStringLiteral(" MB");
    return italian.toString(bytes / 1e9, 'f', 2) + QStringLiteral(" GB");
}

void backupNow(QWidget *owner)
{
    const QString data = ProgramFolder::path();
    Backups::Info made;
    FrmAvanzamento window(owner, QString::fromUtf8(kBackupTitle),
                          QStringLiteral("Copia di sicurezza della cartella dei dati in corso..."),
                          [&made, data](const Backups::Task &task) {
                              made = Backups::create(data, QStringLiteral("Copia di sicurezza"), false, {}, task);
                          });
    switch (window.run()) {
    case FrmAvanzamento::Result::Done:
        desktop().information(
            QStringLiteral("La copia di sicurezza è stata creata con successo.\r\n\r\nFile: %1\r\nDimensione: %2\r\n"
                           "Collection: %3, schede canzoni: %4, schede cantanti: %5, foto: %6, allegati: %7.\r\n\r\n"
                           "Per conservarla al sicuro, copiare il file anche su un altro disco.")
                .arg(QDir::toNativeSeparators(made.path), sizeText(made.size))
                .arg(made.collections)
                .arg(made.songCards)
                .arg(made.singerCards)
                .arg(made.photos)
                .arg(made.attachments));
        break;
    case FrmAvanzamento::Result::Cancelled:
        desktop().information(QStringLiteral("La copia di sicurezza è stata annullata: non è stato scritto nulla."));
        break;
    case FrmAvanzamento::Result::Failed:
        desktop().error(window.error());
        break;
    }
}

void restoreWindow(QWidget *owner)
{
    FrmRipristina window(owner, ProgramFolder::path());
    desktop().runModal(&window);
}

bool beforeRisk(QWidget *owner, const QString &data, const QString &reason, const QStringList &items)
{
    Backups::Outcome outcome;
    FrmAvanzamento window(owner, QString::fromUtf8(kBackupTitle), QStringLiteral("Copia di sicurezza automatica in corso..."),
                          [&outcome, data, reason, items](const Backups::Task &task) {
                              outcome = Backups::beforeRisk(data, reason, items, task);
                          });
    window.run();
    if (outcome.ok)
        return true;
    desktop().error(outcome.error);
    return false;
}

} // namespace BackupCommands
