#include "core/ScratchFolder.h"

#include "core/FileError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString s_base;
const QLatin1String kWorkPrefix("work-");
const QLatin1String kInUse(".in-use");
// A folder without its lock file is removed (when empty) only once older than this: its maker
// may be about to create the lock.
constexpr int kUnlockedAge = 10;

QString base()
{
    if (!s_base.isEmpty())
        return s_base;
    return QDir::tempPath() + QStringLiteral("/cantorium-%1").arg(::geteuid());
}

// The base folder is used only when it is this user's own folder and nobody else's to write:
// a name taken by someone else in a shared temporary folder is never written into or cleaned.
bool usable(const QString &folder)
{
    struct stat st = {};
    const QByteArray name = QFile::encodeName(folder);
    return ::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

} // namespace

ScratchFolder::ScratchFolder()
{
    const QString folder = base();
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    if (!usable(folder))
        throw FileError(QStringLiteral("La cartella temporanea %1 non appartiene a questo utente")
                            .arg(QDir::toNativeSeparators(folder)));
    m_dir = std::make_unique<QTemporaryDir>(folder + QLatin1Char('/') + kWorkPrefix + QStringLiteral("XXXXXX"));
    if (!m_dir->isValid())
        throw FileError(m_dir->errorString());
    m_inUse = ::open(QFile::encodeName(filePath(kInUse)).constData(),
                     O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_inUse < 0)
        throw FileError(qt_error_string(errno));
    while (::flock(m_inUse, LOCK_EX) != 0 && errno == EINTR) {
    }
}

ScratchFolder::~ScratchFolder()
{
    m_dir.reset(); // removes the folder while it is still locked
    if (m_inUse >= 0)
        ::close(m_inUse);
}

QString ScratchFolder::path() const
{
    return m_dir->path();
}

QString ScratchFolder::filePath(const QString &name) const
{
    return m_dir->filePath(name);
}

int ScratchFolder::removeLeftovers()
{
    const QString folder = base();
    if (!usable(folder))
        return 0;
    int removed = 0;
    const QStringList names =
        QDir(folder).entryList({kWorkPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QString work = folder + QLatin1Char('/') + name;
        const QByteArray encoded = QFile::encodeName(work);
        struct stat st = {};
        if (::lstat(encoded.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue; // a link is never followed
        const int lock =
            ::open(QFile::encodeName(work + QLatin1Char('/') + kInUse).constData(),
                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (lock < 0) {
            if (std::time(nullptr) - st.st_mtim.tv_sec >= kUnlockedAge && ::rmdir(encoded.constData()) == 0)
                ++removed;
            continue;
        }
        // The lock goes with the process that held it: a folder that can be locked is abandoned.
        if (::flock(lock, LOCK_EX | LOCK_NB) == 0 && QDir(work).removeRecursively())
            ++removed;
        ::close(lock);
    }
    return removed;
}

void ScratchFolder::setBase(const QString &folder)
{
    s_base = folder;
}
