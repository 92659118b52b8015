#include "TestFiles.h"
#include "records/SongCard.h"
#include "core/RecordFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

// A collection file seen through the shared record file with the song card's record size.
class TestCollectionFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void countsWholeRecords_data();
    void countsWholeRecords();
    void appendGoesAfterLastWholeCard_data();
    void appendGoesAfterLastWholeCard();
    void writeTouchesOneRecord();
    void readsBackWhatWasWritten();
    void missingFileCreatedEmpty();
    void unusablePathFailsAndCreatesNothing_data();
    void unusablePathFailsAndCreatesNothing();
    void twoProcessesAppendAtOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir; // a fresh one for each test
};

namespace
{

constexpr int kSize = SongCard::kSize;

// A card whose every byte says which card it is, remains after the zeros included.
QByteArray marked(int n)
{
    QByteArray record(kSize, char('A' + n % 26));
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("Canzone %1").arg(n));
    const QByteArray fields = card.encode();
    record.replace(0, 121, fields.left(121));
    return record;
}

QByteArray cards(int k)
{
    QByteArray all;
    for (int i = 1; i <= k; ++i)
        all += marked(i);
    return all;
}

// Waits until the condition holds; false when it never did.
bool waitFor(const std::function<bool()> &condition)
{
    QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::usleep(200);
    }
    return true;
}

// Helper mode: say "ready" (the file pronto-<tag> in the meeting folder), wait for the start
// signal (the file via there), then append `count` cards tagged with `tag`, one command (open,
// append, close) per card as the editor does, and print each position in order. After its first
// card it waits until the file holds two, so that neither copy can finish before the other has
// begun.
int appendHelper(const QString &path, const QString &tag, int count, const QString &meeting)
{
    QFile ready(meeting + QStringLiteral("/pronto-") + tag);
    if (!ready.open(QIODevice::WriteOnly))
        return 4;
    ready.close();
    if (!waitFor([&] { return QFile::exists(meeting + QStringLiteral("/via")); }))
        return 2;
    QTextStream out(stdout);
    for (int i = 0; i < count; ++i) {
        SongCard card;
        card.setText(SongCard::Titolo, QStringLiteral("%1-%2").arg(tag).arg(i));
        card.setText(SongCard::Cantante, tag);
        card.setText(SongCard::Testo,
                     QString(4000, tag.at(0)) + QStringLiteral("\n") + card.text(SongCard::Titolo));
        card.setText(SongCard::Note, card.text(SongCard::Titolo));
        try {
            RecordFile file(path, kSize);
            out << file.append(card.encode()) << '\n';
        } catch (const FileError &e) {
            QTextStream(stderr) << e.description() << '\n';
            return 1;
        }
        if (i == 0 && !waitFor([&] { return QFileInfo(path).size() >= 2 * kSize; }))
            return 3;
    }
    return 0;
}

} // namespace

void TestCollectionFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestCollectionFile::cleanup()
{
    m_dir.reset();
}

void TestCollectionFile::countsWholeRecords_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("one card") << kSize << 1;
    QTest::newRow("three cards") << 3 * kSize << 3;
    QTest::newRow("partial record only") << kSize - 1 << 0;
    QTest::newRow("two cards and a partial one") << 2 * kSize + 100 << 2;
}

void TestCollectionFile::countsWholeRecords()
{
    QFETCH(int, length);
    QFETCH(int, count);
    const QString path = m_dir->filePath(QStringLiteral("count.mus"));
    writeFile(path, QByteArray(length, 'x'));
    RecordFile file(path, kSize);
    QCOMPARE(file.count(), qint64(count));
    int scanned = 0;
    file.scan([&](qint64 position, const QByteArray &record) {
        ++scanned;
        return position >= 1 && record.size() == kSize;
    });
    QCOMPARE(scanned, count);
}

void TestCollectionFile::appendGoesAfterLastWholeCard_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("trailing"); // bytes of a partial record after the k cards
    QTest::newRow("into empty") << 0 << 0;
    QTest::newRow("after three") << 3 << 0;
    QTest::newRow("over a partial record") << 2 << 500;
    QTest::newRow("over an almost whole record") << 1 << kSize - 1;
}

void TestCollectionFile::appendGoesAfterLastWholeCard()
{
    QFETCH(int, k);
    QFETCH(int, trailing);
    const QString path = m_dir->filePath(QStringLiteral("append.mus"));
    writeFile(path, cards(k) + QByteArray(trailing, '#'));
    {
        RecordFile file(path, kSize);
        QCOMPARE(file.append(marked(99)), qint64(k + 1));
    }
    const QByteArray after = fileContent(path);
    QCOMPARE(after.size(), (k + 1) * kSize);
    QCOMPARE(after.left(k * kSize), cards(k));
    QCOMPARE(after.mid(k * kSize), marked(99));
}

void TestCollectionFile::writeTouchesOneRecord()
{
    const QString path = m_dir->filePath(QStringLiteral("write.mus"));
    writeFile(path, cards(3));
    {
        RecordFile file(path, kSize);
        file.write(2, marked(42));
    }
    const QByteArray after = fileContent(path);
    QCOMPARE(after.size(), 3 * kSize);
    QCOMPARE(after.left(kSize), marked(1));
    QCOMPARE(after.mid(kSize, kSize), marked(42));
    QCOMPARE(after.mid(2 * kSize), marked(3));
}

void TestCollectionFile::readsBackWhatWasWritten()
{
    const QString path = m_dir->filePath(QStringLiteral("read.mus"));
    QFile::remove(path);
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("  Perché"));
    card.setText(SongCard::Testo, QStringLiteral("riga 1\nriga 2"));
    card.setText(SongCard::Segnala, SongCard::flagText(true));
    {
        RecordFile file(path, kSize);
        file.append(marked(1));
        QCOMPARE(file.append(card.encode()), qint64(2));
    }
    RecordFile file(path, kSize);
    QVERIFY(SongCard::decode(file.read(2)) == card);
    QVERIFY_THROWS_EXCEPTION(FileError, file.read(3));
    QVERIFY_THROWS_EXCEPTION(FileError, file.read(0));
}

void TestCollectionFile::missingFileCreatedEmpty()
{
    const QString path = m_dir->filePath(QStringLiteral("nuova.mus"));
    QVERIFY(!QFile::exists(path));
    {
        RecordFile file(path, kSize);
        QCOMPARE(file.count(), qint64(0));
    }
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), qint64(0));
}

void TestCollectionFile::unusablePathFailsAndCreatesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder where the file should be") << "folder";
    QTest::newRow("path under a regular file") << "under file";
}

void TestCollectionFile::unusablePathFailsAndCreatesNothing()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path;
    if (kind == QLatin1String("folder")) {
        path = dir.filePath(QStringLiteral("Rock.mus"));
        QVERIFY(QDir().mkpath(path));
        writeFile(path + QStringLiteral("/dentro.txt"), "contenuto");
    } else {
        writeFile(dir.filePath(QStringLiteral("file")), cards(1));
        path = dir.filePath(QStringLiteral("file/Rock.mus"));
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QString description;
    try {
        RecordFile file(path, kSize);
        file.append(marked(1));
        QFAIL("the record file opened");
    } catch (const FileError &e) {
        description = e.description();
    }
    QVERIFY(!description.isEmpty());

    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (kind == QLatin1String("folder"))
        QCOMPARE(fileContent(path + QStringLiteral("/dentro.txt")), QByteArray("contenuto"));
    else
        QCOMPARE(fileContent(dir.filePath(QStringLiteral("file"))), cards(1));
}

void TestCollectionFile::twoProcessesAppendAtOnce()
{
    const QString path = m_dir->filePath(QStringLiteral("condivisa.mus"));
    constexpr int kEach = 500;

    // Both copies get ready, then start appending at the same moment.
    const QString meeting = m_dir->path();
    QProcess first, second;
    for (auto [process, tag] : {std::pair{&first, "A"}, std::pair{&second, "B"}}) {
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--append-helper"), path, QString::fromLatin1(tag),
                        QString::number(kEach), meeting});
        QVERIFY(process->waitForStarted());
    }
    QVERIFY(waitFor([&] {
        return QFile::exists(meeting + QStringLiteral("/pronto-A")) &&
               QFile::exists(meeting + QStringLiteral("/pronto-B"));
    }));
    writeFile(meeting + QStringLiteral("/via"), QByteArray());
    for (QProcess *process : {&first, &second}) {
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
    }

    // Each append reported its own position.
    QSet<qint64> positions;
    std::pair<qint64, qint64> firstAndLast[2]; // of each copy, in the order it appended
    for (int copy = 0; copy < 2; ++copy) {
        QProcess *process = copy == 0 ? &first : &second;
        QList<qint64> own;
        const QList<QByteArray> lines = process->readAllStandardOutput().split('\n');
        for (const QByteArray &line : lines)
            if (!line.isEmpty())
                own << line.toLongLong();
        QCOMPARE(own.size(), kEach);
        for (qint64 position : own)
            positions.insert(position);
        firstAndLast[copy] = {own.first(), own.last()};
    }
    // Positions are handed out in the order the appends happened: the two copies were appending
    // at the same time only if each one's first card comes before the other's last.
    const auto [firstA, lastA] = firstAndLast[0];
    const auto [firstB, lastB] = firstAndLast[1];
    QVERIFY2(firstA < lastB && firstB < lastA, "the two copies did not append at the same time");
    QCOMPARE(positions.size(), 2 * kEach);
    QCOMPARE(*std::min_element(positions.cbegin(), positions.cend()), qint64(1));
    QCOMPARE(*std::max_element(positions.cbegin(), positions.cend()), qint64(2 * kEach));

    // The file holds exactly the 1000 cards, each whole and each once.
    QCOMPARE(QFileInfo(path).size(), qint64(2 * kEach) * kSize);
    QSet<QString> titles;
    RecordFile file(path, kSize);
    file.scan([&](qint64 position, const QByteArray &record) {
        const SongCard card = SongCard::decode(record);
        const bool whole =
            !card.text(SongCard::Cantante).isEmpty() &&
            card.text(SongCard::Note) == card.text(SongCard::Titolo) &&
            card.text(SongCard::Titolo).startsWith(card.text(SongCard::Cantante) + QLatin1Char('-')) &&
            card.text(SongCard::Testo) == QString(4000, card.text(SongCard::Cantante).at(0)) +
                                              QStringLiteral("\n") + card.text(SongCard::Titolo);
        if (!whole)
            qWarning("card %lld is not whole", position);
        titles.insert(card.text(SongCard::Titolo));
        return whole;
    });
    QCOMPARE(titles.size(), 2 * kEach);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 6 && qstrcmp(argv[1], "--append-helper") == 0)
        return appendHelper(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), atoi(argv[4]),
                            QString::fromLocal8Bit(argv[5]));
    TestCollectionFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_collectionfile.moc"
