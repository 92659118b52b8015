#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

// Backups of the data folder: one .zip per backup, kept in the folder's "Backup" subfolder.
// A backup holds the archives (*.mus, Archivio_Cantanti.pro, Discografia_Cantante_*.pro), the
// folders Anagrafica and Documenti_Allegati and the password store unins000.dll; never the
// Backup folder itself, the program, its guide, exports, journals or temporaries. Its first
// entry describes it (date, reason, what it covers, how many cards), which is how a backup of
// this program is told from any other zip.
//
// A backup is written through a temporary file and takes its name only after every entry has
// been read back and its checksum found right. A restore checks every entry before it changes
// anything, saves the state it replaces as a backup of its own, unpacks into a staging folder
// and then swaps the staged items in; a restore cut short by a kill is finished by recover()
// at the next start, so the data folder is always either the old state or the new one.
//
// No widgets here: the windows run these functions on a thread of their own.
namespace Backups
{

// The text of every failure is the message shown to the user, in Italian.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message);
    QString message() const;
};

// Thrown when the user stopped the work; nothing was changed.
class Cancelled : public std::exception
{
public:
    const char *what() const noexcept override { return "cancelled"; }
};

// What a long piece of work reports to its caller and asks it.
struct Task {
    std::function<void(qint64 done, qint64 total)> progress; // may be empty
    std::function<bool()> cancelled;                          // may be empty
};

// A backup as its first entry describes it.
struct Info {
    QString path;          // the .zip
    qint64 size = 0;       // bytes of the .zip
    QDateTime created;     // local time
    QString reason;        // "Copia di sicurezza", or what was about to happen
    bool automatic = false;
    QStringList items;     // the top-level names it covers; empty: the whole data folder
    int collections = 0;
    qint64 songCards = 0;
    qint64 singerCards = 0;
    int photos = 0;
    int attachments = 0;
    bool valid = false;    // list() only: false for a zip it could not read as a backup
    QString problem;       // list() only: why it is not valid
};

// The "Backup" folder of `dataFolder`, with its trailing separator.
QString folder(const QString &dataFolder);

// Writes a new backup of `dataFolder` (or only of its top-level `items`, such as one
// collection file) into folder(). Throws Error or Cancelled; then nothing is left behind.
// `automatic` backups are the ones prune() thins out.
Info create(const QString &dataFolder, const QString &reason, bool automatic,
            const QStringList &items = {}, const Task &task = {});

// The same, but thinning out the automatic backups never removes `protectedPath`.
Info createKeeping(const QString &dataFolder, const QString &reason, bool automatic, const QStringList &items,
                   const Task &task, const QString &protectedPath);

// Reads every entry of `zip` and checks it: the description, the names (no absolute paths, no
// "..", nothing outside what a backup holds), no links or special files, no entry of 4 GB or
// more, every checksum. Returns the description; throws Error (or Cancelled).
Info check(const QString &zip, const Task &task = {});

// Replaces what the backup `zip` covers in `dataFolder` by its content, all or nothing, after
// saving the current state as an automatic backup. Throws Error or Cancelled before the swap;
// nothing of the data folder has changed then.
Info restore(const QString &dataFolder, const QString &zip, const Task &task = {});

// Finishes a restore that a kill interrupted during its swap, or drops one that had not yet
// reached it. Safe to call at any time; the start of the program calls it.
void recover(const QString &dataFolder);

// The backups of folder(), newest first, each read from its first entry only.
QList<Info> list(const QString &dataFolder);

// How many automatic backups are kept (user settings, "Backup/Conservate"; 10 unless set).
int kept();
void setKept(int count);
// Removes the oldest automatic backups beyond kept(). Backups the user made are left alone.
void prune(const QString &dataFolder);

// For other code that is about to do something that cannot be undone (an import, deleting a
// song card or a collection): a backup of `items` of `dataFolder` (the whole folder when
// empty), made now. `reason` says what is about to happen ("Prima dell'importazione in
// Rock.mus"). Never throws: `error` holds the message when it failed, and the caller should
// then not go ahead.
struct Outcome {
    bool ok = false;
    QString path;  // the backup written
    QString error; // the message for the user when !ok
};
Outcome beforeRisk(const QString &dataFolder, const QString &reason, const QStringList &items = {},
                   const Task &task = {});

// True for the top-level names of `dataFolder` that a backup covers.
bool isDataItem(const QString &name, bool isFolder);

// For tests: called at each step of a backup or restore with its name; a test kills the
// process there to prove that every step leaves the old state or the new one.
using StepHook = void (*)(const char *step);
void setStepHook(StepHook hook);

} // namespace Backups
