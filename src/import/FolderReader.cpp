#include "import/FolderReader.h"

#include "core/RecordFile.h"
#include "core/Text.h"
#include "records/AudioFile.h"

#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace FolderImport
{

namespace
{
void walk(const QDir &root, const QString &folder, bool subfolders, QSet<QString> &visited, QStringList &files,
          QList<UnreadableFile> *unreadable, int *otherFiles)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    // A folder reached twice (a link back to a parent, two links to one place) is read once.
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);

    const QDir dir(folder);
    QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(entries.begin(), entries.end(), [&collator](const QFileInfo &a, const QFileInfo &b) {
        return collator.compare(a.fileName(), b.fileName()) < 0;
    });
    QList<QString> folders;
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            if (subfolders)
                folders << entry.filePath();
            continue;
        }
        if (!AudioFile::hasAudioExtension(entry.fileName())) {
            ++*otherFiles;
            continue;
        }
        if (entry.isSymLink() && !entry.exists()) {
            unreadable->append({root.relativeFilePath(entry.filePath()), AudioFile::kBrokenLink});
            continue;
        }
        files << entry.filePath();
    }
    for (const QString &sub : folders)
        walk(root, sub, subfolders, visited, files, unreadable, otherFiles);
}
} // namespace

QStringList audioFiles(const QString &folder, bool subfolders, QList<UnreadableFile> *unreadable, int *otherFiles)
{
    QStringList files;
    QSet<QString> visited;
    walk(QDir(folder), folder, subfolders, visited, files, unreadable, otherFiles);
    return files;
}

QSet<QString> collectionKeys(const QString &path)
{
    QSet<QString> keys;
    const RecordSchema &schema = SongCard::schema();
    const RecordSchema::Field &title = schema.field(SongCard::Titolo);
    const RecordSchema::Field &singer = schema.field(SongCard::Cantante);
    RecordFile file(path, SongCard::kSize);
    file.scanRaw([&](qint64, const char *record) {
        keys.insert(SongTagMap::sameSongKey(RecordSchema::load(record + title.offset, title),
                                            RecordSchema::load(record + singer.offset, singer)));
        return true;
    });
    return keys;
}

bool readRow(const QString &path, const QString &relative, ImportRow *row, QString *reason)
{
    const AudioFile::Reading reading = AudioFile::read(path);
    if (!reading.ok) {
        *reason = reading.failure;
        return false;
    }
    const SongCard card = SongTagMap::cardFrom(reading.tags, QFileInfo(path).fileName());
    row->path = path;
    row->relative = relative;
    row->card = SongTagMap::asStored(card);
    for (int f = 0; f < SongCard::FieldCount; ++f) {
        if (card.text(f).isEmpty())
            continue;
        const SongTagMap::Fit fit = SongTagMap::fitOf(SongCard::Field(f), card.text(f));
        if (fit.cut)
            row->cutFields << SongCard::Field(f);
        if (fit.bestFit)
            row->bestFitFields << SongCard::Field(f);
    }
    return true;
}

void markDuplicates(QList<ImportRow> &rows, const QSet<QString> &collection)
{
    QSet<QString> seen;
    for (ImportRow &row : rows) {
        const QString key =
            SongTagMap::sameSongKey(row.card.text(SongCard::Titolo), row.card.text(SongCard::Cantante));
        row.present = collection.contains(key);
        row.repeated = !row.present && seen.contains(key);
        seen.insert(key);
    }
}

FolderReading readFolder(const QString &folder, bool subfolders, const QString &collectionPath,
                         const std::function<void(int, int)> &progress, const std::atomic_bool &cancel)
{
    FolderReading out;
    const QStringList files = audioFiles(folder, subfolders, &out.unreadable, &out.otherFiles);
    const QDir root(folder);
    // Links that lead nowhere were met by the walk: they count among the files read.
    const int met = int(out.unreadable.size());
    const int total = met + int(files.size());
    progress(met, total);
    for (int i = 0; i < files.size(); ++i) {
        if (cancel) {
            out.cancelled = true;
            return out;
        }
        ImportRow row;
        QString reason;
        const QString relative = root.relativeFilePath(files.at(i));
        if (readRow(files.at(i), relative, &row, &reason))
            out.rows << row;
        else
            out.unreadable.append({relative, reason});
        progress(met + i + 1, total);
    }
    QSet<QString> keys;
    try {
        keys = collectionKeys(collectionPath);
    } catch (const FileError &e) {
        out.collectionError = e.description();
    }
    markDuplicates(out.rows, keys);
    return out;
}

} // namespace FolderImport

FolderReader::FolderReader(const QString &folder, bool subfolders, const QString &collectionPath,
                           QObject *parent)
    : QThread(parent)
    , m_folder(folder)
    , m_collection(collectionPath)
    , m_subfolders(subfolders)
{
}

FolderReader::~FolderReader()
{
    m_cancel = true;
    wait();
}

void FolderReader::run()
{
#ifdef Q_OS_LINUX
    // The reading yields to the interface on a busy machine: a niceness of its own for this
    // thread only (Linux keeps one per thread), so ticks and repaints come first.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
#endif
    QElapsedTimer sinceLast;
    sinceLast.start();
    m_reading = FolderImport::readFolder(
        m_folder, m_subfolders, m_collection,
        [this, &sinceLast, first = true](int done, int total) mutable {
            // The interface repaints at its own pace; a signal per file would only queue up.
            if (first || done == total || sinceLast.elapsed() >= 40) {
                first = false;
                sinceLast.restart();
                emit progress(done, total);
            }
        },
        m_cancel);
}
