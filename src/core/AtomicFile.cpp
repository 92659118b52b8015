#include "core/AtomicFile.h"

#include "core/FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCryptographicHash>
#include <QRandomGenerator>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QLatin1String kPrefix(".cantorium-tmp-");
constexpr int kRandomLength = 24;
constexpr int kCheckLength = 8;
// A named temporary younger than this may belong to a copy of the program on another machine
// whose lock this one cannot see; it is left for a later start.
constexpr int kLeftoverAge = 10;

bool s_unnamedAllowed = true;
AtomicFile::BeforeRename s_beforeRename = nullptr;

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// The check that ends a temporary's name: what makes the name one that only this program makes,
// so that the clean-up at start never takes a user's file for a temporary.
QString nameCheck(QStringView random)
{
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray(kPrefix.data(), kPrefix.size()) + random.toLatin1(),
                                 QCryptographicHash::Sha256)
            .toHex();
    return QString::fromLatin1(digest.left(kCheckLength));
}

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

// A temporary that nobody holds any more: its creator's lock went with its process.
bool abandoned(int fd, const QByteArray &path, int minimumAge)
{
    struct stat held = {}, named = {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode))
        return false;
    // The name must still be the file that was checked, not one made meanwhile.
    if (::lstat(path.constData(), &named) != 0 || named.st_dev != held.st_dev || named.st_ino != held.st_ino)
        return false;
    return std::time(nullptr) - held.st_mtim.tv_sec >= minimumAge;
}

} // namespace

AtomicFile::AtomicFile(const QString &target, Links links)
    : m_target(target)
    , m_links(links)
{
}

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0)
        cancel();
}

QString AtomicFile::resolvedTarget() const
{
    const QFileInfo info(m_target);
    if (m_links == Links::Follow && info.isSymLink()) {
        // A link that leads nowhere is replaced itself: nothing is created at the place it names.
        const QString real = info.canonicalFilePath();
        if (!real.isEmpty())
            return real;
    }
    return info.absoluteFilePath();
}

bool AtomicFile::fail(const QString &reason)
{
    cancel();
    setErrorString(reason);
    return false;
}

bool AtomicFile::open(OpenMode)
{
    if (m_fd >= 0)
        return false;
    m_writeFailed = false;
    m_destination = resolvedTarget();
    const QString folder = folderOf(m_destination);

    struct stat old = {};
    const bool exists = ::lstat(encoded(m_destination).constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return fail(qt_error_string(EISDIR));

    int fd = -1;
#ifdef O_TMPFILE
    // Linking an unnamed file needs /proc; without it the named way is taken from the start.
    if (s_unnamedAllowed && ::access("/proc/self/fd", X_OK) == 0) {
        fd = ::open(encoded(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        m_unnamed = fd >= 0;
    }
#endif
    for (int attempt = 0; fd < 0; ++attempt) {
        const QString name = folder + QLatin1Char('/') + temporaryName();
        fd = ::open(encoded(name).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0)
            m_temporary = name;
        else if (errno != EEXIST || attempt >= 100)
            return fail(qt_error_string(errno));
    }
    m_fd = fd;
    // Held until the temporary is gone: it tells removeLeftovers() that its writer is alive.
    while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    // A replaced file keeps its permissions; a new one gets the usual ones.
    if (exists && S_ISREG(old.st_mode))
        ::fchmod(m_fd, old.st_mode & 07777);
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 AtomicFile::writeData(const char *data, qint64 length)
{
    // The system may take part of a write (a nearly full disk, a size limit); the rest is
    // offered again until it is all down or the system refuses.
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::write(m_fd, data + done, size_t(length - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_writeFailed = true;
            setErrorString(qt_error_string(n < 0 ? errno : ENOSPC));
            return -1;
        }
        done += n;
    }
    return done;
}

bool AtomicFile::commit()
{
    if (m_fd < 0)
        return fail(QStringLiteral("Il file %1 non è aperto").arg(m_target));
    if (m_writeFailed)
        return fail(errorString());
    if (::fsync(m_fd) != 0)
        return fail(qt_error_string(errno));
    const QString folder = folderOf(m_destination);
#ifdef O_TMPFILE
    if (m_unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        for (int attempt = 0; m_temporary.isEmpty(); ++attempt) {
            const QString name = folder + QLatin1Char('/') + temporaryName();
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, encoded(name).constData(), AT_SYMLINK_FOLLOW) == 0)
                m_temporary = name;
            else if (errno != EEXIST || attempt >= 100)
                return fail(qt_error_string(errno));
        }
        // Freshly named, it must not look old to a copy on another machine that cannot see the lock.
        ::futimens(m_fd, nullptr);
    }
#endif
    if (s_beforeRename)
        s_beforeRename(m_temporary);
    // rename() replaces the destination itself, never the file a link there points to.
    if (::rename(encoded(m_temporary).constData(), encoded(m_destination).constData()) != 0)
        return fail(qt_error_string(errno));
    m_temporary.clear();
    syncFolder(folder);
    ::close(m_fd);
    m_fd = -1;
    QIODevice::close();
    return true;
}

QString AtomicFile::writtenPath() const
{
    if (m_fd < 0)
        return QString();
    if (m_unnamed) // opening the descriptor's link opens the unnamed file itself
        return QStringLiteral("/proc/self/fd/") + QString::number(m_fd);
    return m_temporary;
}

void AtomicFile::cancel()
{
    if (!m_temporary.isEmpty())
        ::unlink(encoded(m_temporary).constData());
    m_temporary.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_unnamed = false;
    if (isOpen())
        QIODevice::close();
}

// A rename is durable only once the folder's entry is on disk. Some file systems cannot sync a
// folder; the file itself is already synced, so that is not a failure.
void AtomicFile::syncFolder(const QString &folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void AtomicFile::save(const QString &target, const QByteArray &bytes, Links links)
{
    AtomicFile out(target, links);
    if (!out.open() || out.write(bytes) != bytes.size() || !out.commit())
        throw FileError(out.errorString());
}

QString AtomicFile::temporaryName()
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString random;
    for (int i = 0; i < kRandomLength; ++i)
        random += QLatin1Char(kAlphabet[QRandomGenerator::global()->bounded(62)]);
    return kPrefix + random + QLatin1Char('-') + nameCheck(random);
}

bool AtomicFile::isLeftoverName(const QString &fileName)
{
    if (fileName.size() != kPrefix.size() + kRandomLength + 1 + kCheckLength || !fileName.startsWith(kPrefix))
        return false;
    const QStringView random = QStringView(fileName).mid(kPrefix.size(), kRandomLength);
    for (const QChar c : random) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')))
            return false;
    }
    return fileName.at(kPrefix.size() + kRandomLength) == QLatin1Char('-') &&
           QStringView(fileName).right(kCheckLength) == nameCheck(random);
}

int AtomicFile::removeLeftovers(const QString &folder, int minimumAge)
{
    const QStringList names = QDir(folder).entryList({kPrefix + QLatin1Char('*')},
                                                     QDir::Files | QDir::Hidden | QDir::System);
    int removed = 0;
    for (const QString &name : names) {
        if (!isLeftoverName(name))
            continue;
        const QByteArray path = encoded(QDir(folder).filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (abandoned(fd, path, minimumAge) && ::unlink(path.constData()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

int AtomicFile::removeLeftovers(const QString &folder)
{
    return removeLeftovers(folder, kLeftoverAge);
}

void AtomicFile::setUnnamedTemporaries(bool allowed)
{
    s_unnamedAllowed = allowed;
}

void AtomicFile::setBeforeRename(BeforeRename hook)
{
    s_beforeRename = hook;
}
