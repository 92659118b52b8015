#include "ExpectedSheet.h"
#include "TestFiles.h"
#include "XlsxReadBack.h"
#include "core/RecordFile.h"
#include "output/SpreadsheetWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // The .csv and .xlsx files.
    void csvCell_data() { cells(); }
    void csvCell();
    void xlsxCell_data() { cells(); }
    void xlsxCell();
    void csvDocumentByteForByte();
    void xlsxSheetLayout_data();
    void xlsxSheetLayout();
    void xlsxFailureKeepsPreviousFile_data();
    void xlsxFailureKeepsPreviousFile();
    void xlsxReadBackRefusesHostileZips_data();
    void xlsxReadBackRefusesHostileZips();

private:
    void cells();
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

namespace
{

// A file-size limit for the calling scope, as a full disk would stop a write (root included).
class SizeLimit
{
public:
    explicit SizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    struct rlimit m_saved;
    void (*m_handler)(int);
};

// Points the process's temporary folder (where the workbook is put together) at a folder of the
// test for the calling scope.
class TempFolder
{
public:
    TempFolder()
        : m_saved(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    }
    ~TempFolder()
    {
        if (m_saved.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_saved);
    }
    // What is left anywhere below, but the program's own (empty) folder for its temporaries.
    QStringList leftovers() const
    {
        QStringList found;
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString entry = it.next();
            if (it.fileName() != QStringLiteral("cantorium-%1").arg(::geteuid()))
                found << entry;
        }
        return found;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

const QByteArray kBom = "\xEF\xBB\xBF";

QByteArray oneCellCsv(const QByteArray &field)
{
    return kBom + "\"Titolo canzone\"\r\n\"" + field + "\"\r\n";
}

QString writeXlsx(const QTemporaryDir &dir, const QList<Column> &columns,
                  const QList<QList<QByteArray>> &rows,
                  const QString &name = QStringLiteral("Collection.xlsx"))
{
    const QString path = dir.filePath(name);
    SpreadsheetWriter::saveXlsx(
        path, QStringLiteral("Collection Musicale"), columns, int(rows.size()),
        [&rows](int row, int column) { return QByteArrayView(rows.at(row).at(column)); });
    return path;
}

} // namespace

void TestSpreadsheetWriter::cells()
{
    // A cell as the card holds it (Windows-1252) and the text the spreadsheet must show.
    QTest::addColumn<QByteArray>("card");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QByteArray("Nel blu dipinto di blu")
                           << QStringLiteral("Nel blu dipinto di blu");
    QTest::newRow("accents") << QByteArray("Citt\xe0 \xe8 cos\xec, perch\xe9")
                             << QStringLiteral("Città è così, perché");
    QTest::newRow("euro and guillemets")
        << QByteArray("\x80 5 \xab\x8c\xbb \x96 \x93x\x94") << QStringLiteral("€ 5 «Œ» – “x”");
    QTest::newRow("markup characters")
        << QByteArray("R&B <3> \"live\" & 'c'") << QStringLiteral("R&B <3> \"live\" & 'c'");
    QTest::newRow("edges trimmed, inner spaces kept")
        << QByteArray(" \t  a  b   c \x01 ") << QStringLiteral("a  b   c");
    QTest::newRow("no-break spaces kept") << QByteArray("\xa0"
                                                        "a\xa0")
                                          << QStringLiteral("\u00a0a\u00a0");
    QTest::newRow("CR LF is one line break")
        << QByteArray("uno\r\ndue\r\n\r\ntre") << QStringLiteral("uno\ndue\n\ntre");
    QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc") << QStringLiteral("a\nb\nc");
    QTest::newRow("tab inside") << QByteArray("a\tb") << QStringLiteral("a\tb");
    QTest::newRow("looks like a number") << QByteArray("0042") << QStringLiteral("0042");
    QTest::newRow("decimal comma") << QByteArray("1,80") << QStringLiteral("1,80");
    QTest::newRow("looks like a formula") << QByteArray("=1+1") << QStringLiteral("=1+1");
    QTest::newRow("looks like a date") << QByteArray("01/02/1958") << QStringLiteral("01/02/1958");
    QTest::newRow("looks like an escape")
        << QByteArray("_x0041_ e _x005F_ _x12_ _X0041_") << QStringLiteral("_x0041_ e _x005F_ _x12_ _X0041_");
    QTest::newRow("unassigned byte") << QByteArray("a\x81"
                                                   "b")
                                     << QStringLiteral("a\u0081b");
    QTest::newRow("NUL left out") << QByteArray("a\0b", 3) << QStringLiteral("ab");
    // Eight bytes at a time go unchanged: specials at every place of such a block, and a whole
    // 250-byte field.
    QTest::newRow("specials across blocks") << QByteArray("abcdefg\"hijklmn\xe0opqrstu\r\nvwxyzABCDEFGH\"")
                                            << QStringLiteral("abcdefg\"hijklmnàopqrstu\nvwxyzABCDEFGH\"");
    QByteArray full;
    QString fullText;
    for (int i = 0; i < 250; ++i) {
        const char c = i % 37 == 36 ? '\xe8' : i % 29 == 28 ? '"' : char('a' + i % 26);
        full += c;
        fullText += c == '\xe8' ? QStringLiteral("è") : QString(QLatin1Char(c));
    }
    QTest::newRow("250 bytes") << full << fullText;
    QTest::newRow("blank") << QByteArray(" \t ") << QString();
}

void TestSpreadsheetWriter::csvCell()
{
    QFETCH(QByteArray, card);
    QFETCH(QString, text);
    const QList<Column> one{{QStringLiteral("Titolo canzone"), 400}};
    const QByteArray bytes =
        SpreadsheetWriter::csvDocument(one, 1, [&card](int, int) { return QByteArrayView(card); });
    QCOMPARE(bytes, oneCellCsv(text.toUtf8().replace("\"", "\"\"")));
}

void TestSpreadsheetWriter::xlsxCell()
{
    REQUIRE_UNZIP();
    QFETCH(QByteArray, card);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = writeXlsx(dir, {{QStringLiteral("Titolo canzone"), 400}}, {{card}});
    const XlsxReadBack::Sheet sheet = XlsxReadBack::sheet(path);
    QVERIFY(sheet.wellFormed);
    QCOMPARE(sheet.row(1).value(0), text);
    if (!text.isEmpty())
        QCOMPARE(sheet.rows.at(1).at(0).type, QStringLiteral("inlineStr"));
    // A cell with a line break wraps, so that the break shows.
    const QList<XlsxReadBack::Style> styles = XlsxReadBack::styles(path);
    if (!text.isEmpty())
        QCOMPARE(styles.value(sheet.rows.at(1).at(0).style).wrap, text.contains(QLatin1Char('\n')));
}

void TestSpreadsheetWriter::csvDocumentByteForByte()
{
    const QList<QList<QByteArray>> rows{
        {"Volare", "Canto"}, {"Azzurro", ""}, {"\"Caruso\"; live", "Citt\xe0\r\nnuova"}};
    const QByteArray bytes =
        SpreadsheetWriter::csvDocument(kTwoColumns, int(rows.size()), [&rows](int row, int column) {
            return QByteArrayView(rows.at(row).at(column));
        });
    QCOMPARE(bytes, kBom + "\"Titolo canzone\";\"Attivit\xc3\xa0\"\r\n"
                           "\"Volare\";\"Canto\"\r\n"
                           "\"Azzurro\";\"\"\r\n"
                           "\"\"\"Caruso\"\"; live\";\"Citt\xc3\xa0\nnuova\"\r\n");
    QCOMPARE(SpreadsheetWriter::csvDocument(kTwoColumns, 0, [](int, int) { return QByteArrayView("never"); }),
             kBom + "\"Titolo canzone\";\"Attivit\xc3\xa0\"\r\n");
}

void TestSpreadsheetWriter::xlsxSheetLayout_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("empty archive") << 0;
    QTest::newRow("three cards") << 3;
}

void TestSpreadsheetWriter::xlsxSheetLayout()
{
    REQUIRE_UNZIP();
    QFETCH(int, rows);
    QList<QList<QByteArray>> cards{{"Volare", "0042"}, {"Azzurro", ""}, {"=1+1", "1,80"}};
    cards = cards.mid(0, rows);
    QTemporaryDir dir;
    const QString path = writeXlsx(dir, kTwoColumns, cards);

    QVERIFY(XlsxReadBack::parts(path).contains(QStringLiteral("xl/worksheets/sheet1.xml")));
    QVERIFY(XlsxReadBack::part(path, QStringLiteral("xl/workbook.xml"))
                .contains("<sheet name=\"Collection Musicale\""));
    const XlsxReadBack::Sheet sheet = XlsxReadBack::sheet(path);
    QVERIFY(sheet.wellFormed);
    QCOMPARE(sheet.rows.size(), 1 + rows);
    QCOMPARE(sheet.row(0), (QStringList{QStringLiteral("Titolo canzone"), QStringLiteral("Attività")}));
    for (int r = 0; r < rows; ++r) {
        QStringList expected{QString::fromLatin1(cards.at(r).at(0)), QString::fromLatin1(cards.at(r).at(1))};
        if (expected.last().isEmpty())
            expected.removeLast(); // an empty cell is not written
        QCOMPARE(sheet.row(r + 1), expected);
    }
    // Header bold and frozen, a filter over the whole table, widths from the column table.
    QCOMPARE(sheet.pane, QStringLiteral("ySplit=1 topLeftCell=A2 state=frozen"));
    QCOMPARE(sheet.autoFilter, QStringLiteral("A1:B%1").arg(1 + rows));
    QCOMPARE(sheet.widths.size(), 2);
    QCOMPARE(XlsxReadBack::pixels(sheet.widths.at(0)), 400);
    QCOMPARE(XlsxReadBack::pixels(sheet.widths.at(1)), 250);
    const QList<XlsxReadBack::Style> styles = XlsxReadBack::styles(path);
    for (int r = 0; r < sheet.rows.size(); ++r) {
        for (const XlsxReadBack::Cell &cell : sheet.rows.at(r)) {
            if (cell.text.isEmpty())
                continue;
            // Text cells in the text format: never a number, a date or a formula.
            QCOMPARE(cell.type, QStringLiteral("inlineStr"));
            QCOMPARE(styles.value(cell.style).numberFormat, 49);
            QCOMPARE(styles.value(cell.style).bold, r == 0);
        }
    }
    QVERIFY(!XlsxReadBack::part(path, QStringLiteral("xl/worksheets/sheet1.xml")).contains("<f>"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Collection.xlsx")});
}

void TestSpreadsheetWriter::xlsxFailureKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("folder named like the file") << QStringLiteral("folder");
    QTest::newRow("folder path is a file") << QStringLiteral("file-as-folder");
    // The library reports success over what it could not write: the archive cut short, or a whole
    // archive holding a cut worksheet (its temporary file hit the limit, the compressed archive did
    // not).
    QTest::newRow("archive cut") << QStringLiteral("limit 4096");
    QTest::newRow("worksheet cut") << QStringLiteral("limit 100000");
}

void TestSpreadsheetWriter::xlsxFailureKeepsPreviousFile()
{
    REQUIRE_UNZIP();
    QFETCH(QString, failure);
    QTemporaryDir dir;
    TempFolder temp;
    QString path = dir.filePath(QStringLiteral("Collection.xlsx"));
    QByteArray previous;
    if (failure == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Collection.xlsx")));
    } else if (failure == QLatin1String("file-as-folder")) {
        writeFile(dir.filePath(QStringLiteral("plain")), "not a folder");
        path = dir.filePath(QStringLiteral("plain/Collection.xlsx"));
    } else {
        writeXlsx(dir, kTwoColumns, {{"Volare", "Canto"}});
        previous = fileContent(path);
        QVERIFY(!previous.isEmpty());
    }
    QList<QList<QByteArray>> many;
    for (int i = 0; i < 3000; ++i)
        many.append({"Canzone numero " + QByteArray::number(i), "Un testo che si ripete in ogni riga"});
    bool failed = false;
    try {
        std::unique_ptr<SizeLimit> limit;
        if (failure.startsWith(QLatin1String("limit ")))
            limit = std::make_unique<SizeLimit>(failure.mid(6).toInt());
        SpreadsheetWriter::saveXlsx(
            path, QStringLiteral("S"), kTwoColumns, int(many.size()),
            [&many](int row, int column) { return QByteArrayView(many.at(row).at(column)); });
    } catch (const FileError &e) {
        failed = !e.description().isEmpty();
    }
    QVERIFY(failed);
    if (failure == QLatin1String("folder")) {
        QVERIFY(QFileInfo(path).isDir());
    } else if (failure == QLatin1String("file-as-folder")) {
        QCOMPARE(fileContent(dir.filePath(QStringLiteral("plain"))), QByteArray("not a folder"));
    } else {
        QCOMPARE(fileContent(path), previous);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Collection.xlsx")});
    }
    QCOMPARE(temp.leftovers(), QStringList());
}

namespace
{

void put16(QByteArray &b, int at, quint32 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void put32(QByteArray &b, int at, quint32 v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// One central-directory entry and the end record, after `local` (a local header and its data).
QByteArray hostileZip(const QByteArray &local, quint32 method, quint32 packed, quint32 size, quint32 nameLength)
{
    QByteArray central(46, '\0');
    put32(central, 0, 0x02014b50);
    put16(central, 10, method);
    put32(central, 20, packed);
    put32(central, 24, size);
    put16(central, 28, nameLength);
    put32(central, 42, 0);
    QByteArray end(22, '\0');
    put32(end, 0, 0x06054b50);
    put16(end, 8, 1);
    put16(end, 10, 1);
    put32(end, 12, 46);
    put32(end, 16, quint32(local.size()));
    return local + central + end;
}

} // namespace

void TestSpreadsheetWriter::xlsxReadBackRefusesHostileZips_data()
{
    QTest::addColumn<QByteArray>("zip");
    // 68 bytes whose one entry declares a name running 64 KiB past the end.
    QTest::newRow("name past the end") << hostileZip(QByteArray(), 0, 0, 0, 0xFFFF);
    QByteArray local(30, '\0');
    put32(local, 0, 0x04034b50);
    local += QByteArray("\x03\x00", 2); // an empty deflate stream
    // A few bytes that declare 4 GiB once unpacked.
    QTest::newRow("4 GiB declared") << hostileZip(local, 8, 2, 0xFFFFFFFFu, 0);
    QTest::newRow("stored, 4 GiB declared") << hostileZip(local, 0, 2, 0xFFFFFFFFu, 0);
}

void TestSpreadsheetWriter::xlsxReadBackRefusesHostileZips()
{
    // Checked in a child process that has little memory to spare, on bytes that end right before
    // a page that cannot be read: an overread or a huge allocation ends it.
    QFETCH(QByteArray, zip);
    const long page = ::sysconf(_SC_PAGESIZE);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        char *area = static_cast<char *>(
            ::mmap(nullptr, size_t(2 * page), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        if (area == MAP_FAILED || ::mprotect(area + page, size_t(page), PROT_NONE) != 0)
            ::_exit(2);
        char *at = area + page - zip.size();
        std::memcpy(at, zip.constData(), size_t(zip.size()));
        long pages = 0;
        if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        rlimit memory = {};
        memory.rlim_cur = memory.rlim_max = rlim_t(pages * page) + (rlim_t(1) << 30);
        ::setrlimit(RLIMIT_AS, &memory);
        try {
            const bool whole = SpreadsheetWriter::xlsxIsWhole(QByteArray::fromRawData(at, zip.size()));
            ::_exit(whole ? 3 : 0);
        } catch (...) {
            ::_exit(4);
        }
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the read-back crashed");
    QCOMPARE(WEXITSTATUS(status), 0);
}

QTEST_GUILESS_MAIN(TestSpreadsheetWriter)
#include "tst_spreadsheetwriter.moc"
