#include "core/RecordFile.h"

#include "core/AtomicFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileError::FileError(const QString &description)
    : std::runtime_error(description.toStdString())
{
}

QString FileError::description() const
{
    return QString::fromStdString(what());
}

BatchAppendError::BatchAppendError(const QString &description, bool undone)
    : FileError(description)
    , m_undone(undone)
{
}

namespace
{
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

// Holds an exclusive advisory lock on the open file for the length of one append, one
// overwrite or one roll-back, so that copies of the program sharing the file take turns.
class FileLock
{
public:
    explicit FileLock(int fd)
        : m_fd(fd)
    {
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FileLock() { ::flock(m_fd, LOCK_UN); }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    int m_fd;
};

// The journal: magic, record size, offset, archive name, old record, new record, then a
// SHA-256 of all that. A journal cut short or damaged fails the checksum and is ignored: it was
// still being written, so the archive had not yet been touched.
const QByteArray kJournalMagic = QByteArrayLiteral("CANTJRN1");
constexpr int kDigestSize = 32;

struct Journal {
    quint32 recordSize = 0;
    quint64 offset = 0;
    QByteArray name;
    QByteArray previous, record;
};

QByteArray encodeJournal(const Journal &j)
{
    QByteArray out = kJournalMagic;
    char number[8];
    qToLittleEndian(j.recordSize, number);
    out.append(number, 4);
    qToLittleEndian(j.offset, number);
    out.append(number, 8);
    qToLittleEndian(quint32(j.name.size()), number);
    out.append(number, 4);
    out.append(j.name);
    out.append(j.previous);
    out.append(j.record);
    out.append(QCryptographicHash::hash(out, QCryptographicHash::Sha256));
    return out;
}

bool decodeJournal(const QByteArray &bytes, Journal *j)
{
    const qsizetype fixed = kJournalMagic.size() + 4 + 8 + 4;
    if (bytes.size() < fixed + kDigestSize || !bytes.startsWith(kJournalMagic))
        return false;
    const QByteArray body = bytes.left(bytes.size() - kDigestSize);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != bytes.right(kDigestSize))
        return false;
    const char *at = body.constData() + kJournalMagic.size();
    j->recordSize = qFromLittleEndian<quint32>(at);
    j->offset = qFromLittleEndian<quint64>(at + 4);
    const quint32 nameSize = qFromLittleEndian<quint32>(at + 12);
    if (quint64(body.size()) != quint64(fixed) + nameSize + 2 * quint64(j->recordSize))
        return false;
    j->name = body.mid(fixed, nameSize);
    j->previous = body.mid(fixed + nameSize, j->recordSize);
    j->record = body.mid(fixed + nameSize + j->recordSize, j->recordSize);
    return true;
}

// True when every byte of `now` is the old or the new one: the record as an interrupted write of
// this journal leaves it, and not a record that someone changed since.
bool tornBy(const QByteArray &now, const Journal &j)
{
    for (qsizetype i = 0; i < now.size(); ++i)
        if (now.at(i) != j.previous.at(i) && now.at(i) != j.record.at(i))
            return false;
    return true;
}

bool writeWhole(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
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
    recover();
}

QString RecordFile::journalPath(const QString &archivePath)
{
    // A short hidden name of its own, whatever the archive's name: it never ends in .mus or
    // .pro, and stays within the file-name limit beside a 255-byte archive name.
    const QFileInfo info(archivePath);
    const QByteArray id =
        QCryptographicHash::hash(info.fileName().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return info.absolutePath() + QStringLiteral("/.cantorium-journal-") + QString::fromLatin1(id);
}

void RecordFile::recover()
{
    struct stat st = {};
    m_journaled = ::fstat(m_file->handle(), &st) == 0 && S_ISREG(st.st_mode);
    if (!m_journaled)
        return;
    const QByteArray path = QFile::encodeName(journalPath(m_file->fileName()));
    struct stat js = {};
    if (::lstat(path.constData(), &js) != 0)
        return;
    // A copy of the program writing this file holds the lock while its journal exists: waiting
    // for it means that only a journal left by a writer that died is ever rolled back.
    FileLock lock(m_file->handle());
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        // Finished by that other copy meanwhile; a link by that name was never a journal.
        if (errno == ELOOP)
            ::unlink(path.constData());
        return;
    }
    QByteArray bytes;
    char chunk[1 << 14];
    ssize_t n = 0;
    // A journal holds two records and a few bytes more; anything far larger is not one.
    while (bytes.size() <= 4 * m_size + 4096 &&
           ((n = ::read(fd, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR)))
        if (n > 0)
            bytes.append(chunk, n);
    ::close(fd);

    Journal j;
    const qint64 length = m_file->size();
    if (n == 0 && decodeJournal(bytes, &j) && j.recordSize == quint32(m_size) &&
        j.name == QFileInfo(m_file->fileName()).fileName().toUtf8() && j.offset % quint64(m_size) == 0 &&
        qint64(j.offset) + m_size <= length) {
        if (!m_file->seek(qint64(j.offset)))
            fail();
        const QByteArray now = m_file->read(m_size);
        if (now.size() != m_size)
            fail();
        if (now != j.previous && tornBy(now, j)) {
            // The file stays unusable (FileError) until the old record is back on the disk.
            if (!m_file->seek(qint64(j.offset)) || !writeAll(j.previous))
                fail();
            sync();
        }
    }
    // Rolled back, or not this file's journal (another file by that name, a record changed
    // since, a journal cut short): either way it has nothing more to give.
    ::unlink(path.constData());
}

void RecordFile::writeJournal(qint64 offset, const QByteArray &previous, const QByteArray &record)
{
    Journal j;
    j.recordSize = quint32(m_size);
    j.offset = quint64(offset);
    j.name = QFileInfo(m_file->fileName()).fileName().toUtf8();
    j.previous = previous;
    j.record = record;
    const QString journal = journalPath(m_file->fileName());
    const int fd =
        ::open(QFile::encodeName(journal).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        failWithErrno();
    if (!writeWhole(fd, encodeJournal(j)) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(QFile::encodeName(journal).constData());
        errno = error;
        failWithErrno();
    }
    ::close(fd);
    // The journal must be found after a power cut before the record may change.
    AtomicFile::syncFolder(QFileInfo(journal).absolutePath());
}

void RecordFile::removeJournal()
{
    const QByteArray path = QFile::encodeName(journalPath(m_file->fileName()));
    if (::unlink(path.constData()) == 0 || errno == ENOENT)
        return;
    // A journal that stays would undo this write at the next opening; emptied, it is ignored.
    if (::truncate(path.constData(), 0) == 0)
        return;
    failWithErrno();
}

void RecordFile::sync()
{
    if (::fdatasync(m_file->handle()) != 0)
        failWithErrno();
}

RecordFile::~RecordFile()
{
    m_file->close();
}

void RecordFile::fail() const
{
    throw FileError(describe(*m_file));
}

qint64 RecordFile::count()
{
    return m_file->size() / m_size;
}

void RecordFile::seekRecord(qint64 position)
{
    if (!m_file->seek((position - 1) * m_size))
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
        if (!m_file->seek(offset))
            fail();
        previous = m_file->read(qMin<qint64>(m_size, oldLength - offset));
        if (previous.size() != qMin<qint64>(m_size, oldLength - offset))
            fail();
    }
    if (!m_file->seek(offset))
        fail();
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

QByteArray RecordFile::read(qint64 position)
{
    if (position < 1 || position > count())
        throw FileError(QStringLiteral("Lettura oltre la fine del file %1").arg(m_file->fileName()));
    seekRecord(position);
    QByteArray record = m_file->read(m_size);
    if (record.size() != m_size)
        fail();
    return record;
}

void RecordFile::write(qint64 position, const QByteArray &record)
{
    Q_ASSERT(record.size() == m_size);
    if (position < 1 || position > count())
        throw FileError(QStringLiteral("Scrittura oltre la fine del file %1").arg(m_file->fileName()));
    const qint64 offset = (position - 1) * m_size;
    if (!m_journaled) {
        putRecord(offset, record);
        return;
    }
    FileLock lock(m_file->handle());
    if (!m_file->seek(offset))
        fail();
    const QByteArray previous = m_file->read(m_size);
    if (previous.size() != m_size)
        fail();
    writeJournal(offset, previous, record);
    try {
        putRecord(offset, record);
        sync();
    } catch (const FileError &) {
        // putRecord has tried to put the old record back; once that is surely on the disk the
        // journal is not needed. Otherwise it stays, and the next opening finishes the repair.
        try {
            if (m_file->seek(offset) && m_file->read(m_size) == previous) {
                sync();
                removeJournal();
            }
        } catch (const FileError &) {
        }
        throw;
    }
    removeJournal();
}

qint64 RecordFile::append(const QByteArray &record)
{
    Q_ASSERT(record.size() == m_size);
    FileLock lock(m_file->handle());
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
    FileLock lock(m_file->handle());
    const qint64 first = count() + 1;
    if (records.isEmpty())
        return first;
    const qint64 offset = (first - 1) * m_size;
    const qint64 oldLength = m_file->size();
    QByteArray tail; // a partial trailing record, overwritten by the batch
    if (oldLength > offset) {
        if (!m_file->seek(offset))
            fail();
        tail = m_file->read(oldLength - offset);
        if (tail.size() != oldLength - offset)
            fail();
    }
    if (!m_file->seek(offset))
        throw BatchAppendError(describe(*m_file), true);
    if (writeAll(records))
        return first;

    // Cut back while the lock is held, so no other appender builds on a half-written batch.
    const QString error = describe(*m_file);
    bool undone = m_file->resize(offset);
    if (undone && !tail.isEmpty())
        undone = m_file->seek(offset) && writeAll(tail);
    undone = undone && m_file->size() == oldLength;
    throw BatchAppendError(error, undone);
}

void RecordFile::scan(const std::function<bool(qint64, const QByteArray &)> &visit)
{
    const qint64 total = count();
    if (total == 0)
        return;
    if (!m_file->seek(0))
        fail();
    // Read many records per call: one system call per record would dominate the scan.
    const qint64 batch = qMax<qint64>(1, (1 << 20) / m_size);
    qint64 position = 1;
    while (position <= total) {
        const qint64 n = qMin(batch, total - position + 1);
        const QByteArray block = m_file->read(n * m_size);
        if (block.size() != n * m_size)
            fail();
        for (qint64 i = 0; i < n; ++i, ++position) {
            const QByteArray record(block.constData() + i * m_size, m_size);
            if (!visit(position, record))
                return;
        }
    }
}

void RecordFile::scanRaw(const std::function<bool(qint64, const char *)> &visit)
{
    const qint64 total = count();
    if (total == 0)
        return;
    if (!m_file->seek(0))
        fail();
    const qint64 batch = qMax<qint64>(1, (1 << 20) / m_size);
    QByteArray block(int(batch * m_size), Qt::Uninitialized);
    qint64 position = 1;
    while (position <= total) {
        const qint64 n = qMin(batch, total - position + 1);
        if (m_file->read(block.data(), n * m_size) != n * m_size)
            fail();
        const char *at = block.constData();
        for (qint64 i = 0; i < n; ++i, ++position, at += m_size)
            if (!visit(position, at))
                return;
    }
}

void RecordFile::close()
{
    m_file->close();
}
