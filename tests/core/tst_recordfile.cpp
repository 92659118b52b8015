#include "TestFiles.h"
#include "core/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <thread>
#include <sys/resource.h>

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
    void batchAppend_data();
    void batchAppend();
    void batchSizeLimit();
    void batchAndSingleAppendersLoseNothing();

private:
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

// While alive, no file of this process may grow past `limit` bytes: the kernel takes what
// fits and refuses the rest (even to root), a real short write.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = m_saved;
        tiny.rlim_cur = rlim_t(limit);
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

} // namespace

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
