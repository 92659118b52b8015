#pragma once

#include "records/SongCard.h"
#include "records/SongTags.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

// One audio file read for the import: the card it gives, as the collection file will hold it,
// and what the preview says about it.
struct ImportRow {
    QString path;     // full path of the audio file
    QString relative; // path under the chosen folder, as the user reads it
    SongCard card;    // as stored: best-fit letters and cuts applied
    QList<SongCard::Field> cutFields;     // texts longer than their field
    QList<SongCard::Field> bestFitFields; // texts with characters Windows-1252 lacks
    bool present = false;  // the same title and singer are already in the collection
    bool repeated = false; // the same title and singer come earlier in this folder
};

struct UnreadableFile {
    QString relative;
    QString reason;
};

// What a reading of a folder found.
struct FolderReading {
    QList<ImportRow> rows;
    QList<UnreadableFile> unreadable;
    int otherFiles = 0;       // files that are not audio by their name, left alone
    QString collectionError;  // set when the collection could not be read for the duplicate check
    bool cancelled = false;
};

// Reading a music folder for the import; every step may run off the interface thread.
namespace FolderImport
{
// The audio files under `folder` (in its subfolders too when `subfolders`), in name order,
// each folder visited once even through symbolic links; `unreadable` gets the entries that
// look like audio but cannot be reached, `otherFiles` counts the rest.
QStringList audioFiles(const QString &folder, bool subfolders, QList<UnreadableFile> *unreadable,
                       int *otherFiles);
// The same-song keys of every card of the collection at `path`.
QSet<QString> collectionKeys(const QString &path);
// Reads one file into a preview row, or returns false with the reason.
bool readRow(const QString &path, const QString &relative, ImportRow *row, QString *reason);
// Marks the rows already in the collection or repeated earlier in the list.
void markDuplicates(QList<ImportRow> &rows, const QSet<QString> &collection);

// The whole reading, as the window's thread runs it. `progress` is called with (done, total)
// after each file; `cancel` is polled between files.
FolderReading readFolder(const QString &folder, bool subfolders, const QString &collectionPath,
                         const std::function<void(int, int)> &progress, const std::atomic_bool &cancel);
} // namespace FolderImport

// Runs FolderImport::readFolder on a thread of its own. progress() arrives on the thread that
// created the reader, at most every few milliseconds and once at the end; finished() follows.
class FolderReader : public QThread
{
    Q_OBJECT
public:
    FolderReader(const QString &folder, bool subfolders, const QString &collectionPath,
                 QObject *parent = nullptr);
    ~FolderReader() override;
    void cancel() { m_cancel = true; }
    // Valid after finished().
    const FolderReading &reading() const { return m_reading; }

signals:
    void progress(int done, int total);

protected:
    void run() override;

private:
    QString m_folder, m_collection;
    bool m_subfolders;
    std::atomic_bool m_cancel{false};
    FolderReading m_reading;
};
