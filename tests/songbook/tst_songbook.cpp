// The songbook: its PDF read back as a reader and a viewer see it (text of each page, page
// count, outline), the side-by-side layout, failures that leave nothing, and the window.
#include "FileSizeLimit.h"
#include "RecordingDesktop.h"
#include "SongbookFixture.h"
#include "songbook/FrmCanzoniere.h"
#include "songbook/Songbook.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace songbook;

namespace
{

const QDate kDate(2026, 12, 11);

// The lines of a page's text that hold `needle`.
QStringList linesWith(const QString &page, const QString &needle)
{
    QStringList out;
    for (const QString &line : page.split(QLatin1Char('\n')))
        if (line.contains(needle))
            out.append(line);
    return out;
}

// "Title — Singer . . . 12" on the contents pages: title and page number (1-based).
QList<QPair<QString, int>> contentsEntries(const QStringList &pages, int from, int to)
{
    QList<QPair<QString, int>> out;
    const QRegularExpression re(QStringLiteral("^\\s*(.+?) — .*?(\\d+)\\s*$"));
    for (int i = from; i < to; ++i)
        for (const QString &line : pages.at(i).split(QLatin1Char('\n'))) {
            const auto m = re.match(line);
            if (m.hasMatch() && line.contains(QStringLiteral(" . .")))
                out.append({m.captured(1), m.captured(2).toInt()});
        }
    return out;
}

} // namespace

class TestSongbook : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void bookReadsBack_data();
    void bookReadsBack();
    void sideBySideKeepsLinesTogether();
    void songsShareAPageOnlyWhenTheyFit();
    void selections_data();
    void selections();
    void badCollections_data();
    void badCollections();
    void unwritableOutputLeavesNothing_data();
    void unwritableOutputLeavesNothing();
    void windowPreviewPrintAndPdf();
    void windowWithChosenRowsAndNothingToPrint();

private:
    QTemporaryDir m_dir;
    QString m_mus;
};

void TestSongbook::init()
{
    QVERIFY(m_dir.isValid());
    m_mus = m_dir.filePath(QStringLiteral("Canzoni d'autore.mus"));
    QVERIFY(fixture::write(m_mus));
}

void TestSongbook::bookReadsBack_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<bool>("sideBySide");
    QTest::newRow("stored, lyrics") << int(Order::Stored) << false;
    QTest::newRow("title, side by side") << int(Order::Title) << true;
    QTest::newRow("singer, side by side") << int(Order::Singer) << true;
}

void TestSongbook::bookReadsBack()
{
    QFETCH(int, order);
    QFETCH(bool, sideBySide);
    Options options;
    options.order = Order(order);
    options.layout = sideBySide ? Layout::SideBySide : Layout::Lyrics;
    const QString pdf = m_dir.filePath(QStringLiteral("libro.pdf"));
    makePdf(m_mus, pdf, options, kDate);

    QList<Song> songs = readSongs(m_mus, {});
    sortSongs(songs, options.order);
    const Book book = layOut(collectionName(m_mus), kDate, songs, options);
    const QStringList pages = fixture::pdfPages(pdf);
    QCOMPARE(pages.size(), book.report.pageCount());

    // The cover names the collection and the date.
    QVERIFY(pages.first().contains(QStringLiteral("Canzoni d'autore")));
    QVERIFY(pages.first().contains(QStringLiteral("11 dicembre 2026")));
    QVERIFY(pages.first().contains(QStringLiteral("6 canzoni")));

    // Contents: one entry per song, in book order, each pointing at the page that song starts
    // on (its title heads that page's text before any of its lyrics) and on no earlier one.
    const auto entries = contentsEntries(pages, book.contentsPage, book.indexPage);
    QCOMPARE(entries.size(), songs.size());
    for (int i = 0; i < songs.size(); ++i) {
        const QString title = songTitle(songs.at(i).card);
        QCOMPARE(entries.at(i).first, title);
        const int page = entries.at(i).second;
        QCOMPARE(page, book.songPages.at(i) + 1);
        const QString tag = title.section(QLatin1Char(' '), 0, 0);
        QVERIFY2(!linesWith(pages.at(page - 1), title).isEmpty(), qPrintable(title));
        QVERIFY(pages.at(page - 1).indexOf(title) < pages.at(page - 1).indexOf(tag + QStringLiteral(" L01")));
        for (int p = book.indexPage + 1; p < page - 1; ++p)
            QVERIFY2(!pages.at(p).contains(tag + QStringLiteral(" L01")), qPrintable(title));
    }

    // Index by singer: every singer once, each song under its singer with the same page.
    QString index;
    for (int i = book.indexPage; i < book.songPages.first(); ++i)
        index += pages.at(i);
    QVERIFY(index.contains(QStringLiteral("Indice per cantante")));
    for (const QString singer : {"Adriano Celentano", "Fabrizio De André", "Lucio Dalla", "Mina"})
        QCOMPARE(linesWith(index, singer).size(), 1);
    QVERIFY(index.indexOf(QStringLiteral("Adriano Celentano")) < index.indexOf(QStringLiteral("Mina")));
    for (int i = 0; i < songs.size(); ++i) {
        const QString title = songTitle(songs.at(i).card);
        const QStringList hits = linesWith(index, title);
        QCOMPARE(hits.size(), 1);
        QVERIFY(hits.first().trimmed().endsWith(QString::number(book.songPages.at(i) + 1)));
        // Under its own singer: the nearest singer line above it.
        const int at = index.indexOf(hits.first());
        const QString singer = songSinger(songs.at(i).card);
        QVERIFY(index.lastIndexOf(singer, at) >= 0);
        for (const QString other : {"Adriano Celentano", "Fabrizio De André", "Lucio Dalla", "Mina"})
            if (other != singer)
                QVERIFY(index.lastIndexOf(other, at) < index.lastIndexOf(singer, at));
    }

    // Every song shows its authors and year, every lyric line appears once.
    for (const fixture::Card &c : fixture::cards()) {
        const QString tag = QString::fromUtf8(c.title).section(QLatin1Char(' '), 0, 0);
        int found = 0;
        for (const QString &page : pages)
            found += page.count(QRegularExpression(tag + QStringLiteral(" L\\d\\d")));
        QCOMPARE(found, c.lyrics);
        if (*c.authors)
            QVERIFY(pages.join(QString()).contains(QStringLiteral("Autori: ") + QString::fromUtf8(c.authors)));
    }

    // The long song goes on over pages, its title repeated.
    QVERIFY(pages.join(QString()).contains(QStringLiteral("Lunga strada (segue)")));

    // Page numbers at the foot of every page but the cover.
    for (int i = 1; i < pages.size(); ++i) {
        const QStringList rows = pages.at(i).trimmed().split(QLatin1Char('\n'));
        QCOMPARE(rows.last().trimmed(), QString::number(i + 1));
    }

    // Bookmarks: the book, the two indexes, then every song at the page it starts on.
    const QList<fixture::Mark> marks = fixture::outline(pdf);
    QCOMPARE(marks.size(), 3 + songs.size());
    QCOMPARE(marks.at(0).title, QStringLiteral("Canzoni d'autore"));
    QCOMPARE(marks.at(0).depth, 0);
    QCOMPARE(marks.at(0).page, 1);
    QCOMPARE(marks.at(1).title, QStringLiteral("Indice"));
    QCOMPARE(marks.at(1).page, book.contentsPage + 1);
    QCOMPARE(marks.at(2).title, QStringLiteral("Indice per cantante"));
    QCOMPARE(marks.at(2).page, book.indexPage + 1);
    for (int i = 0; i < songs.size(); ++i) {
        QCOMPARE(marks.at(3 + i).title, songTitle(songs.at(i).card) + QStringLiteral(" — ") + songSinger(songs.at(i).card));
        QCOMPARE(marks.at(3 + i).page, book.songPages.at(i) + 1);
        QCOMPARE(marks.at(3 + i).depth, 1);
    }
}

void TestSongbook::sideBySideKeepsLinesTogether()
{
    // Different line counts, and a lyric line long enough to wrap in its column.
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("Affiancata"));
    card.setText(SongCard::Cantante, QStringLiteral("Mina"));
    const QString longLine = QStringLiteral("L02 ") + QStringLiteral("parola ").repeated(16) + QStringLiteral("CODA");
    card.setText(SongCard::Testo, QStringLiteral("L01 uno\n") + longLine + QStringLiteral("\nL03 tre\nL04 quattro\nL05 cinque"));
    card.setText(SongCard::Storia, QStringLiteral("T01 one\nT02 two\nT03 three"));
    Options options;
    options.layout = Layout::SideBySide;
    const Book book = layOut(QStringLiteral("Prova"), kDate, {{1, card}}, options);
    const QString pdf = m_dir.filePath(QStringLiteral("affiancata.pdf"));
    writePdf(book, pdf, QStringLiteral("Prova"));
    const QString page = fixture::pdfPages(pdf).value(book.songPages.first());

    // Line against line: each translation line stands on the text line of its lyric line,
    // also after a lyric line that took two lines.
    for (const char *pair : {"L01|T01", "L02|T02", "L03|T03"}) {
        const QStringList parts = QString::fromLatin1(pair).split(QLatin1Char('|'));
        const QStringList row = linesWith(page, parts.at(0));
        QCOMPARE(row.size(), 1);
        QVERIFY2(row.first().contains(parts.at(1)), qPrintable(row.first()));
        QVERIFY(row.first().indexOf(parts.at(0)) < row.first().indexOf(parts.at(1)));
    }
    QVERIFY(linesWith(page, QStringLiteral("CODA")).first().indexOf(QStringLiteral("T0")) < 0);
    for (const char *alone : {"L04", "L05"})
        QVERIFY(!linesWith(page, QString::fromLatin1(alone)).first().contains(QStringLiteral("T0")));
    // The difference is marked in words and beside each line without its partner.
    QVERIFY(page.contains(QStringLiteral("Righe diverse: il testo ne ha 5, la traduzione 3")));
    const report::ReportPage &laid = book.report.pages.at(book.songPages.first());
    int marks = 0;
    for (const report::ReportObject &o : laid.items)
        marks += o.kind == report::ObjectKind::Shape && o.rect.width() < 5;
    QCOMPARE(marks, 2);

    // Equal counts: no mark at all.
    card.setText(SongCard::Storia, QStringLiteral("T01\nT02\nT03\nT04\nT05"));
    const Book even = layOut(QStringLiteral("Prova"), kDate, {{1, card}}, options);
    for (const report::ReportObject &o : even.report.pages.at(even.songPages.first()).items) {
        QVERIFY(!(o.kind == report::ObjectKind::Shape && o.rect.width() < 5));
        QVERIFY(!o.text().contains(QStringLiteral("Righe diverse")));
    }
}

void TestSongbook::songsShareAPageOnlyWhenTheyFit()
{
    // Short songs share pages; a song that does not fit what is left starts a new page; the
    // long one starts on a page of its own and goes on.
    QList<Song> songs = readSongs(m_mus, {});
    const Book book = layOut(QStringLiteral("Prova"), kDate, songs, {});
    const QList<int> starts = book.songPages;
    QCOMPARE(starts.size(), 6);
    QCOMPARE(starts.at(1), starts.at(0));     // Zefiro (12) and Azzurro (20) share
    QCOMPARE(starts.at(2), starts.at(1) + 1); // Lunga strada: 140 lines, a new page
    QCOMPARE(starts.at(3), starts.at(2) + 2); // it runs over three; Mare calmo fits after it
    QCOMPARE(starts.at(4), starts.at(3) + 1); // Bocca di rosa (30) does not: a new page
    QCOMPARE(starts.at(5), starts.at(4));     // Canto breve fits after it
    QCOMPARE(book.report.pageCount(), starts.last() + 1);
}

void TestSongbook::selections_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<qint64>>("positions");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("flagged") << int(Selection::Kind::Flagged) << QList<qint64>()
                             << QStringList{"Zefiro notturno", "Lunga strada"};
    QTest::newRow("positions in the caller's order, repeats once")
        << int(Selection::Kind::Positions) << QList<qint64>{5, 2, 5} << QStringList{"Bocca di rosa", "Azzurro"};
}

void TestSongbook::selections()
{
    QFETCH(int, kind);
    QFETCH(QList<qint64>, positions);
    QFETCH(QStringList, titles);
    Selection s;
    s.kind = Selection::Kind(kind);
    s.positions = positions;
    QStringList got;
    for (const Song &song : readSongs(m_mus, s))
        got.append(songTitle(song.card));
    QCOMPARE(got, titles);
}

void TestSongbook::badCollections_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // written unless empty
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "manca.mus" << QByteArray() << "non esiste";
    QTest::newRow("not a whole record") << "rotta.mus" << QByteArray(100, 'x') << "non è una collection";
    QTest::newRow("another kind of file") << "note.txt" << QByteArray(SongCard::kSize, 0) << "non è una collection";
    QTest::newRow("a folder") << "cartella.mus" << QByteArray() << "non è una collection";
}

void TestSongbook::badCollections()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(name);
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    if (name.startsWith(QLatin1String("cartella")))
        QVERIFY(QDir(m_dir.path()).mkdir(name));
    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    try {
        makePdf(path, pdf, {}, kDate);
        QFAIL("no error");
    } catch (const SongbookError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Attenzione: ")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QVERIFY(!QFile::exists(pdf));
    // A position outside the collection is refused as well.
    Selection s;
    s.kind = Selection::Kind::Positions;
    s.positions = {7};
    QVERIFY_THROWS_EXCEPTION(SongbookError, readSongs(m_mus, s));
}

void TestSongbook::unwritableOutputLeavesNothing_data()
{
    QTest::addColumn<QString>("target"); // relative to the test folder
    QTest::newRow("a folder where the file should be") << "cartella";
    QTest::newRow("under a regular file") << "Canzoni d'autore.mus/libro.pdf";
    QTest::newRow("missing folder") << "nessuna/libro.pdf";
    QTest::newRow("the collection itself") << "Canzoni d'autore.mus";
    QTest::newRow("a file-size limit") << "limite.pdf";
}

void TestSongbook::unwritableOutputLeavesNothing()
{
    QFETCH(QString, target);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("cartella")));
    QFile original(m_mus);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray collection = original.readAll();
    original.close();
    const QStringList entries = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    {
        // Only the book's write meets the limit: the collection was read and the pages made.
        std::optional<FileSizeLimit> limit;
        if (target == QLatin1String("limite.pdf"))
            limit.emplace(20000);
        QVERIFY_THROWS_EXCEPTION(SongbookError, makePdf(m_mus, m_dir.filePath(target), {}, kDate));
    }
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);
    QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("cartella"))).isDir());
    QFile after(m_mus);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), collection);
}

void TestSongbook::windowPreviewPrintAndPdf()
{
    RecordingDesktop desk;
    FrmCanzoniere window(nullptr, m_mus, QStringLiteral("Canzoni d'autore"));
    window.resize(window.size());
    QVERIFY(window.findChild<QRadioButton *>(QStringLiteral("optTutte"))->isChecked());
    QVERIFY(!window.findChild<QRadioButton *>(QStringLiteral("optScelte"))->isEnabled());
    window.findChild<QComboBox *>(QStringLiteral("cmbOrdine"))->setCurrentIndex(2);
    window.findChild<QRadioButton *>(QStringLiteral("optAffiancati"))->setChecked(true);
    const Options o = window.options();
    QCOMPARE(o.order, Order::Singer);
    QCOMPARE(o.layout, Layout::SideBySide);

    window.findChild<QPushButton *>(QStringLiteral("btnAnteprima"))->click();
    window.findChild<QPushButton *>(QStringLiteral("btnStampa"))->click();
    QCOMPARE(desk.reports.size(), 2);
    QVERIFY(desk.reports.at(0).preview);
    QVERIFY(!desk.reports.at(1).preview);
    QList<Song> songs = readSongs(m_mus, {});
    sortSongs(songs, Order::Singer);
    const int pages = layOut(QStringLiteral("Canzoni d'autore"), QDate::currentDate(), songs, o).report.pageCount();
    QCOMPARE(desk.reports.at(0).pages, pages);

    const QString pdf = m_dir.filePath(QStringLiteral("scelto.pdf"));
    desk.fileAnswers.enqueue(pdf);
    desk.confirmations.enqueue(true);
    window.findChild<QPushButton *>(QStringLiteral("btnPdf"))->click();
    QVERIFY(desk.dialogProposals.last().startsWith(m_dir.filePath(QStringLiteral("Canzoniere Canzoni d'autore "))));
    QCOMPARE(desk.dialogSuffixes.last(), QStringLiteral("pdf"));
    QCOMPARE(fixture::pdfPages(pdf).size(), pages);
    QVERIFY(desk.last().text.contains(QDir::toNativeSeparators(pdf)));
    QCOMPARE(desk.opened, QStringList{QLatin1Char('"') + QDir::toNativeSeparators(pdf) + QLatin1Char('"')});
    QVERIFY2(desk.leftovers().isEmpty(), qPrintable(desk.leftovers()));
}

void TestSongbook::windowWithChosenRowsAndNothingToPrint()
{
    RecordingDesktop desk;
    {
        FrmCanzoniere window(nullptr, m_mus, QString(), {4, 1});
        auto *chosen = window.findChild<QRadioButton *>(QStringLiteral("optScelte"));
        QVERIFY(chosen->isEnabled() && chosen->isChecked());
        QCOMPARE(chosen->text(), QStringLiteral("Le 2 canzoni scelte"));
        QCOMPARE(window.options().selection.positions, (QList<qint64>{4, 1}));
        window.findChild<QPushButton *>(QStringLiteral("btnAnteprima"))->click();
        QCOMPARE(desk.reports.size(), 1);
        QVERIFY(desk.messages.isEmpty());
    }
    // A collection without flagged songs: a warning, nothing handed over, no file dialog.
    const QString plain = m_dir.filePath(QStringLiteral("Senza segni.mus"));
    QList<fixture::Card> unflagged = fixture::cards();
    for (fixture::Card &c : unflagged)
        c.flagged = false;
    QVERIFY(fixture::write(plain, unflagged));
    FrmCanzoniere window(nullptr, plain, QString());
    window.findChild<QRadioButton *>(QStringLiteral("optSegnalate"))->setChecked(true);
    window.findChild<QPushButton *>(QStringLiteral("btnPdf"))->click();
    QCOMPARE(desk.last().kind, Desktop::Kind::Warning);
    QCOMPARE(desk.last().text, FrmCanzoniere::kNoSongs);
    QCOMPARE(desk.reports.size(), 1);
    QVERIFY(desk.dialogTitles.isEmpty());
}

QTEST_MAIN(TestSongbook)
#include "tst_songbook.moc"
