#include "Named.h"
#include "ListFixtures.h"
#include "RecordingDesktop.h"

#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "lists/FrmSegnalati.h"
#include "lists/FrmTrovaAnagrafica.h"
#include "lists/FrmTrovaCanzone.h"
#include "lists/ResultList.h"
#include "singers/FrmAnagrafica.h"

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>

#include <array>

using namespace ListFixtures;
using Kind = Desktop::Kind;

namespace
{
const QString kAccess = QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                                       "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                                       "installazione del programma.");
const QString kEmpty = QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

QString sp(int n)
{
    return QString(n, QLatin1Char(' '));
}
// The song line of a card with only title and singer, as the list shows it.
QString songLineOf(const QString &titolo, const QString &cantante, const QString &album = QString(),
                   const QString &anno = QString())
{
    return (titolo + sp(50)).left(50) + "  " + (cantante + sp(35)).left(35) +
           "  Album: " + (album + sp(40)).left(40) + "  Anno: " + anno;
}

QLineEdit *field(QWidget *w, const char *name)
{
    auto *f = w->findChild<QLineEdit *>(QLatin1String(name));
    if (!f)
        qFatal("no field %s", name);
    return f;
}
} // namespace

class TestSearchWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void songSearch_data();
    void songSearch();
    void songSearchOpensTheExactCardOfEqualLines_data();
    void songSearchOpensTheExactCardOfEqualLines();
    void songSearchLoadsOnlyForTheSongEditor();
    void songSearchAccessError();
    void openingALineThatCannotBeReadClosesSilently();
    void programmingErrorInTheOpenerReachesTheGeneralReport();
    void songSearchFromTheEditorCommand();
    void findInTheWindow();
    void doubleClickOnCercaDoesNotPrint();
    void enterOnTheFindButton();

    void singerSearchFromTheSongEditor();
    void singerSearchFromTheSingerEditor();
    void singerSearchAccessError();

    void flaggedSongs();
    void flaggedOpensTheFlaggedCardNotItsTwin();
    void flaggedIgnoresAccessFailure();

    void printedLines();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<RecordingDesktop> m_desktop;
    QString m_collection;
};

void TestSearchWindows::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_desktop = std::make_unique<RecordingDesktop>();
    m_collection = m_folder->file(QStringLiteral("Prova.mus"));
}

void TestSearchWindows::cleanup()
{
    const QString left = m_desktop->leftovers();
    const QStringList texts = m_desktop->texts();
    m_desktop.reset();
    m_folder.reset();
    QVERIFY2(left.isEmpty(), qPrintable(left + texts.join(QLatin1Char('|'))));
}

void TestSearchWindows::songSearch_data()
{
    QTest::addColumn<QStringList>("filters"); // "field=text"
    QTest::addColumn<QStringList>("titles");  // titles listed, in list order
    QTest::addColumn<int>("filled");

    QTest::newRow("no filter: every card, sorted")
        << QStringList{} << QStringList{"alba", "Blu", "Zeta", "éco"} << 0;
    QTest::newRow("genre and year both needed")
        << QStringList{"txtGenere=rock", "txtAnno=1975"} << QStringList{"Zeta"} << 2;
    QTest::newRow("blank filter takes no part")
        << QStringList{"txtTitolo=   ", "txtGenere=ROCK"} << QStringList{"alba", "Zeta"} << 1;
    QTest::newRow("trailing space kept") << QStringList{"txtGenere=rock "} << QStringList{"alba"} << 1;
    QTest::newRow("nothing matches") << QStringList{"txtCantante=nessuno"} << QStringList{} << 1;
}

void TestSearchWindows::songSearch()
{
    QFETCH(QStringList, filters);
    QFETCH(QStringList, titles);
    QFETCH(int, filled);
    writeFile(m_collection, file<SongCard>({
                                song("Zeta", "Uno", "", "1975", "Hard Rock"),
                                song("éco", "Due", "", "1975", "Pop"),
                                song("alba", "Tre   x", "", "1980", "rock and roll"),
                                song("Blu", "Quattro", "", "1975", "Jazz"),
                            }));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    QVERIFY(window.panAvvio->isVisible());
    QVERIFY(!window.panContainer->isVisible());
    QLineEdit *last = nullptr;
    for (const QString &f : filters) {
        last = field(&window, qPrintable(f.section('=', 0, 0)));
        last->setText(f.section('=', 1));
    }
    // Return in the filter just typed searches as Cerca does.
    if (last)
        QTest::keyClick(last, Qt::Key_Return);
    else
        window.btnCerca->click();

    QVERIFY(window.panContainer->isVisible());
    QVERIFY(!window.panAvvio->isVisible());
    QCOMPARE(window.lblConta->text(), QString::number(filled));
    QStringList listed;
    for (const QString &line : window.lstRecords->lines())
        listed << line.left(50).trimmed();
    QCOMPARE(listed, titles);
    QCOMPARE(window.lblTrovate->text(),
             titles.size() == 1
                 ? QStringLiteral("Il presente riepilogo contiene 1 scheda.")
                 : QStringLiteral("Il presente riepilogo contiene %1 schede.").arg(titles.size()));
    QVERIFY(window.txtTrova->text().isEmpty());
}

void TestSearchWindows::songSearchOpensTheExactCardOfEqualLines_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byEnter"); // Enter on the selected line instead of a double-click
    QTest::newRow("first of two equal lines") << 0 << false;
    QTest::newRow("second of two equal lines") << 1 << false;
    QTest::newRow("second of two equal lines, Enter") << 1 << true;
}

void TestSearchWindows::songSearchOpensTheExactCardOfEqualLines()
{
    QFETCH(int, row);
    QFETCH(bool, byEnter);
    // Equal lines: the titles differ only after character 50, the genres are not listed.
    const QString title = QString(50, QLatin1Char('T'));
    SongCard first = song(title + "uno", "Mina", "Album", "1960", "Primo", "Sì");
    first.setText(SongCard::Testo, QStringLiteral("riga 1\nriga 2"));
    first.setText(SongCard::File01, QStringLiteral("allegato.pdf"));
    const SongCard second = song(title + "due", "Mina", "Album", "1960", "Secondo", "No");
    writeFile(m_collection, file<SongCard>({song("Altro", "X"), first, second}));

    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    named<QCheckBox>(&editor, "chkSegnala")->setChecked(row == 0 ? false : true);
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.setCaller(SearchWindow::Caller::SongEditor);
    window.show();
    window.btnCerca->click();
    QCOMPARE(window.lstRecords->count(), 3);
    QCOMPARE(window.lstRecords->line(1), window.lstRecords->line(2));
    // The flag ticked on the new card is a change: dropped for the pick.
    if (row != 0)
        m_desktop->saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    if (byEnter) {
        window.lstRecords->setCurrentRow(1 + row);
        window.lstRecords->setFocus();
        QTest::keyClick(window.lstRecords, Qt::Key_Return);
    } else {
        doubleClickRow(window.lstRecords, 1 + row);
    }

    QVERIFY(!window.isVisible());
    QCOMPARE(window.lstRecords->count(), 0);
    const SongCard &expected = row == 0 ? first : second;
    QCOMPARE(named<QLineEdit>(&editor, "txtTitolo")->text(), expected.text(SongCard::Titolo));
    QCOMPARE(named<QLineEdit>(&editor, "txtGenere")->text(), expected.text(SongCard::Genere));
    QCOMPARE(named<QPlainTextEdit>(&editor, "txtTesto")->toPlainText(), expected.text(SongCard::Testo));
    QCOMPARE(named<QLabel>(&editor, "lblFile01")->text(), expected.text(SongCard::File01));
    QCOMPARE(named<QCheckBox>(&editor, "chkSegnala")->isChecked(), row == 0);
    QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QString::number(2 + row));
}

void TestSearchWindows::songSearchLoadsOnlyForTheSongEditor()
{
    writeFile(m_collection, file<SongCard>({song("Volare", "Modugno")}));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.setCaller(SearchWindow::Caller::None);
    window.show();
    window.btnCerca->click();
    doubleClickRow(window.lstRecords, 0);
    QVERIFY(!window.isVisible());
    QVERIFY(named<QLineEdit>(&editor, "txtTitolo")->text().isEmpty());
}

void TestSearchWindows::songSearchAccessError()
{
    // A folder where the collection file should be.
    QVERIFY(QDir().mkpath(m_collection));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    window.btnCerca->click();
    QCOMPARE(m_desktop->last().kind, Kind::Plain);
    QCOMPARE(m_desktop->last().text, kAccess);
    QVERIFY(window.panAvvio->isVisible());
    // The waiting line does not outlive the failed search.
    QVERIFY(!window.lblAttendere->isVisible());
    window.btnAnnulla->click();
    QVERIFY(!window.lblAttendere->isVisible());
    QVERIFY(!window.isVisible());
}

void TestSearchWindows::openingALineThatCannotBeReadClosesSilently()
{
    writeFile(m_collection, file<SongCard>({song("Volare", "Modugno")}));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.setCaller(SearchWindow::Caller::SongEditor);
    window.show();
    window.btnCerca->click();
    QVERIFY(QFile::remove(m_collection));
    QVERIFY(QDir().mkpath(m_collection));
    doubleClickRow(window.lstRecords, 0);
    QVERIFY(!window.isVisible());
    QVERIFY(named<QLineEdit>(&editor, "txtTitolo")->text().isEmpty());
    QVERIFY(named<QLabel>(&editor, "lblPosizione")->text().isEmpty());
    QVERIFY(m_desktop->messages.isEmpty());
}

void TestSearchWindows::programmingErrorInTheOpenerReachesTheGeneralReport()
{
    // Only a failing archive is expected there; a fault in the program is reported, not swallowed.
    writeFile(m_collection, file<SongCard>({song("Volare", "Modugno")}));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [](qint64 at) {
        const std::array<int, 1> cells{};
        (void)cells.at(size_t(at)); // position 1 lies past the end
    });
    window.setCaller(SearchWindow::Caller::SongEditor);
    window.show();
    window.btnCerca->click();
    doubleClickRow(window.lstRecords, 0);
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->last().kind, Kind::Plain);
    QVERIFY2(m_desktop->last().text.contains(QStringLiteral("array::at")), qPrintable(m_desktop->last().text));
    window.btnChiudi->click();
}

void TestSearchWindows::songSearchFromTheEditorCommand()
{
    writeFile(m_collection, file<SongCard>({song("Volare", "Modugno"), song("Azzurro", "Celentano")}));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    QString caller;
    m_desktop->modalHandlers.enqueue([&](QDialog *d) {
        auto *w = qobject_cast<FrmTrovaCanzone *>(d);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral(" Trova canzone in collection"));
        caller = w->lblMemory->text();
        field(w, "txtTitolo")->setText(QStringLiteral("vol"));
        w->btnCerca->click();
        doubleClickRow(w->lstRecords, 0);
    });
    emit editor.cmdTrova->clicked();
    QCOMPARE(caller, QStringLiteral("collection"));
    QCOMPARE(named<QLineEdit>(&editor, "txtCantante")->text(), QStringLiteral("Modugno"));
    QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QStringLiteral("1"));
}

void TestSearchWindows::findInTheWindow()
{
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    {
        // A missing collection is created empty: nothing listed, and find has nothing to search.
        FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
        window.show();
        window.btnCerca->click();
        QVERIFY(QFile::exists(m_collection));
        QCOMPARE(window.lblTrovate->text(), QStringLiteral("Il presente riepilogo contiene 0 schede."));
        window.btnTrova->click();
        QCOMPARE(m_desktop->last().kind, Kind::Plain);
        QCOMPARE(m_desktop->last().text, kEmpty);
    }
    writeFile(m_collection, file<SongCard>({song("Rock uno", "A"), song("Pop", "B"), song("Rock due", "C")}));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    window.btnCerca->click();
    QCOMPARE(window.lstRecords->currentRow(), -1);
    window.txtTrova->setText(QStringLiteral("ROCK"));
    window.btnTrova->click();
    QCOMPARE(window.lstRecords->currentRow(), 1); // "Rock due" sorts before "Rock uno"
    window.btnTrova->click();
    QCOMPARE(window.lstRecords->currentRow(), 2);
    window.btnTrova->click();
    QCOMPARE(window.lstRecords->currentRow(), 1);
    window.txtTrova->setText(QString());
    window.btnTrova->click();
    QCOMPARE(window.lstRecords->currentRow(), 1);
    QCOMPARE(m_desktop->messages.size(), 1);
}

void TestSearchWindows::doubleClickOnCercaDoesNotPrint()
{
    writeFile(m_collection, file<SongCard>({song("Volare", "Modugno"), song("Azzurro", "Celentano")}));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Stampa appears where Cerca was: the second click of the double-click lands on it.
    const QPoint cerca = window.btnCerca->mapTo(&window, window.btnCerca->rect().center());
    const QPoint stampa = window.btnStampa->mapTo(&window, window.btnStampa->rect().center());
    QVERIFY(QRect(window.btnStampa->mapTo(&window, QPoint(0, 0)), window.btnStampa->size()).contains(cerca));
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, cerca);
    QVERIFY(window.panContainer->isVisible());
    QCOMPARE(window.lstRecords->count(), 2);
    QVERIFY(m_desktop->reports.isEmpty());
    // Nor did the second click take the focus away from the find field.
    QVERIFY(window.txtTrova->hasFocus());

    // Once a double-click is over, the panel's buttons work.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    QTRY_VERIFY(!window.panContainer->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, stampa);
    QCOMPARE(m_desktop->reports.size(), 1);
    QCOMPARE(m_desktop->reports.first().templateName, QStringLiteral("Riepilogo dati"));
}

void TestSearchWindows::enterOnTheFindButton()
{
    writeFile(m_collection, file<SongCard>({song("Rock uno", "A"), song("Pop", "B"), song("Rock due", "C")}));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmTrovaCanzone window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.btnCerca->click();
    QVERIFY(window.txtTrova->hasFocus());
    const QImage idle = window.btnTrova->grab().toImage();

    // The first Enter moves to Trova, which shows that it has the focus, and presses nothing.
    QTest::keyClicks(window.txtTrova, QStringLiteral("rock"));
    QTest::keyClick(window.txtTrova, Qt::Key_Return);
    QVERIFY(window.btnTrova->hasFocus());
    QCOMPARE(window.lstRecords->currentRow(), -1);
    QVERIFY2(window.btnTrova->grab().toImage() != idle, "no focus mark on Trova");

    // Each further Enter presses it: the next line holding the words.
    QTest::keyClick(window.btnTrova, Qt::Key_Return);
    QCOMPARE(window.lstRecords->currentRow(), 1); // "Rock due" sorts before "Rock uno"
    QTest::keyClick(window.btnTrova, Qt::Key_Enter);
    QCOMPARE(window.lstRecords->currentRow(), 2);
    QVERIFY(m_desktop->messages.isEmpty());
}

void TestSearchWindows::singerSearchFromTheSongEditor()
{
    writeFile(SingerArchive::path(),
              file<SingerCard>({singer("Mina", "Italiana", "Se telefonando", "Nessuna"),
                                singer("Modugno", "Italiana", "Volare", "")}));
    FrmCollection songs;
    songs.openCollection(m_collection, QStringLiteral("Prova"));
    named<QLineEdit>(&songs, "txtTitolo")->setText(QStringLiteral("Titolo"));
    m_desktop->modalHandlers.enqueue([&](QDialog *d) {
        auto *w = qobject_cast<FrmTrovaAnagrafica *>(d);
        QVERIFY(w);
        QCOMPARE(w->lblMemory->text(), QStringLiteral("collection"));
        field(w, "txtEstremi")->setText(QStringLiteral("VOL"));
        w->btnCerca->click();
        QCOMPARE(w->lstRecords->count(), 1);
        doubleClickRow(w->lstRecords, 0);
    });
    emit named<ClickPicture>(&songs, "impCantante")->clicked();
    QCOMPARE(named<QLineEdit>(&songs, "txtCantante")->text(), QStringLiteral("Modugno"));
    QCOMPARE(named<QLineEdit>(&songs, "txtTitolo")->text(), QStringLiteral("Titolo"));
    QVERIFY(named<QLabel>(&songs, "lblPosizione")->text().isEmpty());
}

void TestSearchWindows::singerSearchFromTheSingerEditor()
{
    // Equal lines: stage names equal in their first 30 characters.
    const QString name = QString(30, QLatin1Char('N'));
    writeFile(SingerArchive::path(),
              file<SingerCard>({singer(name + "a", "I", "B", "Band", "M"),
                                singer(name + "b", "I", "B", "Band", "F"), singer("Zero", "I", "B", "")}));
    FrmAnagrafica editor;
    for (int row : {0, 1}) {
        m_desktop->modalHandlers.enqueue([&](QDialog *d) {
            auto *w = qobject_cast<FrmTrovaAnagrafica *>(d);
            QCOMPARE(w->lblMemory->text(), QStringLiteral("anagrafica"));
            QCOMPARE(w->windowTitle(), QStringLiteral(" Trova schede cantanti in archivio"));
            w->btnCerca->click();
            QCOMPARE(w->lstRecords->count(), 3);
            QCOMPARE(w->lstRecords->line(0), w->lstRecords->line(1));
            doubleClickRow(w->lstRecords, row);
        });
        emit editor.cmdTrova->clicked();
        QCOMPARE(editor.txtNome->text(), name + (row == 0 ? "a" : "b"));
        QCOMPARE(editor.txtSesso->text(), row == 0 ? QStringLiteral("M") : QStringLiteral("F"));
        QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QString::number(row + 1));
    }
    // The photo folder is made when a picked card's photo is looked for.
    QVERIFY(QDir(m_folder->file(QStringLiteral("Anagrafica"))).exists());
}

void TestSearchWindows::singerSearchAccessError()
{
    QVERIFY(QDir().mkpath(SingerArchive::path()));
    FrmAnagrafica editor;
    FrmTrovaAnagrafica window(&editor, [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    window.btnCerca->click();
    QCOMPARE(m_desktop->last().text, kAccess);
    QCOMPARE(m_desktop->last().kind, Kind::Plain);
    QVERIFY(window.panAvvio->isVisible());
    QVERIFY(!window.lblAttendere->isVisible());
}

void TestSearchWindows::flaggedSongs()
{
    writeFile(m_collection, file<SongCard>({
                                song("Zeta", "A", "", "", "", "Sì"),
                                song("Senza accento", "B", "", "", "", "Si"),
                                song("Minuscolo", "C", "", "", "", "sì"),
                                song("Alba", "D", "", "", "", "Sì"),
                                song("Vuoto", "E", "", "", "", ""),
                            }));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmSegnalati window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral(" Riepilogo canzoni segnalate"));
    QCOMPARE(window.lstRecords->lines(), (QStringList{songLineOf("Alba", "D"), songLineOf("Zeta", "A")}));
}

void TestSearchWindows::flaggedOpensTheFlaggedCardNotItsTwin()
{
    // The unflagged twin comes later in the file with the same line: the flagged card is loaded.
    writeFile(m_collection, file<SongCard>({song("Gemella", "A", "", "", "Flag", "Sì"),
                                            song("Gemella", "A", "", "", "Nessuno", "No")}));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    m_desktop->modalHandlers.enqueue([&](QDialog *d) {
        auto *w = qobject_cast<FrmSegnalati *>(d);
        QVERIFY(w);
        QCOMPARE(w->lstRecords->count(), 1);
        doubleClickRow(w->lstRecords, 0);
    });
    emit named<ClickPicture>(&editor, "cmdSegnala")->clicked();
    QCOMPARE(named<QLineEdit>(&editor, "txtGenere")->text(), QStringLiteral("Flag"));
    QVERIFY(named<QCheckBox>(&editor, "chkSegnala")->isChecked());
    QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QStringLiteral("1"));
}

void TestSearchWindows::flaggedIgnoresAccessFailure()
{
    QVERIFY(QDir().mkpath(m_collection));
    FrmCollection editor;
    editor.openCollection(m_collection, QStringLiteral("Prova"));
    FrmSegnalati window(&editor, named<QLabel>(&editor, "lblFile")->text(), [&editor](qint64 at) { editor.openCard(at); });
    window.show();
    QCOMPARE(window.lstRecords->count(), 0);
    QVERIFY(m_desktop->messages.isEmpty());
    window.btnTrova->click();
    QCOMPARE(m_desktop->texts(), QStringList{kEmpty});
}

void TestSearchWindows::printedLines()
{
    writeFile(m_collection,
              file<SongCard>({song("B", "x", "", "", "", "Sì"), song("A", "y", "", "", "", "Sì")}));
    writeFile(SingerArchive::path(), file<SingerCard>({singer("Mina", "I", "", "")}));
    FrmCollection songs;
    songs.openCollection(m_collection, QStringLiteral("Prova"));
    FrmAnagrafica singers;

    FrmTrovaCanzone search(&songs, named<QLabel>(&songs, "lblFile")->text(), nullptr);
    search.show();
    search.btnCerca->click();
    QCOMPARE(search.reportTitle(), QStringLiteral("Riepilogo canzoni in collection"));
    QCOMPARE(search.printedLines(), (QStringList{songLineOf("A", "y"), songLineOf("B", "x")}));

    FrmSegnalati flagged(&songs, named<QLabel>(&songs, "lblFile")->text(), nullptr);
    flagged.show();
    QCOMPARE(flagged.reportTitle(), QStringLiteral("Riepilogo canzoni segnalate"));
    QCOMPARE(flagged.printedLines(), search.printedLines());

    FrmTrovaAnagrafica singerSearch(&singers, nullptr);
    singerSearch.show();
    singerSearch.btnCerca->click();
    QCOMPARE(singerSearch.reportTitle(), QStringLiteral("Riepilogo schede cantanti in archivio"));
    QCOMPARE(singerSearch.printedLines(),
             QStringList{"Mina" + sp(26) + "  Cittadinanza: I" + sp(19) + "  Brano: " + sp(50) + "  Band: "});

    // Stampa hands the list template, filled with the title and the lines in list order, to the
    // print dialog; a second press prints the same, not the first one's lines again.
    for (int press = 1; press <= 2; ++press) {
        search.btnStampa->click();
        QCOMPARE(m_desktop->reports.size(), press);
        const RecordingDesktop::Report &printed = m_desktop->reports.last();
        QVERIFY(!printed.preview);
        QCOMPARE(printed.templateName, QStringLiteral("Riepilogo dati"));
        QCOMPARE(printed.objects, (QStringList{"txtTitolo", "txtRiepilogo"}));
        QCOMPARE(printed.texts, (QStringList{"Riepilogo canzoni in collection",
                                             search.printedLines().join(QLatin1Char('\n'))}));
        QCOMPARE(printed.pages, 1);
    }
}

QTEST_MAIN(TestSearchWindows)
#include "tst_searchwindows.moc"
