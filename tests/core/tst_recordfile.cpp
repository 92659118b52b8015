#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "core/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QDir>

#include <csignal>
#include <memory>
#include <thread>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// What the record file does when the system takes only part of a write or refuses it: a
// failure must leave the file exactly as it was, a short write must still end whole.
class TestRecordFile : public QObject
{
    Q_OBJECT
private slots:
    void faultyDevice_data();
    void faultyDevice();
    void sizeLimitCutsFailedAppendBack_data();
    void sizeLimitCutsFailedAppendBack();
    void fullDevice();
    void diskFailingForGoodKeepsTheOldRecord();
    void killMidWriteIsRolledBack();
    void unusableJournalIsDiscarded_data();
    void unusableJournalIsDiscarded();
    void secondCopyWaitsForTheWriter();
    void batchAppend_data();
    void batchAppend();
    void batchSizeLimit();
    void batchAndSingleAppendersLoseNothing();

private:
    QStringList entries() const;
    QTemporaryDir m_dir;
};

namespace
{

constexpr int kSize = 16;
const QString kDiskFull = QStringLiteral("No space left on device");

QByteArray rec(char c)
{
    return QByteArray(kSize, c);
}

// A file whose successive writes follow a script: n >= 0 takes at most n bytes, -1 refuses
// with "disk full"; once the script is spent, writes go through untouched.
class ScriptedFile : public QFile
{
public:
    ScriptedFile(const QString &path, QList<int> script)
        : QFile(path)
        , m_script(std::move(script))
    {
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (m_script.isEmpty())
            return QFile::writeData(data, len);
        const int step = m_script.takeFirst();
        if (step < 0) {
            setErrorString(kDiskFull);
            return -1;
        }
        return QFile::writeData(data, qMin<qint64>(step, len));
    }

private:
    QList<int> m_script;
};

// A disk that takes `budget` more bytes and then fails for good: every later write, the repair
// included, is refused.
class DyingFile : public QFile
{
public:
    DyingFile(const QString &path, qint64 budget)
        : QFile(path)
        , m_budget(budget)
    {
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (m_budget <= 0) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 written = QFile::writeData(data, qMin(len, m_budget));
        m_budget -= qMax<qint64>(written, 0);
        return written;
    }

private:
    qint64 m_budget;
};

// Writes the first half of what it is given, then kills its own process: kill -9 in the middle
// of a record.
class KilledFile : public QFile
{
public:
    using QFile::QFile;

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        QFile::writeData(data, len / 2);
        ::kill(::getpid(), SIGKILL);
        return -1;
    }
};

// Takes the whole write, then tells `signalFd` and lingers, as a slow disk would, with the
// journal still present.
class SlowFile : public QFile
{
public:
    SlowFile(const QString &path, int signalFd)
        : QFile(path)
        , m_signal(signalFd)
    {
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 written = QFile::writeData(data, len);
        const char done = 1;
        if (::write(m_signal, &done, 1) != 1)
            ::_exit(3);
        ::usleep(400 * 1000);
        return written;
    }

private:
    int m_signal;
};

// Records that differ in every byte, so that a torn one shows.
constexpr int kCard = 64;
QByteArray card(char base)
{
    QByteArray r(kCard, Qt::Uninitialized);
    for (int i = 0; i < kCard; ++i)
        r[i] = char(base + i % 7);
    return r;
}
const QByteArray kOld = card('a');
const QByteArray kNew = card('P');
const QByteArray kOther = card('0');

} // namespace

QStringList TestRecordFile::entries() const
{
    return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                        QDir::Name);
}

void TestRecordFile::faultyDevice_data()
{
    QTest::addColumn<bool>("append");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<int>>("script");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QByteArray>("after");

    const QByteArray abc = rec('A') + rec('B') + rec('C');
    const QByteArray ab = rec('A') + rec('B');
    const QByteArray tail = "xyz"; // a partial record left at the end by some accident
    const QList<int> oneByteAtATime(kSize, 1);

    QTest::newRow("overwrite: short write, then the rest")
        << false << abc << QList<int>{5} << false << rec('A') + rec('N') + rec('C');
    QTest::newRow("overwrite: one byte at a time")
        << false << abc << oneByteAtATime << false << rec('A') + rec('N') + rec('C');
    QTest::newRow("overwrite: short write, then disk full")
        << false << abc << QList<int>{5, -1} << true << abc;
    QTest::newRow("overwrite: disk full at once") << false << abc << QList<int>{-1} << true << abc;
    QTest::newRow("overwrite: nothing taken") << false << abc << QList<int>{0} << true << abc;
    QTest::newRow("overwrite: short write, then nothing taken")
        << false << abc + tail << QList<int>{9, 0} << true << abc + tail;

    QTest::newRow("append: short write, then the rest")
        << true << ab << QList<int>{5} << false << ab + rec('N');
    QTest::newRow("append: short write, then disk full") << true << ab << QList<int>{5, -1} << true << ab;
    QTest::newRow("append to an empty file: disk full")
        << true << QByteArray() << QList<int>{3, -1} << true << QByteArray();
    QTest::newRow("append over a partial record: short write, then the rest")
        << true << ab + tail << QList<int>{2, 2} << false << ab + rec('N');
    QTest::newRow("append over a partial record: short write, then disk full")
        << true << ab + tail << QList<int>{2, -1} << true << ab + tail;
    QTest::newRow("append over a partial record: disk full past its end")
        << true << ab + tail << QList<int>{7, -1} << true << ab + tail;
}

void TestRecordFile::faultyDevice()
{
    QFETCH(bool, append);
    QFETCH(QByteArray, before);
    QFETCH(QList<int>, script);
    QFETCH(bool, fails);
    QFETCH(QByteArray, after);
    const QString path = m_dir.filePath(QStringLiteral("faulty.mus"));
    writeFile(path, before);
    bool failed = false;
    QString error;
    try {
        RecordFile file(std::make_unique<ScriptedFile>(path, script), kSize);
        if (append)
            QCOMPARE(file.append(rec('N')), qint64(before.size() / kSize + 1));
        else
            file.write(2, rec('N'));
    } catch (const FileError &e) {
        failed = true;
        error = e.description();
    }
    QCOMPARE(failed, fails);
    QCOMPARE(fileContent(path), after);
    // A failure that was repaired on the spot leaves no journal to roll back.
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
    // The failure reported is the system's own, not the outcome of the repair after it.
    if (script.contains(-1))
        QCOMPARE(error, kDiskFull);
}

void TestRecordFile::sizeLimitCutsFailedAppendBack_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("room"); // bytes the system accepts beyond the current end
    QTest::newRow("after whole records") << rec('A') + rec('B') << 5;
    QTest::newRow("into an empty file") << QByteArray() << 1;
    QTest::newRow("over a partial record") << rec('A') + QByteArray("xyz") << 4;
    QTest::newRow("no room at all") << rec('A') << 0;
}

void TestRecordFile::sizeLimitCutsFailedAppendBack()
{
    QFETCH(QByteArray, before);
    QFETCH(int, room);
    const QString path = m_dir.filePath(QStringLiteral("limit.mus"));
    writeFile(path, before);
    {
        RecordFile file(path, kSize);
        FileSizeLimit limit(before.size() + room);
        QVERIFY_THROWS_EXCEPTION(FileError, file.append(rec('N')));
    }
    QCOMPARE(fileContent(path), before);

    // Once there is room again, the same append lands whole in the same place.
    RecordFile file(path, kSize);
    QCOMPARE(file.append(rec('N')), qint64(before.size() / kSize + 1));
    QCOMPARE(file.read(qint64(before.size() / kSize + 1)), rec('N'));
}

void TestRecordFile::fullDevice()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full on this system");
    RecordFile file(QStringLiteral("/dev/full"), kSize);
    try {
        file.append(rec('N'));
        QFAIL("an append to a full device was reported as done");
    } catch (const FileError &e) {
        QVERIFY(!e.description().isEmpty());
    }
}

void TestRecordFile::diskFailingForGoodKeepsTheOldRecord()
{
    // Whatever the byte at which the disk dies, in the record or in the repair after it, the
    // card read at the next opening is the old one, and its neighbours are untouched.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Rock.mus"));
    const QByteArray before = card('A') + kOld + card('C');
    for (qint64 k = 0; k <= kCard; ++k) {
        writeFile(path, before);
        bool failed = false;
        try {
            RecordFile file(std::make_unique<DyingFile>(path, k), kCard);
            file.write(2, kNew);
        } catch (const FileError &) {
            failed = true;
        }
        QVERIFY2(failed == (k < kCard), qPrintable(QStringLiteral("k = %1").arg(k)));
        if (k > 0 && k < kCard) {
            // The failure left a torn card behind, and the journal that mends it.
            QCOMPARE(fileContent(path), card('A') + kNew.left(k) + kOld.mid(k) + card('C'));
            QVERIFY(QFileInfo::exists(RecordFile::journalPath(path)));
        }
        RecordFile reopened(path, kCard);
        QCOMPARE(reopened.count(), qint64(3));
        QVERIFY2(reopened.read(2) == (failed ? kOld : kNew), qPrintable(QStringLiteral("k = %1").arg(k)));
        QCOMPARE(reopened.read(1), card('A'));
        QCOMPARE(reopened.read(3), card('C'));
        QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Rock.mus")});
}

void TestRecordFile::killMidWriteIsRolledBack()
{
    const QString path = m_dir.filePath(QStringLiteral("kill.mus"));
    writeFile(path, card('A') + kOld);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        try {
            RecordFile file(std::make_unique<KilledFile>(path), kCard);
            file.write(2, kNew);
        } catch (...) {
        }
        ::_exit(1); // not reached when the kill came
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the writer was not killed mid-write");
    QCOMPARE(fileContent(path), card('A') + kNew.left(kCard / 2) + kOld.mid(kCard / 2));
    QVERIFY(QFileInfo::exists(RecordFile::journalPath(path)));

    // Any reader that opens the file next, even a search, finds the old card back.
    {
        RecordFile file(path, kCard);
        QList<QByteArray> seen;
        file.scan([&](qint64, const QByteArray &r) {
            seen << r;
            return true;
        });
        QCOMPARE(seen, (QList<QByteArray>{card('A'), kOld}));
    }
    QCOMPARE(fileContent(path), card('A') + kOld);
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
}

void TestRecordFile::unusableJournalIsDiscarded_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QByteArray>("record"); // record 2 of the file when it is opened
    // A journal cut short was still being written: the record had not been touched yet.
    QTest::newRow("journal cut short, at every length") << "cut" << kOld;
    // The write ended but the journal was not removed; a damaged journal must not undo it with
    // what it holds.
    QTest::newRow("damaged journal") << "flip" << kNew;
    QTest::newRow("record changed since") << "changed" << kOther;
    QTest::newRow("file shorter than the journal's record") << "short" << QByteArray();
}

void TestRecordFile::unusableJournalIsDiscarded()
{
    QFETCH(QString, damage);
    QFETCH(QByteArray, record);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Cantanti.pro"));
    const QString journal = RecordFile::journalPath(path);
    // A real journal: the one a disk that died in the middle of the record leaves behind.
    writeFile(path, card('A') + kOld);
    try {
        RecordFile file(std::make_unique<DyingFile>(path, kCard / 2), kCard);
        file.write(2, kNew);
        QFAIL("the write did not fail");
    } catch (const FileError &) {
    }
    const QByteArray saved = fileContent(journal);
    QVERIFY(saved.size() > 2 * kCard);

    QByteArray content = card('A') + record;
    QList<QByteArray> journals{saved};
    if (damage == QLatin1String("cut")) {
        journals.clear();
        for (int n = 0; n < saved.size(); ++n)
            journals << saved.left(n);
    } else if (damage == QLatin1String("flip")) {
        // A byte of the old record kept in it: applied, it would make a third card.
        QByteArray flipped = saved;
        flipped[saved.size() - 32 - 2 * kCard + 5] ^= 0x20;
        journals = {flipped};
    } else if (damage == QLatin1String("short")) {
        content = card('A');
    }
    for (const QByteArray &j : journals) {
        writeFile(path, content);
        writeFile(journal, j);
        {
            RecordFile file(path, kCard);
            QVERIFY(!QFileInfo::exists(journal));
        }
        QVERIFY2(fileContent(path) == content, qPrintable(QStringLiteral("journal of %1 bytes").arg(j.size())));
    }
}

void TestRecordFile::secondCopyWaitsForTheWriter()
{
    // Another copy of the program opening the file while a write is in progress must not take the
    // writer's journal for a leftover and undo its write.
    const QString path = m_dir.filePath(QStringLiteral("shared.mus"));
    writeFile(path, card('A') + kOld);
    int pipeFds[2];
    QCOMPARE(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        try {
            RecordFile file(std::make_unique<SlowFile>(path, pipeFds[1]), kCard);
            file.write(2, kNew);
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    char done = 0;
    QCOMPARE(::read(pipeFds[0], &done, 1), ssize_t(1));
    ::close(pipeFds[0]);
    {
        RecordFile file(path, kCard);
        QCOMPARE(file.read(2), kNew);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(fileContent(path), card('A') + kNew);
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
}

void TestRecordFile::batchAppend_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<int>>("script");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QByteArray>("after");
    const QByteArray ab = rec('A') + rec('B');
    const QByteArray batch = rec('N') + rec('O') + rec('P');
    const QByteArray tail = "xyz";
    QTest::newRow("whole") << ab << QList<int>{} << false << ab + batch;
    QTest::newRow("short writes, then the rest") << ab << QList<int>{5, 20} << false << ab + batch;
    QTest::newRow("disk full in the second record") << ab << QList<int>{20, -1} << true << ab;
    QTest::newRow("disk full at once") << ab << QList<int>{-1} << true << ab;
    QTest::newRow("nothing taken in the last record") << ab << QList<int>{40, 0} << true << ab;
    QTest::newRow("into an empty file, disk full") << QByteArray() << QList<int>{3, -1} << true << QByteArray();
    QTest::newRow("over a partial record") << ab + tail << QList<int>{} << false << ab + batch;
    QTest::newRow("over a partial record, disk full") << ab + tail << QList<int>{7, -1} << true << ab + tail;
    QTest::newRow("over a partial record, disk full past its end")
        << ab + tail << QList<int>{30, -1} << true << ab + tail;
}

void TestRecordFile::batchAppend()
{
    QFETCH(QByteArray, before);
    QFETCH(QList<int>, script);
    QFETCH(bool, fails);
    QFETCH(QByteArray, after);
    const QString path = m_dir.filePath(QStringLiteral("batch.mus"));
    writeFile(path, before);
    bool failed = false;
    try {
        RecordFile file(std::make_unique<ScriptedFile>(path, script), kSize);
        QCOMPARE(file.appendBatch(rec('N') + rec('O') + rec('P')), qint64(before.size() / kSize + 1));
    } catch (const BatchAppendError &e) {
        failed = true;
        QVERIFY(e.undone());
        if (script.contains(-1))
            QCOMPARE(e.description(), kDiskFull);
    }
    QCOMPARE(failed, fails);
    QCOMPARE(fileContent(path), after);
}

void TestRecordFile::batchSizeLimit()
{
    // A real short write from the kernel in the middle of the batch: every record or none.
    const QString path = m_dir.filePath(QStringLiteral("batchlimit.mus"));
    const QByteArray before = rec('A') + QByteArray("xy");
    writeFile(path, before);
    QByteArray batch;
    for (char c = 'a'; c < 'a' + 10; ++c)
        batch += rec(c);
    {
        RecordFile file(path, kSize);
        FileSizeLimit limit(3 * kSize + 5);
        try {
            file.appendBatch(batch);
            QFAIL("a batch past the size limit was reported as done");
        } catch (const BatchAppendError &e) {
            QVERIFY(e.undone());
        }
    }
    QCOMPARE(fileContent(path), before);
    RecordFile file(path, kSize);
    QCOMPARE(file.appendBatch(batch), qint64(2));
    QCOMPARE(fileContent(path), rec('A') + batch);
}

void TestRecordFile::batchAndSingleAppendersLoseNothing()
{
    // Two appenders on separate opens of one file, as two copies of the program would be: the
    // lock keeps each batch in one piece and every single record in a slot of its own.
    const QString path = m_dir.filePath(QStringLiteral("shared.mus"));
    writeFile(path, QByteArray());
    constexpr int kBatches = 20, kBatchSize = 50, kSingles = 300;
    std::thread batches([&] {
        for (int b = 0; b < kBatches; ++b) {
            QByteArray records;
            for (int i = 0; i < kBatchSize; ++i) {
                QByteArray r = rec('B');
                r[1] = char(b);
                r[2] = char(i);
                records += r;
            }
            RecordFile file(path, kSize);
            file.appendBatch(records);
        }
    });
    for (int i = 0; i < kSingles; ++i) {
        RecordFile file(path, kSize);
        QByteArray r = rec('S');
        r[1] = char(i & 0xFF);
        r[2] = char(i >> 8);
        file.append(r);
    }
    batches.join();

    const QByteArray all = fileContent(path);
    QCOMPARE(all.size(), (kBatches * kBatchSize + kSingles) * kSize);
    int singles = 0;
    QList<int> batchSeen;
    for (int at = 0; at < all.size(); at += kSize) {
        const QByteArray r = all.mid(at, kSize);
        if (r.at(0) == 'S') {
            QCOMPARE(int(uchar(r.at(1))) | int(uchar(r.at(2))) << 8, singles);
            ++singles;
            continue;
        }
        QCOMPARE(r.at(0), 'B');
        QCOMPARE(int(r.at(2)), 0); // a batch starts here and runs unbroken
        for (int i = 0; i < kBatchSize; ++i) {
            const QByteArray next = all.mid(at + i * kSize, kSize);
            QCOMPARE(next.at(0), 'B');
            QCOMPARE(int(next.at(1)), int(r.at(1)));
            QCOMPARE(int(next.at(2)), i);
        }
        batchSeen << int(r.at(1));
        at += (kBatchSize - 1) * kSize;
    }
    QCOMPARE(singles, kSingles);
    QCOMPARE(batchSeen.size(), kBatches);
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
