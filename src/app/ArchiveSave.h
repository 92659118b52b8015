#pragma once

#include <QByteArray>
#include <QString>

// The one way a card or a discography song is saved: a record shown at a position is written
// over that record, a new one (no position) is appended and takes the next free position. The
// card editors and the discography both save through here and confirm with the same texts.
namespace ArchiveSave
{

struct Stored {
    qint64 position;
    bool inserted; // appended as a new record
};

// `shown` is the position label's text, trimmed; anything but empty or a whole number from 0
// up fails like the archive. Throws FileError; nothing is written then.
Stored store(const QString &path, int recordSize, const QString &shown, const QByteArray &record);
// The same for a position held as a number: 0 appends.
Stored store(const QString &path, int recordSize, qint64 position, const QByteArray &record);

// The information shown once a record is stored.
const QString &confirmation(bool inserted);

} // namespace ArchiveSave
