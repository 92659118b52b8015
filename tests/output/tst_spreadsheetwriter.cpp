#include "ExpectedSheet.h"
#include "TestFiles.h"
#include "core/RecordFile.h"
#include "output/SpreadsheetWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using SpreadsheetWriter::Column;

// The spreadsheet writer on its bytes: the fixed fragments, header and data rows, the cell
// rule (trim, escape, Windows-1252), and saving that never leaves a cut file behind.
class TestSpreadsheetWriter : public QObject
{
    Q_OBJECT
private slots:
    void emptyTableIsHeaderOnly();
    void rowsFollowInOrder();
    void cellText_data();
    void cellText();
    void documentTrimsAndEscapesCells();
    void saveReplacesWholeFile();
    void unusableTargetFails_data();
    void unusableTargetFails();
    void failedWriteKeepsPreviousFile();
};

namespace
{

using namespace ExpectedSheet;

const QList<Column> kTwoColumns{{QStringLiteral("Titolo canzone"), 400}, {QStringLiteral("Attività"), 250}};
const QByteArray kTwoHeaders =
    "<td style=\"text-align: left; font-weight: bold;\" width=400>Titolo canzone</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Attivit\xe0</td>";

} // namespace

void TestSpreadsheetWriter::emptyTableIsHeaderOnly()
{
    const QByteArray bytes = SpreadsheetWriter::document(QStringLiteral("Collection Musicale"), kTwoColumns,
                                                         0, [](int, int) { return QStringLiteral("never"); });
    QCOMPARE(bytes, kOpen + "Collection Musicale" + kAfterName + kTwoHeaders + "</tr>" + kClose);
    // One line: no terminator, no line break anywhere.
    QVERIFY(!bytes.contains('\n'));
    QVERIFY(!bytes.contains('\r'));
}

void TestSpreadsheetWriter::rowsFollowInOrder()
{
    const QList<QStringList> rows{{QStringLiteral("Volare"), QStringLiteral("Canto")},
                                  {QStringLiteral("Azzurro"), QString()},
                                  {QStringLiteral("Caruso"), QStringLiteral("Teatro")}};
    const QByteArray bytes =
        SpreadsheetWriter::document(QStringLiteral("Archivio Cantanti"), kTwoColumns, int(rows.size()),
                                    [&rows](int row, int column) { return rows.at(row).at(column); });
    const QByteArray expected = kOpen + "Archivio Cantanti" + kAfterName + kTwoHeaders + "</tr>" + "<tr>" +
                                td("Volare") + td("Canto") + "</tr>" + "<tr>" + td("Azzurro") + td("") +
                                "</tr>" + "<tr>" + td("Caruso") + td("Teatro") + "</tr>" + kClose;
    QCOMPARE(bytes, expected);
}

void TestSpreadsheetWriter::cellText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("plain") << QStringLiteral("Nel blu dipinto di blu")
                           << QByteArray("Nel blu dipinto di blu");
    QTest::newRow("ampersand") << QStringLiteral("Rock & Roll") << QByteArray("Rock &amp; Roll");
    QTest::newRow("tag-like") << QStringLiteral("<live>") << QByteArray("&lt;live&gt;");
    QTest::newRow("heart") << QStringLiteral("R&B <3") << QByteArray("R&amp;B &lt;3");
    QTest::newRow("entity stays literal") << QStringLiteral("&amp;") << QByteArray("&amp;amp;");
    QTest::newRow("quotes unchanged")
        << QStringLiteral("\"Il mio\" 'canto'") << QByteArray("\"Il mio\" 'canto'");
    QTest::newRow("accents") << QStringLiteral("Città è così") << QByteArray("Citt\xe0 \xe8 cos\xec");
    QTest::newRow("code page letters")
        << QStringLiteral("€ 5 – «Œ»") << QByteArray("\x80 5 \x96 \xab\x8c\xbb");
    QTest::newRow("escape with code page")
        << QStringLiteral("€ & <è>") << QByteArray("\x80 &amp; &lt;\xe8&gt;");
    QTest::newRow("outside code page") << QStringLiteral("ő ☃") << QByteArray("o ?");
    QTest::newRow("trimmed") << QStringLiteral("  Volare \t") << QByteArray("Volare");
    QTest::newRow("controls trimmed") << QStringLiteral("\r\n\x01Volare\x1f ") << QByteArray("Volare");
    QTest::newRow("inner space") << QStringLiteral(" a b ") << QByteArray("a b");
    // HTML readers fold runs of spaces: every space after the first is a character reference.
    QTest::newRow("space run") << QStringLiteral("a  b   c") << QByteArray("a &#32;b &#32;&#32;c");
    QTest::newRow("no-break space kept") << QStringLiteral("\u00a0a\u00a0")
                                         << QByteArray("\xa0"
                                                       "a\xa0");
    QTest::newRow("blank") << QStringLiteral(" \t ") << QByteArray();
}

void TestSpreadsheetWriter::cellText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(SpreadsheetWriter::cellBytes(text), bytes);
}

void TestSpreadsheetWriter::documentTrimsAndEscapesCells()
{
    const QByteArray bytes =
        SpreadsheetWriter::document(QStringLiteral("S"), kTwoColumns, 1, [](int, int column) {
            return column == 0 ? QStringLiteral("  R&B <3  ") : QStringLiteral("\tCittà ");
        });
    QVERIFY(bytes.endsWith("<tr>" + td("R&amp;B &lt;3") + td("Citt\xe0") + "</tr>" + kClose));
}

void TestSpreadsheetWriter::saveReplacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Collection.xls"));
    SpreadsheetWriter::save(path, QByteArray(5000, 'x'));
    SpreadsheetWriter::save(path, "short");
    QCOMPARE(fileContent(path), QByteArray("short"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Collection.xls")});
}

void TestSpreadsheetWriter::unusableTargetFails_data()
{
    QTest::addColumn<QString>("layout"); // what stands in the way

    QTest::newRow("folder named like the file") << QStringLiteral("folder");
    QTest::newRow("folder path is a file") << QStringLiteral("file-as-folder");
}

void TestSpreadsheetWriter::unusableTargetFails()
{
    QFETCH(QString, layout);
    QTemporaryDir dir;
    QString path;
    if (layout == QLatin1String("folder")) {
        path = dir.filePath(QStringLiteral("Collection.xls"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Collection.xls")));
    } else {
        writeFile(dir.filePath(QStringLiteral("plain")), "not a folder");
        path = dir.filePath(QStringLiteral("plain/Collection.xls"));
    }
    QString description;
    try {
        SpreadsheetWriter::save(path, "bytes");
    } catch (const FileError &e) {
        description = e.description();
    }
    QVERIFY2(!description.isEmpty(), "the failure must carry the platform's description");
    if (layout == QLatin1String("folder"))
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(fileContent(dir.filePath(QStringLiteral("plain"))), QByteArray("not a folder"));
}

void TestSpreadsheetWriter::failedWriteKeepsPreviousFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Cantanti.xls"));
    const QByteArray previous(3000, 'p');
    SpreadsheetWriter::save(path, previous);

    // A file-size limit makes the next write fail part way, as a full disk would (root included).
    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        SpreadsheetWriter::save(path, QByteArray(100000, 'n'));
    } catch (const FileError &) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(failed);
    QCOMPARE(fileContent(path), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Archivio_Cantanti.xls")});
}

QTEST_GUILESS_MAIN(TestSpreadsheetWriter)
#include "tst_spreadsheetwriter.moc"
