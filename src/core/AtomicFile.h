#pragma once

#include <QIODevice>
#include <QString>

// Replaces a whole file at once: what is written goes to a temporary file in the target's
// folder, which takes the target's place only on commit(). Until then, and after any failure,
// the old file stays whole. Every whole-file write of the program goes through here (password
// store, photos, exports, attachments), so that none of them can leave a stray temporary.
//
// Where the file system allows it (Linux O_TMPFILE) the temporary file has no name while it is
// written, so a kill leaves nothing behind. Otherwise, and for the instant between naming it and
// the rename, it has a name that only this program makes (temporaryName()); removeLeftovers()
// clears those at start-up, and nothing else.
//
// Usage: AtomicFile out(path); out.open(); out.write(...); if (!out.commit()) -> out.errorString().
// Closing or destroying the object without commit() discards what was written.
class AtomicFile : public QIODevice
{
public:
    // What happens when the target is a symbolic link: Follow replaces the file it points to
    // (as QSaveFile does); Replace puts the new file in place of the link itself, so that a write
    // into a folder never reaches a file outside it.
    enum class Links { Follow, Replace };

    explicit AtomicFile(const QString &target, Links links = Links::Follow);
    ~AtomicFile() override;

    // Opens the temporary file for writing (the mode is always WriteOnly, unbuffered).
    bool open(OpenMode mode = WriteOnly) override;
    // Makes the written content the target's, durably (flushed to the disk with the folder
    // entry). False, with errorString(), when anything failed; the old file is then untouched.
    bool commit();
    // Discards what was written; the target is untouched.
    void cancel();
    void close() override { cancel(); }
    bool isSequential() const override { return true; }

    QString fileName() const { return m_target; }
    // A path that reads what has been written so far, until commit() or cancel(): a writer that
    // checks its file before it takes the target's place reads it back through this.
    QString writtenPath() const;

    // Writes `bytes` as the whole new content of `target`; throws FileError on failure.
    static void save(const QString &target, const QByteArray &bytes, Links links = Links::Follow);

    // Puts a folder's entries (a file just created, renamed or removed in it) on the disk.
    static void syncFolder(const QString &folder);

    // A new name for a named temporary: random, and ending in a check of that random part.
    static QString temporaryName();
    // True for the names of this class's temporaries, and only for them.
    static bool isLeftoverName(const QString &fileName);
    // Removes from `folder` the temporaries that a killed copy of the program left behind. A
    // temporary still held by a running copy, or younger than a few seconds, is kept. Returns
    // how many were removed.
    static int removeLeftovers(const QString &folder);
    // The same with another least age in seconds (tests use 0).
    static int removeLeftovers(const QString &folder, int minimumAge);

    // For tests: false makes open() use a named temporary even where unnamed ones exist.
    static void setUnnamedTemporaries(bool allowed);
    // For tests: called inside commit() once the temporary has its name and just before the
    // rename, the point where a kill leaves a named temporary behind.
    using BeforeRename = void (*)(const QString &temporaryPath);
    static void setBeforeRename(BeforeRename hook);

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    bool fail(const QString &reason);
    QString resolvedTarget() const;

    QString m_target;
    Links m_links;
    QString m_destination;  // the path that the rename replaces
    QString m_temporary;    // the temporary's name, while it has one
    int m_fd = -1;
    bool m_unnamed = false; // O_TMPFILE: no name until commit()
    bool m_writeFailed = false;
};
