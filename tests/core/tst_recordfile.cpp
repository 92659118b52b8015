#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "core/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

#include <QDir>

#include <csignal>
#include <memory>
#include <thread>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

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

    void journalAgainstHistories_data();
    void journalAgainstHistories();
    void journalThroughLinkNames_data();
    void journalThroughLinkNames();
    void foreignJournalIsSetAside_data();
    void foreignJournalIsSetAside();
    void readerNeverSeesAHalfWrittenRecord();
    void batchKilledAtEveryStep_data();
    void batchKilledAtEveryStep();
    void batchOverPartialRecordOnADyingDisk();
    void removeAndInsert_data();
    void removeAndInsert();
    void removeAndInsertOnADyingDisk_data();
    void removeAndInsertOnADyingDisk();
    void removeAndInsertKilledAtEveryStep_data();
    void removeAndInsertKilledAtEveryStep();

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
// included, is refused. With `kill`, the process is killed instead (kill -9 at any byte).
class DyingFile : public QFile
{
public:
    DyingFile(const QString &path, qint64 budget, bool kill = false)
        : QFile(path)
        , m_budget(budget)
        , m_kill(kill)
    {
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (m_kill && m_budget < len) {
            QFile::writeData(data, m_budget);
            ::kill(::getpid(), SIGKILL);
        }
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
    bool m_kill;
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

RecordFile::Step s_killAt;
void killAtStep(RecordFile::Step step)
{
    if (step == s_killAt)
        ::kill(::getpid(), SIGKILL);
}

// Runs `work` in a child process that is expected to die by SIGKILL; true when it did.
template <typename Work> bool killedChild(Work work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

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
    // A real journal: the one a disk that died in the middle of the record leaves behind.
    writeFile(path, card('A') + kOld);
    const QString journal = RecordFile::journalPath(path);
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
        FileSizeLimit limit(6 * kSize + 5); // room for the journal, not for the batch
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

namespace
{

// A journal as the program writes it, with a valid checksum, whatever numbers it is given.
QByteArray craftJournal(quint32 kind, quint32 recordSize, const QString &archive, quint64 length, quint64 offset,
                        quint64 count, const QByteArray &data)
{
    struct stat st = {};
    ::stat(QFile::encodeName(archive).constData(), &st);
    QByteArray out("CANTJRN2");
    out.resize(64);
    char *at = out.data() + 8;
    qToLittleEndian(kind, at);
    qToLittleEndian(recordSize, at + 4);
    qToLittleEndian(quint64(st.st_dev), at + 8);
    qToLittleEndian(quint64(st.st_ino), at + 16);
    qToLittleEndian(length, at + 24);
    qToLittleEndian(offset, at + 32);
    qToLittleEndian(count, at + 40);
    qToLittleEndian(quint64(data.size()), at + 48);
    out += data;
    char sum[4];
    qToLittleEndian(quint32(::crc32(0, reinterpret_cast<const Bytef *>(out.constData()), uInt(out.size()))), sum);
    return out + QByteArray(sum, 4);
}

// Leaves `path` as a writer that died in the middle of replacing kOld with kNew leaves it: a torn
// record 2 and the journal beside it.
void dieMidWrite(const QString &writtenAs, qint64 budget = kCard / 2)
{
    try {
        RecordFile file(std::make_unique<DyingFile>(writtenAs, budget), kCard);
        file.write(2, kNew);
    } catch (const FileError &) {
        return;
    }
    QFAIL("the write did not fail");
}

QByteArray cards(int n)
{
    QByteArray all;
    for (int i = 0; i < n; ++i)
        all += card(char('A' + 3 * i));
    return all;
}

} // namespace

void TestRecordFile::journalAgainstHistories_data()
{
    QTest::addColumn<QByteArray>("restored"); // the file the user copies back after the crash
    QTest::addColumn<bool>("asNewFile");      // copied in place of the old file rather than over it
    QTest::addColumn<QByteArray>("expected"); // record 2 at the next opening
    const QByteArray torn = kNew.left(kCard / 2) + kOld.mid(kCard / 2);
    // Old title, new rating: made only of the journal's two records.
    const QByteArray mixed = kOld.left(kCard / 2) + kNew.mid(kCard / 2);
    QTest::newRow("nothing copied back: the torn record") << card('A') + torn << false << kOld;
    QTest::newRow("backup holding the new record") << card('A') + kNew << false << kNew;
    QTest::newRow("backup holding the old record") << card('A') + kOld << false << kOld;
    QTest::newRow("backup with old title and new rating, copied in place")
        << card('A') + mixed << true << mixed;
    QTest::newRow("backup with one card more, copied over") << card('A') + mixed + card('C') << false << mixed;
    QTest::newRow("backup with one card less") << card('A') << false << QByteArray();
}

void TestRecordFile::journalAgainstHistories()
{
    // Card 2 goes from kOld to kNew and the disk dies half-way; what the user does next decides
    // what the journal may still do.
    QFETCH(QByteArray, restored);
    QFETCH(bool, asNewFile);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Rock.mus"));
    writeFile(path, card('A') + kOld);
    dieMidWrite(path);
    QVERIFY(QFileInfo::exists(RecordFile::journalPath(path)));
    if (asNewFile) {
        writeFile(path + QStringLiteral(".bak"), restored);
        QCOMPARE(::rename(QFile::encodeName(path + QStringLiteral(".bak")).constData(),
                          QFile::encodeName(path).constData()),
                 0);
    } else {
        writeFile(path, restored);
    }
    {
        RecordFile file(path, kCard);
        if (!expected.isEmpty())
            QCOMPARE(file.read(2), expected);
        QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
    }
    QCOMPARE(fileContent(path).size(), restored.size());
    if (!expected.isEmpty())
        QCOMPARE(fileContent(path).mid(kCard, kCard), expected);
}

void TestRecordFile::journalThroughLinkNames_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("symbolic");
    QTest::newRow("symbolic link beside the file") << "alias.mus" << true;
    QTest::newRow("symbolic link in another folder") << "altrove/alias.mus" << true;
    QTest::newRow("hard link") << "copia.mus" << false;
}

void TestRecordFile::journalThroughLinkNames()
{
    // Every name of one file finds its journal: a copy opening the file by another name repairs
    // the torn record first, and its own later write is never undone by the first name's journal.
    QFETCH(QString, link);
    QFETCH(bool, symbolic);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("altrove")));
    const QString path = dir.filePath(QStringLiteral("Rock.mus"));
    const QString other = dir.filePath(link);
    writeFile(path, card('A') + kOld);
    if (symbolic)
        QVERIFY(QFile::link(path, other));
    else
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    QCOMPARE(RecordFile::journalPath(other), RecordFile::journalPath(path));

    for (const auto &[dying, opening] : {std::pair{other, path}, std::pair{path, other}}) {
        writeFile(path, card('A') + kOld);
        dieMidWrite(dying);
        {
            RecordFile file(opening, kCard);
            QCOMPARE(file.read(2), kOld);
            file.write(2, kOther);
        }
        RecordFile file(dying, kCard);
        QCOMPARE(file.read(2), kOther);
        QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
    }
}

void TestRecordFile::foreignJournalIsSetAside_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("folder") << "folder";
    QTest::newRow("link to a file") << "link";
    QTest::newRow("offset past 2^63, valid checksum") << "offset";
    QTest::newRow("length past 2^63, valid checksum") << "length";
    QTest::newRow("data size of 2^64 - 1, valid checksum") << "data";
    QTest::newRow("another record size, valid checksum") << "size";
    QTest::newRow("a batch of 0 records, valid checksum") << "batch";
    QTest::newRow("someone's text") << "text";
    QTest::newRow("a journal with bytes after it") << "long";
}

void TestRecordFile::foreignJournalIsSetAside()
{
    // Whatever sits under the journal's name, the archive opens (never blocks) and reads, and what
    // was there is kept, unread, under another name.
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Cantanti.pro"));
    const QByteArray content = card('A') + kOld;
    writeFile(path, content);
    const QString journal = RecordFile::journalPath(path);
    const QByteArray j = QFile::encodeName(journal);
    const QString target = dir.filePath(QStringLiteral("someone.txt"));
    writeFile(target, "not to be touched");
    QByteArray bytes;
    const QByteArray pair = kOld + kNew;
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(j.constData(), 0600), 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(journal));
    else if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(target, journal));
    else if (kind == QLatin1String("offset"))
        bytes = craftJournal(1, kCard, path, 2 * kCard, quint64(1) << 63, 0, pair);
    else if (kind == QLatin1String("length"))
        bytes = craftJournal(1, kCard, path, quint64(1) << 63, kCard, 0, pair);
    else if (kind == QLatin1String("data")) {
        bytes = craftJournal(1, kCard, path, 2 * kCard, kCard, 0, pair);
        qToLittleEndian(~quint64(0), bytes.data() + 56);
    } else if (kind == QLatin1String("size"))
        bytes = craftJournal(1, kCard / 2, path, 2 * kCard, kCard, 0, pair);
    else if (kind == QLatin1String("batch"))
        bytes = craftJournal(2, kCard, path, 2 * kCard, 2 * kCard, 0, QByteArray());
    else if (kind == QLatin1String("text"))
        bytes = QByteArray("appunti della prova di sabato\n").repeated(20);
    else
        bytes = craftJournal(1, kCard, path, 2 * kCard, kCard, 0, pair) + "x";
    if (!bytes.isEmpty())
        writeFile(journal, bytes);

    {
        RecordFile file(path, kCard);
        QCOMPARE(file.read(2), kOld);
        file.write(2, kNew);
    }
    QCOMPARE(fileContent(path), card('A') + kNew);
    QVERIFY(!QFileInfo::exists(journal) && !QFileInfo(journal).isSymLink());
    const QString aside = journal + QStringLiteral(".scartato-1");
    struct stat st = {};
    QCOMPARE(::lstat(QFile::encodeName(aside).constData(), &st), 0);
    if (kind == QLatin1String("fifo"))
        QVERIFY(S_ISFIFO(st.st_mode));
    else if (kind == QLatin1String("folder"))
        QVERIFY(S_ISDIR(st.st_mode));
    else if (kind == QLatin1String("link"))
        QVERIFY(S_ISLNK(st.st_mode));
    else
        QCOMPARE(fileContent(aside), bytes);
    QCOMPARE(fileContent(target), QByteArray("not to be touched"));
}

void TestRecordFile::readerNeverSeesAHalfWrittenRecord()
{
    // Another process overwrites card 2 one byte per system call, over and over; every read and
    // every scan here sees the whole old card or the whole new one.
    const QString path = m_dir.filePath(QStringLiteral("readers.mus"));
    writeFile(path, card('A') + kOld + card('C'));
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        for (int i = 0; i < 150; ++i) {
            try {
                RecordFile file(std::make_unique<ScriptedFile>(path, QList<int>(kCard, 1)), kCard);
                file.write(2, i % 2 ? kOld : kNew);
            } catch (...) {
                ::_exit(1);
            }
        }
        ::_exit(0);
    }
    int status = 0, torn = 0, reads = 0;
    pid_t ended = 0;
    while ((ended = ::waitpid(child, &status, WNOHANG)) == 0) {
        RecordFile file(path, kCard);
        const QByteArray r = file.read(2);
        torn += r != kOld && r != kNew;
        file.scan([&](qint64 position, const QByteArray &s) {
            if (position == 2)
                torn += s != kOld && s != kNew;
            return true;
        });
        ++reads;
    }
    QCOMPARE(ended, child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(torn, 0);
    QCOMPARE(fileContent(path), card('A') + kOld + card('C'));
    qInfo("%d reads", reads);
}

void TestRecordFile::batchKilledAtEveryStep_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("budget"); // bytes of the batch written before the kill; -1: at a step
    QTest::addColumn<int>("step");
    const QByteArray batch = rec('N') + rec('O') + rec('P');
    for (const QByteArray &before : {rec('A') + rec('B'), rec('A') + QByteArray("xyz"), QByteArray()}) {
        const QByteArray name = before.size() % kSize ? "over a partial record" : before.isEmpty() ? "empty" : "whole";
        for (RecordFile::Step step : {RecordFile::Step::Journaled, RecordFile::Step::Changed, RecordFile::Step::Synced})
            QTest::addRow("%s, step %d", name.constData(), int(step)) << before << -1 << int(step);
        for (int budget = 0; budget < batch.size(); ++budget)
            QTest::addRow("%s, byte %d", name.constData(), budget) << before << budget << 0;
    }
}

void TestRecordFile::batchKilledAtEveryStep()
{
    // Killed anywhere before it returns, a batch leaves every card or none: the next opening cuts
    // back what it had written.
    QFETCH(QByteArray, before);
    QFETCH(int, budget);
    QFETCH(int, step);
    const QString path = m_dir.filePath(QStringLiteral("killed-batch.mus"));
    writeFile(path, before);
    QVERIFY(killedChild([&] {
        const QByteArray batch = rec('N') + rec('O') + rec('P');
        if (budget >= 0) {
            RecordFile file(std::make_unique<DyingFile>(path, budget, true), kSize);
            file.appendBatch(batch);
        } else {
            s_killAt = RecordFile::Step(step);
            RecordFile::setStepHook(&killAtStep);
            RecordFile file(path, kSize);
            file.appendBatch(batch);
        }
    }));
    {
        RecordFile file(path, kSize);
        QCOMPARE(file.count(), qint64(before.size() / kSize));
    }
    QCOMPARE(fileContent(path), before);
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
}

void TestRecordFile::batchOverPartialRecordOnADyingDisk()
{
    // The disk dies for good at every byte of a batch that covers a partial record: the message
    // can say exactly what was lost, only that fragment, and the next opening brings it back.
    const QString path = m_dir.filePath(QStringLiteral("dying-batch.mus"));
    const QByteArray before = rec('A') + rec('B') + QByteArray("xyz");
    const QByteArray batch = rec('N') + rec('O') + rec('P');
    for (int budget = 0; budget < batch.size(); ++budget) {
        writeFile(path, before);
        try {
            RecordFile file(std::make_unique<DyingFile>(path, budget), kSize);
            file.appendBatch(batch);
            QFAIL("the batch did not fail");
        } catch (const BatchAppendError &e) {
            QCOMPARE(e.outcome(), BatchAppendError::Outcome::PartialRecordLost);
            QCOMPARE(e.lostBytes(), qint64(3));
        }
        QCOMPARE(fileContent(path), rec('A') + rec('B'));
        {
            RecordFile file(path, kSize);
            QCOMPARE(file.count(), qint64(2));
        }
        QCOMPARE(fileContent(path), before);
        QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
    }
}

void TestRecordFile::removeAndInsert_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("tail");
    QTest::newRow("first of four") << 4 << 1 << QByteArray();
    QTest::newRow("middle of four") << 4 << 3 << QByteArray();
    QTest::newRow("last of four") << 4 << 4 << QByteArray();
    QTest::newRow("the only one") << 1 << 1 << QByteArray();
    QTest::newRow("first, before a partial record") << 3 << 1 << QByteArray("xyz");
    QTest::newRow("last, before a partial record") << 3 << 3 << QByteArray("xyz");
}

void TestRecordFile::removeAndInsert()
{
    QFETCH(int, records);
    QFETCH(int, position);
    QFETCH(QByteArray, tail);
    const QString path = m_dir.filePath(QStringLiteral("delete.mus"));
    const QByteArray before = cards(records) + tail;
    const QByteArray removed = before.mid((position - 1) * kCard, kCard);
    QByteArray after = before;
    after.remove((position - 1) * kCard, kCard);
    writeFile(path, before);
    {
        RecordFile file(path, kCard);
        for (const qint64 outside : {qint64(0), qint64(records + 1)})
            QVERIFY_THROWS_EXCEPTION(FileError, file.remove(outside));
        QVERIFY_THROWS_EXCEPTION(FileError, file.insert(records + 2, kNew));
        QCOMPARE(fileContent(path), before);

        file.remove(position);
        QCOMPARE(file.count(), qint64(records - 1));
        if (position < records)
            QCOMPARE(file.read(position), before.mid(position * kCard, kCard));
    }
    QCOMPARE(fileContent(path), after);
    {
        RecordFile file(path, kCard);
        file.insert(position, removed);
        QCOMPARE(file.read(position), removed);
    }
    QCOMPARE(fileContent(path), before);
    QCOMPARE(entries().filter(QStringLiteral("journal")), QStringList());
}

void TestRecordFile::removeAndInsertOnADyingDisk_data()
{
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("position");
    QTest::newRow("remove the first") << false << 1;
    QTest::newRow("remove the third") << false << 3;
    QTest::newRow("insert as the first") << true << 1;
    QTest::newRow("insert as the fourth") << true << 4;
    QTest::newRow("insert at the end") << true << 5;
}

// The file before and after removing card `position` of four (or inserting kNew there), with a
// partial record at the end, and how many bytes the change writes.
struct Change {
    QByteArray before, after;
    qint64 written;
};

Change changeOf(bool insert, int position)
{
    Change c;
    c.before = cards(4) + "xyz";
    c.after = c.before;
    const qint64 at = (position - 1) * kCard;
    if (insert)
        c.after.insert(at, kNew);
    else
        c.after.remove(at, kCard);
    c.written = c.before.size() - at - (insert ? 0 : kCard) + (insert ? kCard : 0);
    return c;
}

void RecordFileApply(RecordFile &file, bool insert, int position)
{
    if (insert)
        file.insert(position, kNew);
    else
        file.remove(position);
}

void TestRecordFile::removeAndInsertOnADyingDisk()
{
    // The disk dies for good at every byte the change writes, the repair included: the next
    // opening finds the old file, or the new one once everything was written; never a mix.
    QFETCH(bool, insert);
    QFETCH(int, position);
    const Change c = changeOf(insert, position);
    const QString path = m_dir.filePath(QStringLiteral("dying.mus"));
    for (qint64 budget = 0; budget <= c.written; ++budget) {
        writeFile(path, c.before);
        bool failed = false;
        try {
            RecordFile file(std::make_unique<DyingFile>(path, budget), kCard);
            RecordFileApply(file, insert, position);
        } catch (const FileError &) {
            failed = true;
        }
        QVERIFY2(failed == (budget < c.written), qPrintable(QString::number(budget)));
        {
            RecordFile file(path, kCard);
            QCOMPARE(file.count(), qint64((failed ? c.before : c.after).size() / kCard));
        }
        QVERIFY2(fileContent(path) == (failed ? c.before : c.after), qPrintable(QString::number(budget)));
        QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
    }
    // A disk that refuses once and then works again: put back at once, nothing left to repair.
    writeFile(path, c.before);
    {
        RecordFile file(std::make_unique<ScriptedFile>(path, QList<int>{kCard, -1}), kCard);
        QVERIFY_THROWS_EXCEPTION(FileError, RecordFileApply(file, insert, position));
    }
    QCOMPARE(fileContent(path), c.before);
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
}

void TestRecordFile::removeAndInsertKilledAtEveryStep_data()
{
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("budget"); // bytes written before the kill; -1: at a step
    QTest::addColumn<int>("step");
    for (const bool insert : {false, true}) {
        for (const int position : {1, 3}) {
            const char *op = insert ? "insert" : "remove";
            for (RecordFile::Step step :
                 {RecordFile::Step::Journaled, RecordFile::Step::Changed, RecordFile::Step::Synced})
                QTest::addRow("%s %d, step %d", op, position, int(step)) << insert << position << -1 << int(step);
            for (qint64 budget = 0; budget < changeOf(insert, position).written; ++budget)
                QTest::addRow("%s %d, byte %lld", op, position, budget) << insert << position << int(budget) << 0;
        }
    }
}

void TestRecordFile::removeAndInsertKilledAtEveryStep()
{
    QFETCH(bool, insert);
    QFETCH(int, position);
    QFETCH(int, budget);
    QFETCH(int, step);
    const Change c = changeOf(insert, position);
    const QString path = m_dir.filePath(QStringLiteral("killed.mus"));
    writeFile(path, c.before);
    QVERIFY(killedChild([&] {
        if (budget >= 0) {
            RecordFile file(std::make_unique<DyingFile>(path, budget, true), kCard);
            RecordFileApply(file, insert, position);
        } else {
            s_killAt = RecordFile::Step(step);
            RecordFile::setStepHook(&killAtStep);
            RecordFile file(path, kCard);
            RecordFileApply(file, insert, position);
        }
    }));
    // Once the change is all written, it stands; before that, the old file comes back.
    const bool done = budget < 0 && RecordFile::Step(step) != RecordFile::Step::Journaled;
    {
        RecordFile file(path, kCard);
        QCOMPARE(file.count(), qint64((done ? c.after : c.before).size() / kCard));
    }
    QCOMPARE(fileContent(path), done ? c.after : c.before);
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
