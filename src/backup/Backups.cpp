#include "backup/Backups.h"

#include "core/AtomicFile.h"
#include "core/RecordFile.h"
#include "core/UserSettings.h"
#include "records/DiscographySong.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace
{

const QString kBackupFolder = QStringLiteral("Backup");
const QString kManifest = QStringLiteral("Cantorium-copia-di-sicurezza.txt");
const QByteArray kMagic = "Cantorium copia di sicurezza 1";
const QString kPhotos = QStringLiteral("Anagrafica");
const QString kAttachments = QStringLiteral("Documenti_Allegati");
const QString kStore = QStringLiteral("unins000.dll");
const QString kSingers = QStringLiteral("Archivio_Cantanti.pro");
// The staging folder of a restore, and the name it takes once it is only waste.
const QString kStaging = QStringLiteral(".cantorium-restore");
const QString kWaste = QStringLiteral(".cantorium-restore-done");
const QString kMarker = QStringLiteral("swap");
const QString kSettingKept = QStringLiteral("Backup/Conservate");
constexpr int kDefaultKept = 10;
constexpr qint64 kChunk = 1 << 18;
// A zip entry of this size or more needs the zip64 extension, which no backup of this program
// uses; a declared size beyond it is refused before anything is read.
constexpr quint64 kLargest = 0xFFFFFFFFull;

Backups::StepHook s_stepHook = nullptr;

void step(const char *name)
{
    if (s_stepHook)
        s_stepHook(name);
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool isOwnLeftover(const QString &name)
{
    return name.startsWith(QLatin1String(".cantorium-journal-")) || name.startsWith(QLatin1String(".cantorium-tmp-"));
}

bool isDiscography(const QString &name)
{
    static const QLatin1String prefix("Discografia_Cantante_");
    if (!name.startsWith(prefix) || !name.endsWith(QLatin1String(".pro")))
        return false;
    const QStringView digits = QStringView(name).mid(prefix.size(), name.size() - prefix.size() - 4);
    return !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
}

bool isCollection(const QString &name)
{
    return name.size() > 4 && name.endsWith(QLatin1String(".mus"), Qt::CaseInsensitive) && !name.startsWith(QLatin1Char('.'));
}

int recordSizeOf(const QString &name)
{
    if (isCollection(name))
        return SongCard::kSize;
    if (name == kSingers)
        return SingerCard::kSize;
    if (isDiscography(name))
        return DiscographySong::kSize;
    return 0;
}

void throwCancelled(const Backups::Task &task)
{
    if (task.cancelled && task.cancelled())
        throw Backups::Cancelled();
}

// Progress in bytes over a known total, told to the caller no more than it needs.
class Meter
{
public:
    Meter(const Backups::Task &task, qint64 total)
        : m_task(task)
        , m_total(qMax<qint64>(1, total))
    {
        tell();
    }
    void add(qint64 bytes)
    {
        m_done += bytes;
        throwCancelled(m_task);
        tell();
    }

private:
    void tell() const
    {
        if (m_task.progress)
            m_task.progress(qMin(m_done, m_total), m_total);
    }
    const Backups::Task &m_task;
    qint64 m_total;
    qint64 m_done = 0;
};

struct Entry {
    QString name; // inside the zip, '/' separated; a folder ends with '/'
    QString path; // on disk
    qint64 size = 0;
    bool folder = false;
};

// What a backup of `dataFolder` holds, in a fixed order: top-level files, then folders.
QList<Entry> collect(const QString &dataFolder, const QStringList &items)
{
    QList<Entry> entries;
    const QDir root(dataFolder);
    const QFileInfoList top =
        root.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : top) {
        const QString name = info.fileName();
        // Links and special files (FIFOs, devices) are no archive of the program; a folder
        // reached through a link could lead anywhere.
        if (info.isSymLink() || !(info.isFile() || info.isDir()))
            continue;
        if (!Backups::isDataItem(name, info.isDir()) || (!items.isEmpty() && !items.contains(name)))
            continue;
        if (info.isFile()) {
            entries.append({name, info.absoluteFilePath(), info.size(), false});
            continue;
        }
        entries.append({name + QLatin1Char('/'), info.absoluteFilePath(), 0, true});
        QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        QList<Entry> inside;
        while (it.hasNext()) {
            it.next();
            const QFileInfo f = it.fileInfo();
            if (f.isSymLink() || isOwnLeftover(f.fileName()) || !(f.isFile() || f.isDir()))
                continue;
            const QString relative = name + QLatin1Char('/') + QDir(info.absoluteFilePath()).relativeFilePath(f.absoluteFilePath());
            if (f.isDir())
                inside.append({relative + QLatin1Char('/'), f.absoluteFilePath(), 0, true});
            else
                inside.append({relative, f.absoluteFilePath(), f.size(), false});
        }
        std::sort(inside.begin(), inside.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
        entries.append(inside);
    }
    return entries;
}

// A record file that a killed write left with its journal is put right before it is copied.
void settleJournals(const QList<Entry> &entries)
{
    for (const Entry &e : entries) {
        const int size = e.name.contains(QLatin1Char('/')) ? 0 : recordSizeOf(e.name);
        if (size > 0 && QFileInfo::exists(RecordFile::journalPath(e.path))) {
            try {
                RecordFile settle(e.path, size);
            } catch (const FileError &error) {
                throw Backups::Error(QStringLiteral("Attenzione: impossibile leggere l'archivio %1.\r\n\r\n%2")
                                         .arg(native(e.path), error.description()));
            }
        }
    }
}

QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 32)
            c = QLatin1Char(' ');
    }
    return text;
}

QByteArray manifest(const Backups::Info &info)
{
    QByteArray out = kMagic + '\n';
    auto line = [&out](const char *key, const QString &value) {
        out += key;
        out += '=';
        out += oneLine(value).toUtf8();
        out += '\n';
    };
    line("creata", info.created.toString(Qt::ISODateWithMs));
    line("motivo", info.reason);
    line("automatica", info.automatic ? QStringLiteral("1") : QStringLiteral("0"));
    // Names are kept exactly: a collection's name may hold any character but a separator.
    for (const QString &item : info.items) {
        out += "elemento=";
        out += item.toUtf8().toPercentEncoding();
        out += '\n';
    }
    line("collection", QString::number(info.collections));
    line("schede_canzoni", QString::number(info.songCards));
    line("schede_cantanti", QString::number(info.singerCards));
    line("foto", QString::number(info.photos));
    line("allegati", QString::number(info.attachments));
    return out;
}

// Reads a description; false when it is not one this program wrote.
bool parseManifest(const QByteArray &bytes, Backups::Info &info)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.first() != kMagic)
        return false;
    bool dated = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &l = lines.at(i);
        const qsizetype eq = l.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = l.left(eq);
        const QString value = QString::fromUtf8(l.mid(eq + 1));
        if (key == "creata") {
            info.created = QDateTime::fromString(value, Qt::ISODateWithMs);
            if (!info.created.isValid())
                info.created = QDateTime::fromString(value, Qt::ISODate);
            dated = info.created.isValid();
        } else if (key == "motivo") {
            info.reason = value;
        } else if (key == "automatica") {
            info.automatic = value == QLatin1String("1");
        } else if (key == "elemento") {
            const QString item = QString::fromUtf8(QByteArray::fromPercentEncoding(l.mid(eq + 1)));
            if (item.contains(QLatin1Char('/')) ||
                (!Backups::isDataItem(item, false) && !Backups::isDataItem(item, true)))
                return false;
            info.items << item;
        } else if (key == "collection") {
            info.collections = qMax(0, value.toInt());
        } else if (key == "schede_canzoni") {
            info.songCards = qMax<qint64>(0, value.toLongLong());
        } else if (key == "schede_cantanti") {
            info.singerCards = qMax<qint64>(0, value.toLongLong());
        } else if (key == "foto") {
            info.photos = qMax(0, value.toInt());
        } else if (key == "allegati") {
            info.attachments = qMax(0, value.toInt());
        }
    }
    return dated;
}

Backups::Info describe(const QList<Entry> &entries, const QString &reason, bool automatic, const QStringList &items)
{
    Backups::Info info;
    info.created = QDateTime::currentDateTime();
    info.reason = reason;
    info.automatic = automatic;
    info.items = items;
    for (const Entry &e : entries) {
        if (e.folder)
            continue;
        if (isCollection(e.name)) {
            ++info.collections;
            info.songCards += e.size / SongCard::kSize;
        } else if (e.name == kSingers) {
            info.singerCards = e.size / SingerCard::kSize;
        } else if (e.name.startsWith(kPhotos + QLatin1Char('/'))) {
            ++info.photos;
        } else if (e.name.startsWith(kAttachments + QLatin1Char('/'))) {
            ++info.attachments;
        }
    }
    return info;
}

// Files that are already compressed gain nothing from deflate: stored, they cost no time.
bool alreadyCompressed(const QString &name)
{
    static const QStringList suffixes{QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
                                      QStringLiteral("gif"), QStringLiteral("mp3"),  QStringLiteral("ogg"),
                                      QStringLiteral("m4a"), QStringLiteral("flac"), QStringLiteral("zip"),
                                      QStringLiteral("xlsx"), QStringLiteral("docx"), QStringLiteral("odt"),
                                      QStringLiteral("pdf"), QStringLiteral("7z"),  QStringLiteral("gz")};
    return suffixes.contains(QFileInfo(name).suffix().toLower());
}

// A free name in the backup folder: Copia_2026-12-11_14-48-32.zip, with _2, _3... when taken.
QString newBackupPath(const QString &backupFolder, bool automatic, const QDateTime &when)
{
    const QString stem = (automatic ? QStringLiteral("Automatica_") : QStringLiteral("Copia_")) +
                         when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString path = backupFolder + stem + QStringLiteral(".zip");
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = backupFolder + stem + QStringLiteral("_%1.zip").arg(n);
    return path;
}

void ensureFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return;
    if (info.exists() || info.isSymLink() || !QDir().mkpath(path))
        throw Backups::Error(QStringLiteral("Attenzione: impossibile creare la cartella %1.").arg(native(path)));
}

// One entry as the central directory of a zip declares it.
struct ZipEntry {
    QString name;
    quint32 mode = 0; // Unix mode from the external attributes, 0 when none
    quint64 flags = 0;
    quint64 method = 0;
    quint64 compressedSize = 0;
    quint64 size = 0;
    QDateTime when;
};

// A zip opened for reading, closed on scope exit.
class ZipReader
{
public:
    explicit ZipReader(const QString &path)
        : m_zip(unzOpen64(QFile::encodeName(path).constData()))
    {
    }
    ~ZipReader()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;
    bool isOpen() const { return m_zip != nullptr; }
    unzFile handle() const { return m_zip; }

    // The entry the reader stands on; false when its header cannot be read.
    bool current(ZipEntry &entry) const
    {
        unz_file_info64 info = {};
        char name[4096];
        if (unzGetCurrentFileInfo64(m_zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK ||
            info.size_filename >= sizeof name - 1)
            return false;
        name[info.size_filename] = 0;
        const QByteArray raw(name, qsizetype(info.size_filename));
        // Bit 11 says UTF-8; other names are taken byte for byte.
        entry.name = (info.flag & (1 << 11)) ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
        if (raw.contains('\0') || qsizetype(strlen(name)) != raw.size())
            entry.name += QChar(0); // refused by safeName()
        entry.mode = quint32(info.external_fa >> 16);
        entry.flags = info.flag;
        entry.method = info.compression_method;
        entry.compressedSize = info.compressed_size;
        entry.size = info.uncompressed_size;
        const tm_unz &t = info.tmu_date;
        entry.when = QDateTime(QDate(int(t.tm_year), int(t.tm_mon) + 1, int(t.tm_mday)),
                               QTime(int(t.tm_hour), int(t.tm_min), int(t.tm_sec)));
        return true;
    }

    // All entries in order; false when the central directory is damaged.
    bool entries(QList<ZipEntry> &out) const
    {
        int status = unzGoToFirstFile(m_zip);
        while (status == UNZ_OK) {
            ZipEntry e;
            if (!current(e))
                return false;
            out << e;
            status = unzGoToNextFile(m_zip);
        }
        return status == UNZ_END_OF_LIST_OF_FILE;
    }

private:
    unzFile m_zip;
};

struct Checked {
    Backups::Info info;
    QList<ZipEntry> entries;
};

QString refuse(const QString &zipPath, const QString &why)
{
    return QStringLiteral("Attenzione: il file %1 non può essere ripristinato: %2\r\n\r\nNon è stato modificato nulla.")
        .arg(native(zipPath), why);
}

// Splits a name on both kinds of separator, so that a name made for Windows is judged as
// Windows would read it.
bool safeName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) ||
        name.contains(QChar(0)) || (name.size() >= 2 && name.at(1) == QLatin1Char(':')))
        return false;
    QString body = name;
    if (body.endsWith(QLatin1Char('/')))
        body.chop(1);
    const QStringList parts = body.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

// Where a name of a backup may lead: a top-level archive or the store, or something inside
// the photo or attachment folder; within the items the backup says it covers.
bool expectedName(const QString &name, const QStringList &items)
{
    const bool folder = name.endsWith(QLatin1Char('/'));
    const QString top = name.section(QLatin1Char('/'), 0, 0);
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    const bool nested = slash >= 0 && slash < name.size() - 1;
    if (!items.isEmpty() && !items.contains(top))
        return false;
    if (!nested && !folder)
        return Backups::isDataItem(top, false);
    if (!Backups::isDataItem(top, true))
        return false;
    return !isOwnLeftover(name.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty));
}

// Reads every entry of the zip at `zipPath` and checks it: names, kinds, declared sizes, the
// description first, every checksum. Throws Error with the reason it is refused.
Checked checkZip(const QString &zipPath, const QString &shownPath, const Backups::Task &task)
{
    auto fail = [&shownPath](const QString &why) { return Backups::Error(refuse(shownPath, why)); };
    ZipReader zip(zipPath);
    if (!zip.isOpen())
        throw fail(QStringLiteral("non è un archivio zip, oppure è danneggiato o incompleto."));
    Checked result;
    if (!zip.entries(result.entries) || result.entries.isEmpty())
        throw fail(QStringLiteral("è danneggiato o incompleto."));
    if (result.entries.first().name != kManifest)
        throw fail(QStringLiteral("non è una copia di sicurezza di Cantorium."));
    QSet<QString> seen;
    qint64 total = 0;
    for (const ZipEntry &e : std::as_const(result.entries)) {
        const quint32 type = e.mode & 0170000;
        if (!safeName(e.name))
            throw fail(QStringLiteral("contiene un nome non ammesso (%1).").arg(e.name));
        if (type == 0120000)
            throw fail(QStringLiteral("contiene un collegamento (%1).").arg(e.name));
        if (type != 0 && type != 0100000 && type != 0040000)
            throw fail(QStringLiteral("contiene un file speciale (%1).").arg(e.name));
        if (e.size >= kLargest || e.compressedSize >= kLargest)
            throw fail(QStringLiteral("contiene un file troppo grande (%1).").arg(e.name));
        if (e.flags & 1)
            throw fail(QStringLiteral("contiene un file cifrato (%1).").arg(e.name));
        if (e.method != 0 && e.method != Z_DEFLATED)
            throw fail(QStringLiteral("usa una compressione sconosciuta (%1).").arg(e.name));
        if (seen.contains(e.name))
            throw fail(QStringLiteral("contiene due volte lo stesso nome (%1).").arg(e.name));
        seen.insert(e.name);
        total += qint64(e.size);
    }

    Meter meter(task, total);
    QByteArray buffer(kChunk, Qt::Uninitialized);
    int index = 0;
    for (int status = unzGoToFirstFile(zip.handle()); status == UNZ_OK;
         status = unzGoToNextFile(zip.handle()), ++index) {
        const ZipEntry &e = result.entries.at(index);
        const QString damaged = QStringLiteral("è danneggiato (%1).").arg(e.name);
        if (unzOpenCurrentFile(zip.handle()) != UNZ_OK)
            throw fail(damaged);
        QByteArray manifestBytes;
        qint64 read = 0;
        for (;;) {
            const int n = unzReadCurrentFile(zip.handle(), buffer.data(), unsigned(buffer.size()));
            if (n < 0) {
                unzCloseCurrentFile(zip.handle());
                throw fail(damaged);
            }
            if (n == 0)
                break;
            read += n;
            if (index == 0 && manifestBytes.size() < 65536)
                manifestBytes.append(buffer.constData(), n);
            meter.add(n);
        }
        if (unzCloseCurrentFile(zip.handle()) != UNZ_OK || read != qint64(e.size))
            throw fail(QStringLiteral("è danneggiato: il controllo di %1 non corrisponde.").arg(e.name));
        if (index == 0) {
            if (!parseManifest(manifestBytes, result.info))
                throw fail(QStringLiteral("non è una copia di sicurezza di Cantorium."));
        } else if (!expectedName(e.name, result.info.items)) {
            throw fail(QStringLiteral("contiene un file che non appartiene agli archivi (%1).").arg(e.name));
        }
    }
    if (index != result.entries.size())
        throw fail(QStringLiteral("è danneggiato o incompleto."));
    return result;
}

Checked checkFile(const QString &zipPath, const Backups::Task &task)
{
    const QFileInfo info(zipPath);
    if (!info.isFile())
        throw Backups::Error(refuse(zipPath, QStringLiteral("non è un file.")));
    Checked checked = checkZip(zipPath, zipPath, task);
    checked.info.path = zipPath;
    checked.info.size = info.size();
    checked.info.valid = true;
    return checked;
}

bool removeAll(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return !info.exists() && !info.isSymLink() ? true : QFile::remove(path);
}

bool renameEntry(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void syncFileSystem(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
}

// The swap of a restore, driven by the marker so that it can be run again after a kill: each
// name is moved out of the data folder into old/ and the staged one moved in, and a name whose
// staged copy is already gone is done.
void rollForward(const QString &dataFolder)
{
    const QString staging = dataFolder + kStaging + QLatin1Char('/');
    QFile marker(staging + kMarker);
    if (!marker.open(QIODevice::ReadOnly))
        throw Backups::Error(QStringLiteral("Attenzione: il ripristino interrotto non può essere completato."));
    QStringList outgoing, incoming;
    for (const QByteArray &line : marker.readAll().split('\n')) {
        if (line.startsWith("vecchio="))
            outgoing << QString::fromUtf8(line.mid(8));
        else if (line.startsWith("nuovo="))
            incoming << QString::fromUtf8(line.mid(6));
    }
    marker.close();
    QStringList names = outgoing;
    for (const QString &n : std::as_const(incoming)) {
        if (!names.contains(n))
            names << n;
    }
    QDir().mkpath(staging + QStringLiteral("old"));
    for (const QString &name : std::as_const(names)) {
        const QString here = dataFolder + name;
        const QString staged = staging + QStringLiteral("new/") + name;
        const bool comingIn = incoming.contains(name);
        if (comingIn && !QFileInfo::exists(staged) && !QFileInfo(staged).isSymLink())
            continue;
        if (QFileInfo::exists(here) || QFileInfo(here).isSymLink()) {
            const QString aside = staging + QStringLiteral("old/") + name;
            removeAll(aside);
            if (!renameEntry(here, aside))
                throw Backups::Error(QStringLiteral("Attenzione: impossibile spostare %1.").arg(native(here)));
            step("moved-out");
        }
        if (comingIn) {
            if (!renameEntry(staged, here))
                throw Backups::Error(QStringLiteral("Attenzione: impossibile spostare %1.").arg(native(here)));
            step("moved-in");
        }
    }
    AtomicFile::syncFolder(dataFolder);
    // Done: the staging folder becomes waste under a name no restore looks for, then goes.
    const QString waste = dataFolder + kWaste;
    removeAll(waste);
    renameEntry(dataFolder + kStaging, waste);
    AtomicFile::syncFolder(dataFolder);
    step("swapped");
    removeAll(waste);
}

} // namespace

namespace Backups
{

Error::Error(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString Error::message() const
{
    return QString::fromUtf8(what());
}

void setStepHook(StepHook hook)
{
    s_stepHook = hook;
}

QString folder(const QString &dataFolder)
{
    QString f = dataFolder;
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f + kBackupFolder + QLatin1Char('/');
}

bool isDataItem(const QString &name, bool isFolder)
{
    if (isFolder)
        return name == kPhotos || name == kAttachments;
    return name == kStore || name == kSingers || isDiscography(name) || isCollection(name);
}

namespace
{
void pruneExcept(const QString &dataFolder, const QString &protectedPath);
}

Info create(const QString &dataFolder, const QString &reason, bool automatic, const QStringList &items,
            const Task &task)
{
    return createKeeping(dataFolder, reason, automatic, items, task, QString());
}

Info createKeeping(const QString &dataFolder, const QString &reason, bool automatic, const QStringList &items,
                   const Task &task, const QString &protectedPath)
{
    const QString data = QDir(dataFolder).absolutePath() + QLatin1Char('/');
    recover(data);
    const QString backups = folder(data);
    ensureFolder(backups);

    QList<Entry> entries = collect(data, items);
    settleJournals(entries);
    entries = collect(data, items);
    Info info = describe(entries, reason, automatic, items);
    qint64 total = 0;
    for (const Entry &e : std::as_const(entries)) {
        if (quint64(e.size) >= kLargest)
            throw Error(QStringLiteral("Attenzione: il file %1 è troppo grande per una copia di sicurezza (4 GB o più).")
                            .arg(native(e.path)));
        total += e.size;
    }

    const QString target = newBackupPath(backups, automatic, info.created);
    AtomicFile out(target, AtomicFile::Links::Replace);
    auto failed = [&](const QString &why) {
        return Error(QStringLiteral("Attenzione: la copia di sicurezza non è stata creata.\r\n\r\n%1").arg(why));
    };
    if (!out.open())
        throw failed(out.errorString());
    step("opened");

    // Written once and read back once: the progress covers both. The zip is written through
    // the temporary's own path, so that it takes the target's place only on commit().
    Meter meter(task, 2 * total);
    const QByteArray temporary = QFile::encodeName(out.writtenPath());
    {
        zipFile zip = zipOpen64(temporary.constData(), APPEND_STATUS_CREATE);
        if (!zip)
            throw failed(QStringLiteral("impossibile scrivere %1.").arg(native(target)));
        struct Closer {
            zipFile &z;
            ~Closer()
            {
                if (z)
                    zipClose(z, nullptr);
            }
        } closer{zip};
        auto open = [&](const QString &name, const QDateTime &when, quint32 mode, bool deflate) {
            zip_fileinfo zi = {};
            const QDate d = when.date();
            const QTime t = when.time();
            zi.tmz_date = {uInt(t.second()), uInt(t.minute()), uInt(t.hour()), uInt(d.day()), uInt(d.month() - 1),
                           uInt(d.year())};
            zi.external_fa = uLong(mode) << 16;
            // Made on Unix (3), so that readers take the mode; names in UTF-8 (bit 11).
            if (zipOpenNewFileInZip4_64(zip, name.toUtf8().constData(), &zi, nullptr, 0, nullptr, 0, nullptr,
                                        deflate ? Z_DEFLATED : 0, deflate ? Z_BEST_SPEED : 0, 0, -MAX_WBITS,
                                        DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, (3 << 8) | 20, 1 << 11,
                                        0) != ZIP_OK)
                throw failed(QStringLiteral("impossibile scrivere %1.").arg(native(target)));
        };
        auto put = [&](const char *bytes, qint64 n) {
            if (zipWriteInFileInZip(zip, bytes, unsigned(n)) != ZIP_OK)
                throw failed(QStringLiteral("impossibile scrivere %1 (disco pieno?).").arg(native(target)));
        };
        auto close = [&] {
            if (zipCloseFileInZip(zip) != ZIP_OK)
                throw failed(QStringLiteral("impossibile scrivere %1 (disco pieno?).").arg(native(target)));
        };

        const QByteArray description = manifest(info);
        open(kManifest, info.created, 0100644, true);
        put(description.constData(), description.size());
        close();

        QByteArray buffer(kChunk, Qt::Uninitialized);
        for (const Entry &e : std::as_const(entries)) {
            const QFileInfo fi(e.path);
            if (e.folder) {
                open(e.name, fi.lastModified(), 040755, false);
                close();
                continue;
            }
            QFile source(e.path);
            // A file that vanished meanwhile stops the backup rather than leave a hole in it.
            if (!source.open(QIODevice::ReadOnly))
                throw failed(QStringLiteral("%1: %2").arg(native(e.path), source.errorString()));
            open(e.name, fi.lastModified(), 0100644, !alreadyCompressed(e.name));
            qint64 copied = 0;
            for (;;) {
                const qint64 n = source.read(buffer.data(), buffer.size());
                if (n < 0)
                    throw failed(QStringLiteral("%1: %2").arg(native(e.path), source.errorString()));
                if (n == 0)
                    break;
                put(buffer.constData(), n);
                copied += n;
                meter.add(n);
            }
            close();
            step("copied");
            // A file that grew or shrank while it was copied is still whole in the zip, with
            // its checksum; the progress only catches up.
            meter.add(e.size - copied);
        }
        const int closed = zipClose(zip, nullptr);
        zip = nullptr;
        if (closed != ZIP_OK)
            throw failed(QStringLiteral("impossibile scrivere %1 (disco pieno?).").arg(native(target)));
    }
    step("written");

    // Read back from the disk before it takes its name: every checksum, every size.
    {
        Task readBack;
        readBack.cancelled = task.cancelled;
        const qint64 base = total;
        readBack.progress = [&task, base](qint64 done, qint64) {
            if (task.progress)
                task.progress(base + done, 2 * base);
        };
        Checked checked;
        try {
            checked = checkZip(out.writtenPath(), target, readBack);
        } catch (const Error &) {
            throw failed(QStringLiteral("la rilettura della copia non corrisponde ai file copiati."));
        }
        if (checked.entries.size() != entries.size() + 1)
            throw failed(QStringLiteral("la rilettura della copia non corrisponde ai file copiati."));
    }
    step("checked");
    if (!out.commit())
        throw failed(out.errorString());
    step("committed");
    info.path = target;
    info.size = QFileInfo(target).size();
    info.valid = true;
    if (automatic)
        pruneExcept(data, protectedPath);
    return info;
}

Info check(const QString &zip, const Task &task)
{
    return checkFile(zip, task).info;
}

Info restore(const QString &dataFolder, const QString &zipPath, const Task &task)
{
    const QString data = QDir(dataFolder).absolutePath() + QLatin1Char('/');
    recover(data);
    // Checked first, whole, before anything is touched.
    Task firstThird = task;
    firstThird.progress = [&task](qint64 done, qint64 total) {
        if (task.progress)
            task.progress(done, 3 * total);
    };
    Checked checked = checkFile(zipPath, firstThird);
    const Info &info = checked.info;
    step("checked");

    // The state it replaces becomes a backup of its own.
    Task secondThird = task;
    secondThird.progress = [&task](qint64 done, qint64 total) {
        if (task.progress)
            task.progress(total + done, 3 * total);
    };
    const QString when = QLocale(QLocale::Italian).toString(info.created, QStringLiteral("dd/MM/yyyy HH:mm"));
    // The backup being restored is never the one thinned out to make room for this one.
    createKeeping(data, QStringLiteral("Prima del ripristino della copia del %1").arg(when), true, info.items,
                  secondThird, QFileInfo(zipPath).absoluteFilePath());
    step("saved");

    const QString staging = data + kStaging + QLatin1Char('/');
    const QString staged = staging + QStringLiteral("new/");
    removeAll(data + kStaging);
    if (!QDir().mkpath(staged))
        throw Error(QStringLiteral("Attenzione: impossibile creare la cartella %1.").arg(native(staged)));
    auto abandon = [&](const QString &why) {
        removeAll(data + kStaging);
        return Error(QStringLiteral("Attenzione: il ripristino non è stato eseguito; non è stato modificato nulla.\r\n\r\n%1")
                         .arg(why));
    };

    QStringList incoming;
    {
        ZipReader zip(zipPath);
        if (!zip.isOpen())
            throw abandon(refuse(zipPath, QStringLiteral("non è più leggibile.")));
        qint64 total = 0;
        for (const ZipEntry &e : std::as_const(checked.entries))
            total += qint64(e.size);
        qint64 done = 0;
        QByteArray buffer(kChunk, Qt::Uninitialized);
        int index = 0;
        try {
            for (int status = unzGoToFirstFile(zip.handle()); status == UNZ_OK;
                 status = unzGoToNextFile(zip.handle()), ++index) {
                if (index == 0)
                    continue;
                const ZipEntry &e = checked.entries.at(index);
                const QString top = e.name.section(QLatin1Char('/'), 0, 0);
                if (!incoming.contains(top))
                    incoming << top;
                const QString path = staged + e.name;
                if (e.name.endsWith(QLatin1Char('/'))) {
                    if (!QDir().mkpath(path))
                        throw abandon(QStringLiteral("Impossibile creare la cartella %1.").arg(native(path)));
                    continue;
                }
                QDir().mkpath(QFileInfo(path).absolutePath());
                QFile target(path);
                if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                    throw abandon(QStringLiteral("%1: %2").arg(native(path), target.errorString()));
                if (unzOpenCurrentFile(zip.handle()) != UNZ_OK)
                    throw abandon(refuse(zipPath, QStringLiteral("è danneggiato (%1).").arg(e.name)));
                for (;;) {
                    const int n = unzReadCurrentFile(zip.handle(), buffer.data(), unsigned(buffer.size()));
                    if (n < 0) {
                        unzCloseCurrentFile(zip.handle());
                        throw abandon(refuse(zipPath, QStringLiteral("è danneggiato (%1).").arg(e.name)));
                    }
                    if (n == 0)
                        break;
                    if (target.write(buffer.constData(), n) != n) {
                        unzCloseCurrentFile(zip.handle());
                        throw abandon(QStringLiteral("%1: %2").arg(native(path), target.errorString()));
                    }
                    done += n;
                    if (task.cancelled && task.cancelled()) {
                        unzCloseCurrentFile(zip.handle());
                        throw Cancelled();
                    }
                    if (task.progress)
                        task.progress(2 * total + done, 3 * total);
                }
                if (unzCloseCurrentFile(zip.handle()) != UNZ_OK)
                    throw abandon(refuse(zipPath, QStringLiteral("è danneggiato (%1).").arg(e.name)));
                if (!target.flush())
                    throw abandon(QStringLiteral("%1: %2").arg(native(path), target.errorString()));
                target.close();
                if (e.when.isValid())
                    QFile(path).setFileTime(e.when, QFileDevice::FileModificationTime);
                step("unpacked");
            }
        } catch (const Cancelled &) {
            removeAll(data + kStaging);
            throw;
        }
    }
    throwCancelled(task);

    // What leaves: every data item for a whole backup, the covered items otherwise, and the
    // journals of the archives that leave, which must never be replayed onto the new ones.
    QStringList outgoing;
    const QFileInfoList present =
        QDir(data).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &f : present) {
        const QString name = f.fileName();
        const bool covered = info.items.isEmpty() ? isDataItem(name, f.isDir() && !f.isSymLink()) : info.items.contains(name);
        if (covered)
            outgoing << name;
    }
    for (const QString &name : QStringList(outgoing) + incoming) {
        const QString journal = QFileInfo(RecordFile::journalPath(data + name)).fileName();
        if (QFileInfo::exists(data + journal) && !outgoing.contains(journal))
            outgoing << journal;
    }
    QByteArray plan;
    for (const QString &name : std::as_const(outgoing))
        plan += "vecchio=" + name.toUtf8() + '\n';
    for (const QString &name : std::as_const(incoming))
        plan += "nuovo=" + name.toUtf8() + '\n';
    syncFileSystem(staging);
    try {
        AtomicFile::save(staging + kMarker, plan);
    } catch (const FileError &e) {
        throw abandon(e.description());
    }
    step("marked");
    // From here on the restore goes forward, now or at the next start.
    rollForward(data);
    Info done = info;
    done.path = zipPath;
    return done;
}

void recover(const QString &dataFolder)
{
    const QString data = QDir(dataFolder).absolutePath() + QLatin1Char('/');
    removeAll(data + kWaste);
    const QString staging = data + kStaging;
    if (!QFileInfo(staging).isDir())
        return;
    if (QFileInfo::exists(staging + QLatin1Char('/') + kMarker))
        rollForward(data);
    else
        removeAll(staging);
}

QList<Info> list(const QString &dataFolder)
{
    QList<Info> result;
    const QString backups = folder(dataFolder);
    const QFileInfoList files = QDir(backups).entryInfoList({QStringLiteral("*.zip")}, QDir::Files, QDir::Name);
    for (const QFileInfo &f : files) {
        Info info;
        info.path = f.absoluteFilePath();
        info.size = f.size();
        info.created = f.lastModified();
        if (!f.isSymLink()) {
            ZipReader zip(info.path);
            ZipEntry first;
            if (zip.isOpen() && unzGoToFirstFile(zip.handle()) == UNZ_OK && zip.current(first) &&
                first.name == kManifest && first.size < 65536 && unzOpenCurrentFile(zip.handle()) == UNZ_OK) {
                QByteArray bytes(qsizetype(first.size) + 1, Qt::Uninitialized);
                const int n = unzReadCurrentFile(zip.handle(), bytes.data(), unsigned(bytes.size()));
                const bool whole = unzCloseCurrentFile(zip.handle()) == UNZ_OK && n == int(first.size);
                Info read = info;
                if (whole && parseManifest(bytes.left(qMax(0, n)), read)) {
                    info = read;
                    info.valid = true;
                }
            }
        }
        if (!info.valid)
            info.problem = QStringLiteral("non è una copia di sicurezza di Cantorium, oppure è danneggiata");
        result << info;
    }
    // Newest first; backups of the same moment by their names' numbers (_2 after the first).
    std::stable_sort(result.begin(), result.end(), [](const Info &a, const Info &b) {
        if (a.created != b.created)
            return a.created > b.created;
        if (a.path.size() != b.path.size())
            return a.path.size() > b.path.size();
        return a.path > b.path;
    });
    return result;
}

int kept()
{
    bool ok = false;
    const int n = UserSettings().value(kSettingKept, kDefaultKept).toInt(&ok);
    return ok && n >= 1 ? n : kDefaultKept;
}

void setKept(int count)
{
    UserSettings s;
    s.setValue(kSettingKept, qMax(1, count));
    s.sync();
}

void prune(const QString &dataFolder)
{
    pruneExcept(dataFolder, QString());
}

namespace
{
void pruneExcept(const QString &dataFolder, const QString &protectedPath)
{
    QList<Backups::Info> automatic;
    for (const Backups::Info &info : Backups::list(dataFolder)) {
        if (info.valid && info.automatic && QFileInfo(info.path).absoluteFilePath() != protectedPath)
            automatic << info;
    }
    // list() gives the newest first: what lies beyond the kept number is the oldest.
    for (qsizetype i = Backups::kept(); i < automatic.size(); ++i)
        QFile::remove(automatic.at(i).path);
}
} // namespace

Outcome beforeRisk(const QString &dataFolder, const QString &reason, const QStringList &items, const Task &task)
{
    Outcome outcome;
    try {
        outcome.path = create(dataFolder, reason, true, items, task).path;
        outcome.ok = true;
    } catch (const Error &e) {
        outcome.error = e.message();
    } catch (const Cancelled &) {
        outcome.error = QStringLiteral("Attenzione: la copia di sicurezza è stata annullata; l'operazione non è stata eseguita.");
    } catch (const std::exception &e) {
        outcome.error = QStringLiteral("Attenzione: la copia di sicurezza non è stata creata.\r\n\r\n%1")
                            .arg(QString::fromUtf8(e.what()));
    }
    return outcome;
}

} // namespace Backups
