#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>

// The one error type of every archive access; what() is the platform's description.
class FileError : public std::runtime_error
{
public:
    explicit FileError(const QString &description);
    QString description() const;
};

// A failed batch append: `undone` tells whether the file was cut back to its old length.
class BatchAppendError : public FileError
{
public:
    BatchAppendError(const QString &description, bool undone);
    bool undone() const { return m_undone; }

private:
    bool m_undone;
};

// A file of fixed-size records, opened for one command: created when missing, never
// truncated, closed when the object goes out of scope. Positions are 1-based.
// A write or an append that fails changes nothing: the bytes it covered are put back (and an
// append's growth cut off) before the FileError is thrown.
// An overwrite survives even a crash or a disk that fails for good: the old record is first
// kept, synced, in a rollback journal beside the file (journalPath()), which is removed once the
// new record is on the disk. Opening a file whose journal was left behind puts the old record
// back before anything else. Other copies of the program never mistake the journal for an
// archive, and wait for a write in progress before they roll anything back.
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
    // Writes at record number count() under an exclusive lock held by this process for the
    // length of the append, so two copies appending at once each get their own record.
    qint64 append(const QByteArray &record);
    // Appends `records` (whole records back to back) at record number count() as one batch,
    // under the same lock as append(): every record or none. A failure cuts the file back to
    // its old length (a partial trailing record it held is put back) and throws a
    // BatchAppendError. Returns the position of the first record.
    qint64 appendBatch(const QByteArray &records);
    // Reads every whole record from the first; the callback gets (position, record) and
    // returns false to stop early.
    void scan(const std::function<bool(qint64, const QByteArray &)> &visit);
    // The same without a copy per record: `record` points into a reused buffer and is valid
    // only during the call. Searches over large files read this way.
    void scanRaw(const std::function<bool(qint64, const char *record)> &visit);
    void close();

    // The journal of the archive at `archivePath`: a hidden file in the same folder.
    static QString journalPath(const QString &archivePath);

private:
    [[noreturn]] void fail() const;
    void recover();
    void writeJournal(qint64 offset, const QByteArray &previous, const QByteArray &record);
    void removeJournal();
    void sync();
    void seekRecord(qint64 position);
    void putRecord(qint64 offset, const QByteArray &record);
    bool writeAll(const QByteArray &bytes);

    std::unique_ptr<QFile> m_file;
    int m_size;
    bool m_journaled = false; // only a regular file has a journal: never a device
};
