#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "core/AtomicFile.h"
#include "core/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Whole-file replacement: the old file stays whole until the new one is complete, and no
// temporary outlives the write, whether it fails, is abandoned or its process is killed.
// Each case runs with unnamed temporaries (O_TMPFILE) and with the named fallback.
class TestAtomicFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void replacesTheFile_data();
    void replacesTheFile();
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
    void killedWriterLeavesNothingForGood_data();
    void killedWriterLeavesNothingForGood();
    void leftoversThatStay();
    void links_data();
    void links();
    void longNameIsReplaced_data();
    void longNameIsReplaced();

private:
    QStringList entries() const;
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace
{

void addModes()
{
    QTest::addColumn<bool>("unnamed");
}

#define USE_MODE()                                                                                          \
    QFETCH(bool, unnamed);                                                                                  \
    AtomicFile::setUnnamedTemporaries(unnamed)

// Every case of a _data() function once per kind of temporary.
template <typename Add> void bothModes(Add add)
{
    for (const bool unnamed : {true, false})
        add(unnamed, unnamed ? " (unnamed)" : " (named)");
}

// Makes a file look as if it had been left there an hour ago.
void ageFile(const QString &path)
{
    const timespec old[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, AT_SYMLINK_NOFOLLOW), 0);
}

void dieNow(const QString &)
{
    ::kill(::getpid(), SIGKILL);
}

} // namespace

void TestAtomicFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAtomicFile::cleanup()
{
    AtomicFile::setUnnamedTemporaries(true);
    AtomicFile::setBeforeRename(nullptr);
    m_dir.reset();
}

QStringList TestAtomicFile::entries() const
{
    return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Name);
}

void TestAtomicFile::replacesTheFile_data()
{
    addModes();
    QTest::addColumn<bool>("existing");
    bothModes([](bool unnamed, const char *mode) {
        QTest::newRow(QByteArray("new file") + mode) << unnamed << false;
        QTest::newRow(QByteArray("existing file") + mode) << unnamed << true;
    });
}

void TestAtomicFile::replacesTheFile()
{
    USE_MODE();
    QFETCH(bool, existing);
    const QString path = m_dir->filePath(QStringLiteral("unins000.dll"));
    if (existing) {
        writeFile(path, "old content, longer than the new one");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }
    AtomicFile::save(path, "new");
    QCOMPARE(fileContent(path), QByteArray("new"));
    QCOMPARE(entries(), QStringList{QStringLiteral("unins000.dll")});
    // A replaced file keeps its permissions.
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    if (existing)
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
}

void TestAtomicFile::failureKeepsTheOldFile_data()
{
    addModes();
    QTest::addColumn<QString>("failure");
    bothModes([](bool unnamed, const char *mode) {
        QTest::newRow(QByteArray("size limit part way") + mode) << unnamed << "limit";
        QTest::newRow(QByteArray("abandoned without commit") + mode) << unnamed << "abandoned";
        QTest::newRow(QByteArray("folder where the file is") + mode) << unnamed << "folder";
        QTest::newRow(QByteArray("folder missing") + mode) << unnamed << "missing";
    });
}

void TestAtomicFile::failureKeepsTheOldFile()
{
    USE_MODE();
    QFETCH(QString, failure);
    QString path = m_dir->filePath(QStringLiteral("Scheda_Cantante_3.jpg"));
    const QByteArray old(3000, 'o');
    writeFile(path, old);
    if (failure == QLatin1String("folder")) {
        path = m_dir->filePath(QStringLiteral("Anagrafica"));
        QVERIFY(QDir().mkdir(path));
    } else if (failure == QLatin1String("missing")) {
        path = m_dir->filePath(QStringLiteral("manca/Collection.xls"));
    }
    bool committed = true;
    QString error;
    {
        AtomicFile out(path);
        if (failure == QLatin1String("limit")) {
            QVERIFY(out.open());
            FileSizeLimit limit(1000);
            committed = out.write(QByteArray(5000, 'n')) == 5000 && out.commit();
            error = out.errorString();
        } else if (failure == QLatin1String("abandoned")) {
            QVERIFY(out.open());
            QCOMPARE(out.write(QByteArray(5000, 'n')), 5000);
            committed = false; // the object goes out of scope unconfirmed
        } else {
            committed = out.open();
            error = out.errorString();
        }
    }
    QVERIFY(!committed);
    if (failure != QLatin1String("abandoned"))
        QVERIFY2(!error.isEmpty(), "a failure without a description");
    QCOMPARE(fileContent(m_dir->filePath(QStringLiteral("Scheda_Cantante_3.jpg"))), old);
    QStringList expected{QStringLiteral("Scheda_Cantante_3.jpg")};
    if (failure == QLatin1String("folder"))
        expected.prepend(QStringLiteral("Anagrafica"));
    QCOMPARE(entries(), expected);
    // The one-call form reports the same as a FileError.
    if (failure == QLatin1String("folder") || failure == QLatin1String("missing"))
        QVERIFY_THROWS_EXCEPTION(FileError, AtomicFile::save(path, "x"));
}

void TestAtomicFile::killedWriterLeavesNothingForGood_data()
{
    addModes();
    QTest::addColumn<bool>("atRename"); // killed just before the rename, or while writing
    bothModes([](bool unnamed, const char *mode) {
        QTest::newRow(QByteArray("killed while writing") + mode) << unnamed << false;
        QTest::newRow(QByteArray("killed at the rename") + mode) << unnamed << true;
    });
}

void TestAtomicFile::killedWriterLeavesNothingForGood()
{
    USE_MODE();
    QFETCH(bool, atRename);
    const QString path = m_dir->filePath(QStringLiteral("Collection.xls"));
    writeFile(path, "old export");
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The process ends without commit() or cleaning up, as a killed one does.
        AtomicFile::setBeforeRename(&dieNow);
        AtomicFile out(path);
        if (!out.open() || out.write(QByteArray(100000, 'n')) != 100000)
            ::_exit(1);
        if (atRename)
            out.commit();
        ::kill(::getpid(), SIGKILL);
        ::_exit(2);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the writer did not die where planned");
    QCOMPARE(fileContent(path), QByteArray("old export"));

    // An unnamed temporary vanishes with its process; a named one stays until the next start.
    const bool leftover = atRename || !unnamed;
    QStringList found = entries();
    QCOMPARE(found.size(), leftover ? 2 : 1);
    if (leftover) {
        QVERIFY(AtomicFile::isLeftoverName(found.first()));
        QCOMPARE(QFileInfo(m_dir->filePath(found.first())).size(), qint64(100000));
    }
    QCOMPARE(AtomicFile::removeLeftovers(m_dir->path(), 0), leftover ? 1 : 0);
    QCOMPARE(entries(), QStringList{QStringLiteral("Collection.xls")});
    QCOMPARE(fileContent(path), QByteArray("old export"));
}

void TestAtomicFile::leftoversThatStay()
{
    // A temporary that a live writer still holds (even one that looks old), a fresh one (its
    // writer may be on another machine, where the lock is not seen), a link and names that only
    // look alike are all kept by the clean-up at start.
    AtomicFile::setUnnamedTemporaries(false);
    const QString path = m_dir->filePath(QStringLiteral("unins000.dll"));
    AtomicFile live(path);
    QVERIFY(live.open());
    QCOMPARE(live.write("in progress"), qint64(11));
    QCOMPARE(entries().size(), 1);
    ageFile(m_dir->filePath(entries().first()));
    // A user may well name a file like a temporary: only a name with the program's own check at
    // its end is one.
    QString wrongCheck = AtomicFile::temporaryName();
    wrongCheck[wrongCheck.size() - 1] = wrongCheck.endsWith(QLatin1Char('0')) ? QLatin1Char('1') : QLatin1Char('0');
    for (const QString &name : {QStringLiteral(".cantorium-tmp-abc"), QStringLiteral("x.cantorium-tmp-ABCDEF"),
                                QStringLiteral(".cantorium-tmp-ABCDEFG"), QStringLiteral(".cantorium-tmp-AB_DEF"),
                                QStringLiteral("cantorium-tmp-ABCDEF"), QStringLiteral(".cantorium-tmp-ABC123"),
                                wrongCheck, QLatin1Char('x') + AtomicFile::temporaryName()}) {
        writeFile(m_dir->filePath(name), "user's file");
        ageFile(m_dir->filePath(name));
    }
    const QString fresh = m_dir->filePath(AtomicFile::temporaryName());
    writeFile(fresh, "killed a moment ago");
    const QString link = m_dir->filePath(AtomicFile::temporaryName());
    QVERIFY(QFile::link(path, link));
    ageFile(link);

    const QStringList before = entries();
    QCOMPARE(before.size(), 11);
    QCOMPARE(AtomicFile::removeLeftovers(m_dir->path()), 0);
    QCOMPARE(entries(), before);

    QVERIFY(live.commit());
    QCOMPARE(fileContent(path), QByteArray("in progress"));
    // Once it has aged, the abandoned one goes, and only it.
    ageFile(fresh);
    QCOMPARE(AtomicFile::removeLeftovers(m_dir->path()), 1);
    QVERIFY(!QFileInfo::exists(fresh));
    QCOMPARE(entries().size(), 10);
}

void TestAtomicFile::links_data()
{
    addModes();
    QTest::addColumn<bool>("replaceLink");
    QTest::addColumn<bool>("dangling");
    bothModes([](bool unnamed, const char *mode) {
        QTest::newRow(QByteArray("link replaced") + mode) << unnamed << true << false;
        QTest::newRow(QByteArray("dangling link replaced") + mode) << unnamed << true << true;
        QTest::newRow(QByteArray("link followed") + mode) << unnamed << false << false;
        QTest::newRow(QByteArray("dangling link not followed") + mode) << unnamed << false << true;
    });
}

void TestAtomicFile::links()
{
    USE_MODE();
    QFETCH(bool, replaceLink);
    QFETCH(bool, dangling);
    QTemporaryDir outside;
    const QString pointed = outside.filePath(QStringLiteral("fuori.txt"));
    if (!dangling)
        writeFile(pointed, "outside");
    const QString link = m_dir->filePath(QStringLiteral("fuori.txt"));
    QVERIFY(QFile::link(pointed, link));

    AtomicFile::save(link, "new", replaceLink ? AtomicFile::Links::Replace : AtomicFile::Links::Follow);

    if (replaceLink || dangling) {
        // The link itself is now the new file; nothing outside was written or created.
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(fileContent(link), QByteArray("new"));
        QCOMPARE(QFileInfo::exists(pointed), !dangling);
        if (!dangling)
            QCOMPARE(fileContent(pointed), QByteArray("outside"));
    } else {
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(fileContent(pointed), QByteArray("new"));
        QCOMPARE(QDir(outside.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("fuori.txt")});
    }
    QCOMPARE(entries(), QStringList{QStringLiteral("fuori.txt")});
}

void TestAtomicFile::longNameIsReplaced_data()
{
    addModes();
    QTest::addColumn<int>("bytes");
    bothModes([](bool unnamed, const char *mode) {
        QTest::newRow(QByteArray("249 bytes") + mode) << unnamed << 249;
        QTest::newRow(QByteArray("255 bytes") + mode) << unnamed << 255;
    });
}

void TestAtomicFile::longNameIsReplaced()
{
    USE_MODE();
    // The temporary's name does not grow with the target's, so a name near the file-system limit
    // can still be replaced.
    QFETCH(int, bytes);
    const QString path = m_dir->filePath(QString(bytes - 4, QLatin1Char('n')) + QStringLiteral(".txt"));
    writeFile(path, "old");
    AtomicFile::save(path, "new");
    QCOMPARE(fileContent(path), QByteArray("new"));
    QCOMPARE(entries().size(), 1);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
