#include "core/RecordFile.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#endif

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
    putRecord((position - 1) * m_size, record);
}

namespace
{
// Holds an exclusive advisory lock on the open file for the length of one append.
class AppendLock
{
public:
    explicit AppendLock(int fd)
        : m_fd(fd)
    {
#ifdef Q_OS_UNIX
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
#endif
    }
    ~AppendLock()
    {
#ifdef Q_OS_UNIX
        ::flock(m_fd, LOCK_UN);
#endif
    }

private:
    int m_fd;
};
} // namespace

qint64 RecordFile::append(const QByteArray &record)
{
    Q_ASSERT(record.size() == m_size);
    AppendLock lock(m_file->handle());
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
    AppendLock lock(m_file->handle());
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
