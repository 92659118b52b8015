#include "core/RecordFile.h"

#include "core/AtomicFile.h"

#include <QFileInfo>
#include <QtEndian>

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

BatchAppendError::BatchAppendError(const QString &description, Outcome outcome, qint64 lostBytes)
    : FileError(description)
    , m_outcome(outcome)
    , m_lostBytes(lostBytes)
{
}

// The journal: magic, kind, record size, the file it belongs to (device and inode), the file's
// length when it was written, where the change begins, a batch's size, the size of the data that
// follows; then the data and a CRC-32 of the header and of the data the writer held in memory
// (checkedSize()). The data holds what the change
// replaces (and what it writes, where that is not in the file already):
//   overwrite: old record, new record        batch: the partial record the batch covers
//   remove:    the old bytes from the change to the end
//   insert:    the new record, then the old bytes from the change to the end
struct RecordJournal {
    enum Kind : quint32 { Overwrite = 1, Batch = 2, Remove = 3, Insert = 4 };
    quint32 kind = 0;
    quint32 recordSize = 0;
    quint64 device = 0, inode = 0;
    quint64 length = 0;
    quint64 offset = 0;
    quint64 count = 0;
    quint64 dataSize = 0;
};

namespace
{

const QByteArray kJournalMagic = QByteArrayLiteral("CANTJRN2");
constexpr qint64 kHeaderSize = 64;
constexpr qint64 kTrailerSize = 4;
// Far beyond any archive, and small enough that no sum of two such numbers overflows.
constexpr quint64 kLimit = quint64(1) << 52;
constexpr qint64 kChunk = 1 << 20;

RecordFile::StepHook s_stepHook = nullptr;

void step(RecordFile::Step s)
{
    if (s_stepHook)
        s_stepHook(s);
}

QString describe(const QFile &file)
{
    QString text = file.errorString();
    if (text.isEmpty() || text == QLatin1String("Unknown error"))
        text = QStringLiteral("Impossibile accedere al file %1").arg(file.fileName());
    return text;
}

[[noreturn]] void failWithErrno()
{
    throw FileError(qt_error_string(errno));
}

// Holds an advisory lock on the open file for the length of one command's access: exclusive for
// a change or a roll-back, shared for a read, so that copies of the program sharing the file
// take turns and a reader never meets a record half written.
class FileLock
{
public:
    explicit FileLock(int fd, int mode = LOCK_EX)
        : m_fd(fd)
    {
        while (::flock(m_fd, mode) != 0 && errno == EINTR) {
        }
    }
    ~FileLock() { ::flock(m_fd, LOCK_UN); }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    int m_fd;
};

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writeWhole(int fd, const char *data, qint64 left)
{
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

// Reads `length` bytes at `at`; false on an error or a short file.
bool readWhole(int fd, char *to, qint64 length, qint64 at)
{
    while (length > 0) {
        const ssize_t n = ::pread(fd, to, size_t(length), off_t(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        to += n;
        at += n;
        length -= n;
    }
    return true;
}

quint32 crc(quint32 sum, const char *data, qint64 length)
{
    return quint32(::crc32(uLong(sum), reinterpret_cast<const Bytef *>(data), uInt(length)));
}

} // namespace

namespace
{

QByteArray encodeHeader(const RecordJournal &j)
{
    QByteArray out = kJournalMagic;
    out.resize(kHeaderSize);
    char *at = out.data() + kJournalMagic.size();
    qToLittleEndian(j.kind, at);
    qToLittleEndian(j.recordSize, at + 4);
    qToLittleEndian(j.device, at + 8);
    qToLittleEndian(j.inode, at + 16);
    qToLittleEndian(j.length, at + 24);
    qToLittleEndian(j.offset, at + 32);
    qToLittleEndian(j.count, at + 40);
    qToLittleEndian(j.dataSize, at + 48);
    return out;
}

// Every number bounded before any arithmetic, and each kind's sizes consistent with each other.
bool sane(const RecordJournal &j, int recordSize)
{
    const quint64 s = quint64(recordSize);
    if (j.recordSize != quint32(recordSize) || j.length >= kLimit || j.offset >= kLimit || j.count >= kLimit ||
        j.dataSize >= kLimit || j.offset % s != 0 || j.offset > j.length)
        return false;
    const quint64 tail = j.length - j.offset;
    switch (j.kind) {
    case RecordJournal::Overwrite:
        return tail >= s && j.count == 0 && j.dataSize == 2 * s;
    case RecordJournal::Batch:
        return tail < s && j.count > 0 && j.count % s == 0 && j.dataSize == tail;
    case RecordJournal::Remove:
        return tail >= s && j.count == 0 && j.dataSize == tail;
    case RecordJournal::Insert:
        return j.count == 0 && j.dataSize == s + tail;
    }
    return false;
}

// Where a journal's data holds the bytes from the change's start as they were (old) and as the
// change makes them (new), and the file's length after the change.
struct Layout {
    quint64 oldAt, oldSpan, newAt, newSpan, newLength;
};

Layout layoutOf(const RecordJournal &j)
{
    const quint64 s = j.recordSize, tail = j.length - j.offset;
    switch (j.kind) {
    case RecordJournal::Overwrite:
        return {0, s, s, s, j.length};
    case RecordJournal::Remove:
        return {0, tail, s, tail - s, j.length - s};
    case RecordJournal::Insert:
        return {s, tail, 0, tail + s, j.length + s};
    default: // a batch: its own records are not kept
        return {0, tail, 0, 0, j.offset + j.count};
    }
}

// How much of the data the checksum covers: what the writer had in memory. The bytes copied from
// the file itself (a removal's or an insertion's tail) are not read again to be summed: the
// journal is synced before the file changes, and a journal that did not reach the disk whole is
// never applied, since the file then still matches neither its change nor a mix of it.
quint64 checkedSize(const RecordJournal &j)
{
    switch (j.kind) {
    case RecordJournal::Remove:
        return 0;
    case RecordJournal::Insert:
        return j.recordSize;
    default:
        return j.dataSize;
    }
}

enum class Reading { Valid, Cut, Foreign };

// A journal of this program, one cut short while it was being written (the file had not been
// touched yet), or something else by that name.
Reading readJournal(int fd, qint64 fileSize, int recordSize, RecordJournal *j)
{
    char head[kHeaderSize];
    const qint64 got = qMin<qint64>(fileSize, kHeaderSize);
    if (!readWhole(fd, head, got, 0))
        return Reading::Foreign;
    const QByteArray start = QByteArray::fromRawData(head, int(qMin<qint64>(got, kJournalMagic.size())));
    if (!kJournalMagic.startsWith(start))
        return Reading::Foreign;
    if (got < kHeaderSize)
        return Reading::Cut;
    const char *at = head + kJournalMagic.size();
    j->kind = qFromLittleEndian<quint32>(at);
    j->recordSize = qFromLittleEndian<quint32>(at + 4);
    j->device = qFromLittleEndian<quint64>(at + 8);
    j->inode = qFromLittleEndian<quint64>(at + 16);
    j->length = qFromLittleEndian<quint64>(at + 24);
    j->offset = qFromLittleEndian<quint64>(at + 32);
    j->count = qFromLittleEndian<quint64>(at + 40);
    j->dataSize = qFromLittleEndian<quint64>(at + 48);
    if (!sane(*j, recordSize))
        return Reading::Foreign;
    const quint64 total = quint64(kHeaderSize) + j->dataSize + quint64(kTrailerSize);
    if (quint64(fileSize) < total)
        return Reading::Cut;
    if (quint64(fileSize) > total)
        return Reading::Foreign;
    quint32 sum = crc(0, head, kHeaderSize);
    const quint64 checked = checkedSize(*j);
    QByteArray buffer(int(qMin<quint64>(kChunk, qMax<quint64>(checked, 1))), Qt::Uninitialized);
    for (quint64 i = 0; i < checked;) {
        const qint64 n = qint64(qMin<quint64>(quint64(buffer.size()), checked - i));
        if (!readWhole(fd, buffer.data(), n, kHeaderSize + qint64(i)))
            return Reading::Foreign;
        sum = crc(sum, buffer.constData(), n);
        i += quint64(n);
    }
    char trailer[kTrailerSize];
    if (!readWhole(fd, trailer, kTrailerSize, kHeaderSize + qint64(j->dataSize)))
        return Reading::Foreign;
    return qFromLittleEndian<quint32>(trailer) == sum ? Reading::Valid : Reading::Foreign;
}

QString journalName(const QString &folder, quint64 device, quint64 inode)
{
    return folder + QStringLiteral("/.cantorium-journal-%1-%2").arg(device, 0, 16).arg(inode, 0, 16);
}

// The folder of the file itself, whichever of its names it was opened by.
QString realFolder(const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return QFileInfo(real.isEmpty() ? path : real).absolutePath();
}

} // namespace

RecordFile::RecordFile(const QString &path, int recordSize)
    : RecordFile(std::make_unique<QFile>(path), recordSize)
{
}

RecordFile::RecordFile(std::unique_ptr<QFile> file, int recordSize)
    : m_file(std::move(file))
    , m_size(recordSize)
{
    // ReadWrite creates a missing file and never truncates an existing one. Unbuffered, so
    // that another copy of the program sharing the file never meets stale buffered bytes.
    if (!m_file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        fail();
    struct stat st = {};
    m_journaled = ::fstat(m_file->handle(), &st) == 0 && S_ISREG(st.st_mode);
    if (!m_journaled)
        return;
    m_device = quint64(st.st_dev);
    m_inode = quint64(st.st_ino);
    m_journal = journalName(realFolder(m_file->fileName()), m_device, m_inode);
    if (journalExists()) {
        FileLock lock(m_file->handle());
        recoverLocked();
    }
}

RecordFile::~RecordFile()
{
    m_file->close();
}

QString RecordFile::journalPath(const QString &archivePath)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(archivePath).constData(), &st) != 0)
        return QString();
    return journalName(realFolder(archivePath), quint64(st.st_dev), quint64(st.st_ino));
}

void RecordFile::setStepHook(StepHook hook)
{
    s_stepHook = hook;
}

bool RecordFile::journalExists() const
{
    struct stat st = {};
    return m_journaled && ::lstat(QFile::encodeName(m_journal).constData(), &st) == 0;
}

// Called with the exclusive lock held: a live writer holds it while its journal exists, so a
// journal found now was left by a writer that died, or is not one at all.
void RecordFile::recoverLocked()
{
    const Descriptor journal{
        ::open(QFile::encodeName(m_journal).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
    if (journal.fd < 0) {
        if (errno != ENOENT)
            setJournalAside(); // a link, or something that cannot be read
        return;
    }
    struct stat st = {};
    RecordJournal j;
    const Reading reading = ::fstat(journal.fd, &st) == 0 && S_ISREG(st.st_mode)
                                ? readJournal(journal.fd, st.st_size, m_size, &j)
                                : Reading::Foreign;
    if (reading == Reading::Foreign) {
        setJournalAside();
        return;
    }
    // A journal of another file that had this place (a backup copied back, a file replaced)
    // has nothing to say about this one.
    if (reading == Reading::Valid && j.device == m_device && j.inode == m_inode)
        applyJournal(journal.fd, j); // the file stays unusable (FileError) until it is repaired
    removeJournal();
}

// Keeps what is not a journal of this program, unread, under another name: it may be someone's.
void RecordFile::setJournalAside()
{
    const QByteArray from = QFile::encodeName(m_journal);
    for (int n = 1; n < 1000; ++n) {
        const QByteArray to = QFile::encodeName(m_journal + QStringLiteral(".scartato-%1").arg(n));
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
            break;
        if (errno == EEXIST)
            continue;
        struct stat st = {};
        if ((errno == EINVAL || errno == ENOSYS) && ::lstat(to.constData(), &st) != 0 &&
            ::rename(from.constData(), to.constData()) == 0)
            break;
        if (::lstat(to.constData(), &st) != 0)
            return;
    }
    AtomicFile::syncFolder(QFileInfo(m_journal).absolutePath());
}

// Puts the old content back when the file shows the journal's change interrupted: the new
// content means the change was finished, the old one that it never began, and anything else
// that the file changed since (a backup copied back, another writer): all three are left alone.
void RecordFile::applyJournal(int fd, const RecordJournal &j)
{
    const quint64 length = quint64(m_file->size());
    if (j.kind == RecordJournal::Batch) {
        if (length < j.offset || length > j.offset + j.count)
            return; // records were added after the batch: it had been finished
        if (length == j.length) {
            QByteArray tail(int(j.dataSize), Qt::Uninitialized), now(int(j.dataSize), Qt::Uninitialized);
            readInto(qint64(j.offset), now.data(), now.size());
            if (readWhole(fd, tail.data(), tail.size(), kHeaderSize) && tail == now)
                return;
        }
        rollBack(fd, j);
        return;
    }
    const Layout l = layoutOf(j);
    const quint64 span = qMax(l.oldSpan, l.newSpan);
    const quint64 present = length > j.offset ? qMin(span, length - j.offset) : 0;
    bool isOld = length == j.length, isNew = length == l.newLength;
    // An insertion grows the file first: a kill can leave it anywhere in between.
    bool mixed = length == j.length ||
                 (j.kind == RecordJournal::Insert && length > j.length && length <= l.newLength);
    const qint64 chunk = qMax<qint64>(m_size, kChunk / m_size * m_size);
    QByteArray now(int(chunk), Qt::Uninitialized), old(int(chunk), Qt::Uninitialized),
        fresh(int(chunk), Qt::Uninitialized);
    for (quint64 i = 0; i < span && (isOld || isNew || mixed); i += quint64(chunk)) {
        const qint64 n = qint64(qMin<quint64>(quint64(chunk), span - i));
        const qint64 have = i < present ? qint64(qMin<quint64>(quint64(n), present - i)) : 0;
        const qint64 oldHere = i < l.oldSpan ? qint64(qMin<quint64>(quint64(n), l.oldSpan - i)) : 0;
        const qint64 newHere = i < l.newSpan ? qint64(qMin<quint64>(quint64(n), l.newSpan - i)) : 0;
        if (have > 0)
            readInto(qint64(j.offset + i), now.data(), have);
        if (!readWhole(fd, old.data(), oldHere, kHeaderSize + qint64(l.oldAt + i)) ||
            !readWhole(fd, fresh.data(), newHere, kHeaderSize + qint64(l.newAt + i)))
            throw FileError(qt_error_string(errno));
        if (isOld && (have < oldHere || std::memcmp(now.constData(), old.constData(), size_t(oldHere)) != 0))
            isOld = false;
        if (isNew && (have < newHere || std::memcmp(now.constData(), fresh.constData(), size_t(newHere)) != 0))
            isNew = false;
        for (qint64 k = 0; mixed && k < oldHere; ++k)
            mixed = k < have && (now.at(k) == old.at(k) || (k < newHere && now.at(k) == fresh.at(k)));
    }
    if (!isOld && !isNew && mixed)
        rollBack(fd, j);
}

void RecordFile::rollBack(int fd, const RecordJournal &j)
{
    const Layout l = layoutOf(j);
    if (j.kind == RecordJournal::Batch && !m_file->resize(qint64(j.offset)))
        fail();
    QByteArray buffer(int(qMin<quint64>(kChunk, qMax<quint64>(l.oldSpan, 1))), Qt::Uninitialized);
    for (quint64 i = 0; i < l.oldSpan;) {
        const qint64 n = qint64(qMin<quint64>(quint64(buffer.size()), l.oldSpan - i));
        if (!readWhole(fd, buffer.data(), n, kHeaderSize + qint64(l.oldAt + i)))
            throw FileError(qt_error_string(errno));
        seekTo(qint64(j.offset + i));
        if (!writeAll(n == buffer.size() ? buffer : buffer.left(int(n))))
            fail();
        i += quint64(n);
    }
    if (m_file->size() != qint64(j.length) && !m_file->resize(qint64(j.length)))
        fail();
    sync();
}

void RecordFile::writeJournal(const RecordJournal &j, const QByteArray &inMemory, qint64 fileFrom,
                              qint64 fileBytes)
{
    const QByteArray path = QFile::encodeName(m_journal);
    const Descriptor out{
        ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666)};
    if (out.fd < 0)
        failWithErrno();
    auto failed = [&](int error) {
        ::unlink(path.constData());
        errno = error;
        failWithErrno();
    };
    struct stat st = {};
    if (::fstat(out.fd, &st) != 0 || !S_ISREG(st.st_mode))
        failed(EEXIST);
    RecordJournal header = j;
    header.dataSize = quint64(inMemory.size() + fileBytes);
    const QByteArray head = encodeHeader(header);
    quint32 sum = crc(0, head.constData(), head.size());
    if (!writeWhole(out.fd, head.constData(), head.size()))
        failed(errno);
    sum = crc(sum, inMemory.constData(), inMemory.size());
    if (!writeWhole(out.fd, inMemory.constData(), inMemory.size()))
        failed(errno);
    // The kernel copies the file's own bytes; a read and write loop where it cannot.
    loff_t from = fileFrom;
    qint64 left = fileBytes;
    while (left > 0) {
        const ssize_t n = ::copy_file_range(m_file->handle(), &from, out.fd, nullptr, size_t(left), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        left -= n;
    }
    QByteArray buffer(int(qMin<qint64>(kChunk, qMax<qint64>(left, 1))), Qt::Uninitialized);
    for (qint64 i = fileBytes - left; i < fileBytes;) {
        const qint64 n = qMin<qint64>(buffer.size(), fileBytes - i);
        readInto(fileFrom + i, buffer.data(), n);
        if (!writeWhole(out.fd, buffer.constData(), n))
            failed(errno);
        i += n;
    }
    char trailer[kTrailerSize];
    qToLittleEndian(sum, trailer);
    if (!writeWhole(out.fd, trailer, kTrailerSize) || ::fsync(out.fd) != 0)
        failed(errno);
    // The journal must be found after a power cut before the file may change.
    AtomicFile::syncFolder(QFileInfo(m_journal).absolutePath());
}

// False when the journal could be neither removed nor emptied (an empty one counts as cut short).
bool RecordFile::removeJournal()
{
    const QByteArray path = QFile::encodeName(m_journal);
    bool gone = ::unlink(path.constData()) == 0 || errno == ENOENT;
    if (!gone) {
        const Descriptor journal{::open(path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
        gone = journal.fd >= 0 && ::ftruncate(journal.fd, 0) == 0 && ::fsync(journal.fd) == 0;
    }
    // Gone for good: after a power cut it must not come back and undo a change reported as done.
    AtomicFile::syncFolder(QFileInfo(m_journal).absolutePath());
    return gone;
}

void RecordFile::sync()
{
    if (::fdatasync(m_file->handle()) != 0)
        failWithErrno();
}

void RecordFile::fail() const
{
    throw FileError(describe(*m_file));
}

qint64 RecordFile::count()
{
    return m_file->size() / m_size;
}

void RecordFile::seekTo(qint64 offset)
{
    if (!m_file->seek(offset))
        fail();
}

void RecordFile::readInto(qint64 offset, char *to, qint64 length)
{
    seekTo(offset);
    if (m_file->read(to, length) != length)
        fail();
}

bool RecordFile::writeAll(const QByteArray &bytes)
{
    // The system may take part of a write (a nearly full disk, a size limit): the rest is
    // written again until everything is down or the system refuses with an error.
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = m_file->write(data, left);
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return m_file->flush();
}

void RecordFile::putRecord(qint64 offset, const QByteArray &record)
{
    // What the record will cover is kept, so that a failure can put it back: a torn record
    // (half new, half old) must never stay behind a reported failure.
    const qint64 oldLength = m_file->size();
    QByteArray previous;
    if (offset < oldLength) {
        previous.resize(qMin<qint64>(m_size, oldLength - offset));
        readInto(offset, previous.data(), previous.size());
    }
    seekTo(offset);
    if (writeAll(record))
        return;

    // The first failure is the one reported; the repair is done as far as the system allows.
    const QString error = describe(*m_file);
    if (m_file->seek(offset))
        writeAll(previous);
    if (m_file->size() > oldLength)
        m_file->resize(oldLength);
    throw FileError(error);
}

// Moves `length` bytes from `from` to `to` within the file, in pieces that never overwrite
// bytes still to be read.
void RecordFile::moveBytes(qint64 from, qint64 to, qint64 length)
{
    const qint64 chunk = qMax<qint64>(m_size, kChunk / m_size * m_size);
    QByteArray buffer;
    for (qint64 done = 0; done < length;) {
        const qint64 n = qMin(chunk, length - done);
        // Upwards from the start when bytes move towards the start, from the end otherwise.
        const qint64 at = to < from ? done : length - done - n;
        buffer.resize(n);
        readInto(from + at, buffer.data(), n);
        seekTo(to + at);
        if (!writeAll(buffer))
            fail();
        done += n;
    }
}

void RecordFile::readLocked(const std::function<void()> &read)
{
    if (!m_journaled) {
        read();
        return;
    }
    {
        FileLock lock(m_file->handle(), LOCK_SH);
        if (!journalExists()) {
            read();
            return;
        }
    }
    // A writer died since this file was opened: its change is dealt with first.
    {
        FileLock lock(m_file->handle());
        recoverLocked();
    }
    FileLock lock(m_file->handle(), LOCK_SH);
    read();
}

QByteArray RecordFile::read(qint64 position)
{
    QByteArray record(m_size, Qt::Uninitialized);
    readLocked([&] {
        if (position < 1 || position > count())
            throw FileError(QStringLiteral("Lettura oltre la fine del file %1").arg(m_file->fileName()));
        readInto((position - 1) * m_size, record.data(), m_size);
    });
    return record;
}

void RecordFile::write(qint64 position, const QByteArray &record)
{
    Q_ASSERT(record.size() == m_size);
    const auto outside = [&] {
        return FileError(QStringLiteral("Scrittura oltre la fine del file %1").arg(m_file->fileName()));
    };
    const qint64 offset = (position - 1) * m_size;
    if (!m_journaled) {
        if (position < 1 || position > count())
            throw outside();
        putRecord(offset, record);
        return;
    }
    FileLock lock(m_file->handle());
    if (journalExists())
        recoverLocked();
    if (position < 1 || position > count())
        throw outside();
    QByteArray previous(m_size, Qt::Uninitialized);
    readInto(offset, previous.data(), m_size);
    writeJournal(journalFor(RecordJournal::Overwrite, offset), previous + record, 0, 0);
    step(Step::Journaled);
    try {
        putRecord(offset, record);
        step(Step::Changed);
        sync();
        step(Step::Synced);
    } catch (const FileError &) {
        // putRecord has tried to put the old record back; once that is surely on the disk the
        // journal is not needed. Otherwise it stays, and the next opening finishes the repair.
        try {
            QByteArray now(m_size, Qt::Uninitialized);
            readInto(offset, now.data(), m_size);
            if (now == previous) {
                sync();
                removeJournal();
            }
        } catch (const FileError &) {
        }
        throw;
    }
    // A journal that stays is harmless: the next opening finds the change finished.
    removeJournal();
}

qint64 RecordFile::append(const QByteArray &record)
{
    Q_ASSERT(record.size() == m_size);
    FileLock lock(m_file->handle());
    if (journalExists())
        recoverLocked();
    // The count is taken under the lock, so a concurrent appender cannot claim the same slot;
    // a partial trailing record is overwritten from its first byte. A failed append is cut
    // back while the lock is still held, before another appender can build on it.
    const qint64 position = count() + 1;
    putRecord((position - 1) * m_size, record);
    return position;
}

qint64 RecordFile::appendBatch(const QByteArray &records)
{
    Q_ASSERT(records.size() % m_size == 0);
    using Outcome = BatchAppendError::Outcome;
    FileLock lock(m_file->handle());
    if (journalExists())
        recoverLocked();
    const qint64 first = count() + 1;
    if (records.isEmpty())
        return first;
    const qint64 offset = (first - 1) * m_size;
    const qint64 oldLength = m_file->size();
    QByteArray tail(oldLength - offset, Qt::Uninitialized); // a partial trailing record, overwritten
    try {
        readInto(offset, tail.data(), tail.size());
        if (m_journaled) {
            RecordJournal j = journalFor(RecordJournal::Batch, offset);
            j.count = quint64(records.size());
            writeJournal(j, tail, 0, 0);
            step(Step::Journaled);
        }
        seekTo(offset);
    } catch (const FileError &e) {
        throw BatchAppendError(e.description(), Outcome::Undone);
    }
    QString error;
    if (!writeAll(records)) {
        error = describe(*m_file);
    } else if (!m_journaled) {
        return first;
    } else if (step(Step::Changed); ::fdatasync(m_file->handle()) != 0) {
        error = qt_error_string(errno);
    } else if (step(Step::Synced); removeJournal()) {
        return first;
    } else {
        // A journal that stays would cut the batch back at the next opening.
        error = qt_error_string(errno);
    }

    // Cut back while the lock is held, so no other appender builds on a half-written batch.
    const bool cut = m_file->resize(offset);
    const bool restored = cut && (tail.isEmpty() || (m_file->seek(offset) && writeAll(tail)));
    if (restored && m_file->size() == oldLength) {
        // Kept while the file may not be on the disk yet: the next opening then repeats this.
        if (!m_journaled || ::fdatasync(m_file->handle()) == 0)
            removeJournal();
        throw BatchAppendError(error, Outcome::Undone);
    }
    // The journal stays in both cases: the next opening cuts the batch back and puts the
    // partial record back if the disk allows it then.
    if (cut && m_file->size() == offset)
        throw BatchAppendError(error, Outcome::PartialRecordLost, tail.size());
    throw BatchAppendError(error, Outcome::NotUndone);
}

RecordJournal RecordFile::journalFor(quint32 kind, qint64 offset)
{
    RecordJournal j;
    j.kind = kind;
    j.recordSize = quint32(m_size);
    j.device = m_device;
    j.inode = m_inode;
    j.length = quint64(m_file->size());
    j.offset = quint64(offset);
    return j;
}

void RecordFile::move(quint32 kind, qint64 position, const QByteArray &inMemory,
                      const std::function<void(qint64 offset, qint64 length)> &apply)
{
    if (!m_journaled)
        throw FileError(qt_error_string(ENOTSUP));
    FileLock lock(m_file->handle());
    if (journalExists())
        recoverLocked();
    // Counted under the lock: an insertion may also go after the last record.
    if (position < 1 || position > count() + (kind == RecordJournal::Insert ? 1 : 0))
        throw FileError(QStringLiteral("Scrittura oltre la fine del file %1").arg(m_file->fileName()));
    const qint64 offset = (position - 1) * m_size;
    const qint64 length = m_file->size();
    const RecordJournal j = journalFor(kind, offset);
    // The journal keeps every byte from the change to the end, as it was.
    writeJournal(j, inMemory, offset, length - offset);
    step(Step::Journaled);
    try {
        apply(offset, length);
        step(Step::Changed);
        sync();
        step(Step::Synced);
    } catch (const FileError &) {
        // The old content comes back from the journal; if even that fails, the journal stays
        // and the next opening finishes the repair.
        try {
            const Descriptor journal{
                ::open(QFile::encodeName(m_journal).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
            if (journal.fd >= 0) {
                rollBack(journal.fd, j);
                removeJournal();
            }
        } catch (const FileError &) {
        }
        throw;
    }
    removeJournal();
}

void RecordFile::remove(qint64 position)
{
    move(RecordJournal::Remove, position, QByteArray(), [&](qint64 offset, qint64 length) {
        moveBytes(offset + m_size, offset, length - offset - m_size);
        if (!m_file->resize(length - m_size))
            fail();
    });
}

void RecordFile::insert(qint64 position, const QByteArray &record)
{
    Q_ASSERT(record.size() == m_size);
    move(RecordJournal::Insert, position, record, [&](qint64 offset, qint64 length) {
        moveBytes(offset, offset + m_size, length - offset);
        seekTo(offset);
        if (!writeAll(record))
            fail();
    });
}

void RecordFile::scanRaw(const std::function<bool(qint64, const char *)> &visit)
{
    const qint64 total = count();
    // Many records per call: one system call per record would dominate the scan.
    const qint64 batch = qMax<qint64>(1, kChunk / m_size);
    QByteArray block(int(qMin(batch, qMax<qint64>(total, 1)) * m_size), Qt::Uninitialized);
    for (qint64 position = 1; position <= total;) {
        const qint64 n = qMin(batch, total - position + 1);
        readLocked([&] { readInto((position - 1) * m_size, block.data(), n * m_size); });
        const char *at = block.constData();
        for (qint64 i = 0; i < n; ++i, ++position, at += m_size)
            if (!visit(position, at))
                return;
    }
}

void RecordFile::scan(const std::function<bool(qint64, const QByteArray &)> &visit)
{
    scanRaw([&](qint64 position, const char *record) { return visit(position, QByteArray(record, m_size)); });
}

void RecordFile::close()
{
    m_file->close();
}
