#pragma once

#include "core/FileError.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

struct RecordJournal; // what a journal says of the change it keeps

// A failed batch append, and how far the file was put back.
class BatchAppendError : public FileError
{
public:
    enum class Outcome {
        Undone,            // the file is exactly as before
        PartialRecordLost, // every whole record is as before and none was added; only the
                           // incomplete record that ended the file (lostBytes()) could not be put back
        NotUndone,         // part of the batch may still be there; the next opening cuts it back
    };
    BatchAppendError(const QString &description, Outcome outcome, qint64 lostBytes = 0);
    Outcome outcome() const { return m_outcome; }
    bool undone() const { return m_outcome == Outcome::Undone; }
    qint64 lostBytes() const { return m_lostBytes; }

private:
    Outcome m_outcome;
    qint64 m_lostBytes;
};

// A file of fixed-size records, opened for one command: created when missing, never
// truncated, closed when the object goes out of scope. Positions are 1-based.
//
// Every change survives a failing disk, a kill or a power cut: an overwrite, a batch append, a
// removal and an insertion first keep what they change, synced, in a journal beside the file
// (journalPath()), which is removed once the change is on the disk. Opening the file (or reading
// it) after a writer died puts the old content back when, and only when, the file still shows
// that writer's interrupted change: a journal whose change was finished, never started, or made
// stale by another file in the same place is dropped, and one that is not a journal of this
// program at all is set aside under another name. Writers hold an exclusive lock on the file,
// readers a shared one, so another copy of the program never reads a half-written record.
class RecordFile
{
public:
    RecordFile(const QString &path, int recordSize);
    // Opens the given, not yet opened, file object: a test hands in one that fails on purpose.
    RecordFile(std::unique_ptr<QFile> file, int recordSize);
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    int recordSize() const { return m_size; }
    // Whole records only: a partial trailing record is not counted.
    qint64 count();
    QByteArray read(qint64 position);
    void write(qint64 position, const QByteArray &record);
    // Writes at record number count() under the exclusive lock, so two copies appending at once
    // each get their own record. A kill may leave a partial record at the end, which count()
    // ignores and the next append covers.
    qint64 append(const QByteArray &record);
    // Appends `records` (whole records back to back) at record number count() as one batch:
    // every record or none, even after a kill. A failure cuts the file back to its old length
    // (a partial trailing record it held is put back) and throws a BatchAppendError. Returns the
    // position of the first record.
    qint64 appendBatch(const QByteArray &records);
    // Takes the record at `position` out of the file: every later record moves up one place.
    void remove(qint64 position);
    // Puts `record` at `position` (1 to count() + 1): the record there and every later one move
    // down one place. The inverse of remove().
    void insert(qint64 position, const QByteArray &record);
    // Reads every whole record from the first; the callback gets (position, record) and
    // returns false to stop early.
    void scan(const std::function<bool(qint64, const QByteArray &)> &visit);
    // The same without a copy per record: `record` points into a reused buffer and is valid
    // only during the call. Searches over large files read this way.
    void scanRaw(const std::function<bool(qint64, const char *record)> &visit);
    void close();

    // The journal of the archive at `archivePath` (an existing file): a hidden file in the folder
    // of the file itself, named after it rather than after any of its names.
    static QString journalPath(const QString &archivePath);

    // For tests: called at each step of a journaled change, where a kill must leave either the
    // old content or the new one.
    enum class Step { Journaled, Changed, Synced };
    using StepHook = void (*)(Step);
    static void setStepHook(StepHook hook);

private:
    [[noreturn]] void fail() const;
    void readLocked(const std::function<void()> &read);
    bool journalExists() const;
    void recoverLocked();
    void setJournalAside();
    void applyJournal(int fd, const RecordJournal &j);
    void writeJournal(const RecordJournal &j, const QByteArray &inMemory, qint64 fileFrom, qint64 fileBytes);
    bool removeJournal();
    void rollBack(int fd, const RecordJournal &j);
    void sync();
    void seekTo(qint64 offset);
    void putRecord(qint64 offset, const QByteArray &record);
    bool writeAll(const QByteArray &bytes);
    void readInto(qint64 offset, char *to, qint64 length);
    void moveBytes(qint64 from, qint64 to, qint64 length);
    RecordJournal journalFor(quint32 kind, qint64 offset);
    // Removes or inserts at `position` through a journal of everything from there to the end.
    void move(quint32 kind, qint64 position, const QByteArray &inMemory,
              const std::function<void(qint64 offset, qint64 length)> &apply);

    std::unique_ptr<QFile> m_file;
    int m_size;
    bool m_journaled = false; // only a regular file has a journal: never a device
    QString m_journal;
    quint64 m_device = 0, m_inode = 0;
};
