#include "TestFiles.h"
#include "core/FileError.h"
#include "core/ScratchFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

// The folder for a piece of work's temporaries: gone when the work ends, and removed at the next
// start when a kill left it, but only then and only it.
class TestScratchFolder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void removedWhenTheWorkEnds();
    void killedWorkIsClearedAtTheNextStart();
    void onlyWhatTheProgramMadeIsRemoved();

private:
    QStringList entries() const
    {
        return QDir(m_base).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
};

void TestScratchFolder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->filePath(QStringLiteral("scratch"));
    ScratchFolder::setBase(m_base);
}

void TestScratchFolder::cleanup()
{
    ScratchFolder::setBase(QString());
}

void TestScratchFolder::removedWhenTheWorkEnds()
{
    {
        ScratchFolder scratch;
        QVERIFY(scratch.path().startsWith(m_base + QLatin1Char('/')));
        writeFile(scratch.filePath(QStringLiteral("workbook.xlsx")), "half a workbook");
        QCOMPARE(entries().size(), 1);
        // A running copy's folder is never taken.
        QCOMPARE(ScratchFolder::removeLeftovers(), 0);
        QVERIFY(QFileInfo::exists(scratch.filePath(QStringLiteral("workbook.xlsx"))));
    }
    QCOMPARE(entries(), QStringList());
}

void TestScratchFolder::killedWorkIsClearedAtTheNextStart()
{
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ScratchFolder scratch;
        QFile f(scratch.filePath(QStringLiteral("xlsxwriter-tmp")));
        if (f.open(QIODevice::WriteOnly))
            f.write("a library temporary");
        f.close();
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(entries().size(), 1);
    QCOMPARE(ScratchFolder::removeLeftovers(), 1);
    QCOMPARE(entries(), QStringList());
}

void TestScratchFolder::onlyWhatTheProgramMadeIsRemoved()
{
    // Things that only look like the program's are kept: a folder without the lock file (with
    // something in it), a link to a folder elsewhere, a file, other names.
    { ScratchFolder made; } // creates the base
    QTemporaryDir elsewhere;
    writeFile(elsewhere.filePath(QStringLiteral("keep.txt")), "elsewhere");
    QVERIFY(QDir(m_base).mkpath(QStringLiteral("work-user01")));
    writeFile(m_base + QStringLiteral("/work-user01/notes.txt"), "a user's");
    QVERIFY(QFile::link(elsewhere.path(), m_base + QStringLiteral("/work-link01")));
    writeFile(m_base + QStringLiteral("/work-file01"), "a file");
    QVERIFY(QDir(m_base).mkpath(QStringLiteral("other")));
    const QStringList before = entries();
    QCOMPARE(ScratchFolder::removeLeftovers(), 0);
    QCOMPARE(entries(), before);
    QCOMPARE(fileContent(elsewhere.filePath(QStringLiteral("keep.txt"))), QByteArray("elsewhere"));

    // A base folder that others may write into is not the program's: never written, never cleaned.
    QVERIFY(::chmod(QFile::encodeName(m_base).constData(), 0777) == 0);
    QVERIFY_THROWS_EXCEPTION(FileError, ScratchFolder());
    QCOMPARE(ScratchFolder::removeLeftovers(), 0);
}

QTEST_GUILESS_MAIN(TestScratchFolder)
#include "tst_scratchfolder.moc"
