#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// A private folder for the temporary files of one piece of work (a workbook being built and the
// workbook library's own temporaries), removed with everything in it when the object goes. All
// of them live in one folder of the program's own in the system's temporary folder, private to
// the user; a run killed in the middle of the work leaves its folder behind, and the next start
// removes it (removeLeftovers()).
class ScratchFolder
{
public:
    // Throws FileError when no folder can be made.
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    QString path() const;
    QString filePath(const QString &name) const;

    // Removes the folders whose work ended without removing them: those no running copy holds.
    // Returns how many were removed.
    static int removeLeftovers();
    // For tests: where the folders go instead of the system's temporary folder; empty restores it.
    static void setBase(const QString &folder);

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_inUse = -1; // locked while the work goes on
};
