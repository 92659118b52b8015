#include "app/ArchiveSave.h"

#include "core/RecordFile.h"

namespace ArchiveSave
{

Stored store(const QString &path, int recordSize, const QString &shown, const QByteArray &record)
{
    qint64 position = 0;
    if (!shown.isEmpty()) {
        bool number = false;
        position = shown.toLongLong(&number);
        if (!number || position < 0)
            throw FileError(QStringLiteral("Posizione non valida: %1").arg(shown));
    }
    if (!shown.isEmpty() && position == 0)
        throw FileError(QStringLiteral("Posizione non valida: %1").arg(shown));
    return store(path, recordSize, position, record);
}

Stored store(const QString &path, int recordSize, qint64 position, const QByteArray &record)
{
    RecordFile archive(path, recordSize);
    Stored stored{position, position == 0};
    if (stored.inserted)
        stored.position = archive.append(record);
    else
        archive.write(position, record);
    archive.close();
    return stored;
}

const QString &confirmation(bool inserted)
{
    static const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
    static const QString kChanged =
        QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
    return inserted ? kInserted : kChanged;
}

} // namespace ArchiveSave
