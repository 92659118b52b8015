#include "ListFixtures.h"
#include "RecordingDesktop.h"

#include "app/Widgets.h"
#include "lists/FrmFilmografiaAttori.h"
#include "lists/ResultList.h"
#include "records/SingerCard.h"
#include "singers/FrmAnagrafica.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ListFixtures;
using Kind = Desktop::Kind;

namespace
{
const QString kAccess = QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                                       "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                                       "installazione del programma.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kSaved =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

DiscographySong track(const QString &anno, const QString &titolo,
                      const QString &genere = QStringLiteral("Pop"),
                      const QString &autori = QStringLiteral("Autore"),
                      const QString &durata = QStringLiteral("3:00"))
{
    DiscographySong s;
    s.setText(DiscographySong::Anno, anno);
    s.setText(DiscographySong::Titolo, titolo);
    s.setText(DiscographySong::Genere, genere);
    s.setText(DiscographySong::Autori, autori);
    s.setText(DiscographySong::Durata, durata);
    return s;
}
} // namespace

class TestDiscography : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstOpeningCreatesAnEmptyFile();
    void listsSongsInFileOrder();
    void addThenSaveAgainOverwrites();
    void closeOnTheFormGoesBackToTheList();
    void checksInOrder_data();
    void checksInOrder();
    void modifyEditsTheExactSongOfEqualLines_data();
    void modifyEditsTheExactSongOfEqualLines();
    void modifyNeedsASelection();
    void typingStopsAtCapacity();
    void saveAccessError();
    void readFailures();
    void openedFromTheSingerEditor();
    void longStageNameHeading();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<RecordingDesktop> m_desktop;
    std::unique_ptr<FrmAnagrafica> m_editor;
    QString m_file;
};

void TestDiscography::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_desktop = std::make_unique<RecordingDesktop>();
    m_editor = std::make_unique<FrmAnagrafica>();
    m_editor->txtNome->setText(QStringLiteral("  Mina "));
    m_file = m_folder->file(QStringLiteral("Discografia_Cantante_12.pro"));
}

void TestDiscography::cleanup()
{
    const QString left = m_desktop->leftovers();
    m_editor.reset();
    m_desktop.reset();
    m_folder.reset();
    QVERIFY2(left.isEmpty(), qPrintable(left));
}

void TestDiscography::firstOpeningCreatesAnEmptyFile()
{
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    QVERIFY(QFile::exists(m_file));
    QCOMPARE(QFileInfo(m_file).size(), 0);
    QCOMPARE(window.lblFile->text(), m_file);
    QCOMPARE(window.lblTitolo->text(), QStringLiteral("Discografia di Mina"));
    QCOMPARE(window.lblTotale->text(), QStringLiteral("0"));
    QVERIFY(window.panContainer->isVisible());
    QVERIFY(!window.panCosti->isVisible());

    window.btnTrova->click();
    window.btnModifica->click();
    QCOMPARE(m_desktop->messages.size(), 2);
    QCOMPARE(m_desktop->messages.at(0).kind, Kind::Plain);
    QCOMPARE(m_desktop->messages.at(0).text,
             QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
    QCOMPARE(m_desktop->messages.at(1).kind, Kind::Information);
    QCOMPARE(m_desktop->messages.at(1).text,
             QStringLiteral("Modifica non applicabile: la lista non contiene nessuna voce."));

    // The printed list ends with its closing lines even when empty.
    QCOMPARE(window.reportTitle(), QStringLiteral("Discografia di Mina"));
    QCOMPARE(window.printedLines(), (QStringList{"--------------------------", "TOTALE CANZONI:      0"}));
}

void TestDiscography::listsSongsInFileOrder()
{
    writeFile(m_file,
              file<DiscographySong>({track("1999", "Zeta"), track("2000", "  "), track("1958", "Alba")}) +
                  QByteArray(10, 'x')); // a partial trailing record is no song
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    QCOMPARE(window.lstRecords->count(), 2);
    QVERIFY(window.lstRecords->line(0).startsWith(QStringLiteral("Zeta ")));
    QVERIFY(window.lstRecords->line(1).startsWith(QStringLiteral("Alba ")));
    QCOMPARE(window.lblTotale->text(), QStringLiteral("2"));
    // A double-click opens nothing here: a song is edited through its button.
    doubleClickRow(window.lstRecords, 0);
    QVERIFY(window.isVisible());
    QVERIFY(window.panContainer->isVisible());
    QCOMPARE(window.lstRecords->count(), 2);
    QCOMPARE(window.printedLines().mid(2),
             (QStringList{"--------------------------", "TOTALE CANZONI:      2"}));

    // The printed discography carries the closing lines after the songs.
    window.btnStampa->click();
    QCOMPARE(m_desktop->reports.size(), 1);
    QCOMPARE(m_desktop->reports.at(0).texts,
             (QStringList{"Discografia di Mina", window.printedLines().join(QLatin1Char('\n'))}));
    QVERIFY(m_desktop->reports.at(0).texts.at(1).endsWith(QStringLiteral("TOTALE CANZONI:      2")));
}

void TestDiscography::addThenSaveAgainOverwrites()
{
    writeFile(m_file, track("1958", "Volare").encode());
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    window.btnAggiungi->click();
    QVERIFY(window.panCosti->isVisible());
    QVERIFY(!window.panContainer->isVisible());
    QVERIFY(window.lblPosizione->text().isEmpty());
    window.txtAnno->setText(QStringLiteral("1960"));
    window.txtTitolo->setText(QStringLiteral("Nuova "));
    window.txtGenere->setText(QStringLiteral("Pop"));
    window.txtAutori->setText(QStringLiteral("Io"));
    window.txtDurata->setText(QStringLiteral("2:10"));
    window.btnSalva->click();
    QCOMPARE(m_desktop->last().kind, Kind::Information);
    QCOMPARE(m_desktop->last().text, kInserted);
    QCOMPARE(window.lblPosizione->text(), QStringLiteral("2"));
    QCOMPARE(fileContent(m_file),
             file<DiscographySong>({track("1958", "Volare"), track("1960", "Nuova", "Pop", "Io", "2:10")}));

    window.txtTitolo->setText(QStringLiteral("Cambiata"));
    window.btnSalva->click();
    QCOMPARE(m_desktop->last().text, kSaved);
    QCOMPARE(fileContent(m_file), file<DiscographySong>({track("1958", "Volare"),
                                                         track("1960", "Cambiata", "Pop", "Io", "2:10")}));
    // The list is rebuilt when the form goes back to it.
    QCOMPARE(window.lstRecords->count(), 1);
}

void TestDiscography::closeOnTheFormGoesBackToTheList()
{
    writeFile(m_file, track("1958", "Volare").encode());
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    window.btnAggiungi->click();
    window.txtAnno->setText(QStringLiteral("1960"));
    window.txtTitolo->setText(QStringLiteral("Nuova"));
    window.txtGenere->setText(QStringLiteral("Pop"));
    window.txtAutori->setText(QStringLiteral("Io"));
    window.txtDurata->setText(QStringLiteral("2:10"));
    window.btnSalva->click();
    QTest::mouseClick(window.cmdClose, Qt::LeftButton);
    QVERIFY(window.isVisible());
    QVERIFY(window.panContainer->isVisible());
    QVERIFY(!window.panCosti->isVisible());
    QCOMPARE(window.lstRecords->count(), 2);
    QCOMPARE(window.lblTotale->text(), QStringLiteral("2"));
    // Chiudi on the list closes the window.
    QTest::mouseClick(window.btnChiudi, Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void TestDiscography::checksInOrder_data()
{
    QTest::addColumn<int>("filled"); // how many leading fields are filled
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("focus");
    const char *texts[] = {
        "Attenzione: per salvare la scheda è necessario indicare l'anno di produzione della canzone.",
        "Attenzione: per salvare la scheda è necessario indicare il titolo della canzone.",
        "Attenzione: per salvare la scheda è necessario indicare il genere musicale della canzone.",
        "Attenzione: per salvare la scheda è necessario indicare gli autori della canzone.",
        "Attenzione: per salvare la scheda è necessario indicare la durata della canzone.",
    };
    const char *fields[] = {"txtAnno", "txtTitolo", "txtGenere", "txtAutori", "txtDurata"};
    for (int i = 0; i < 5; ++i)
        QTest::newRow(fields[i]) << i << QString::fromUtf8(texts[i]) << QString::fromLatin1(fields[i]);
}

void TestDiscography::checksInOrder()
{
    QFETCH(int, filled);
    QFETCH(QString, warning);
    QFETCH(QString, focus);
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    window.activateWindow();
    window.btnAggiungi->click();
    QLineEdit *fields[] = {window.txtAnno, window.txtTitolo, window.txtGenere, window.txtAutori,
                           window.txtDurata};
    for (int i = 0; i < 5; ++i)
        fields[i]->setText(i < filled ? QStringLiteral("x") : QStringLiteral("   "));
    window.btnSalva->click();
    QCOMPARE(m_desktop->texts(), QStringList{warning});
    QCOMPARE(m_desktop->last().kind, Kind::Warning);
    QCOMPARE(window.focusWidget()->objectName(), focus);
    QCOMPARE(QFileInfo(m_file).size(), 0);
}

void TestDiscography::modifyEditsTheExactSongOfEqualLines_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("first") << 0;
    QTest::newRow("second") << 1;
}

void TestDiscography::modifyEditsTheExactSongOfEqualLines()
{
    QFETCH(int, row);
    // Equal lines: the titles differ only after character 46, the genres after character 24.
    const QString title = QString(46, QLatin1Char('T'));
    const QString genre = QString(24, QLatin1Char('G'));
    const QList<DiscographySong> songs{track("1990", title + "uno", genre + "A"),
                                       track("1990", title + "due", genre + "B")};
    writeFile(m_file, file<DiscographySong>(songs));
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    QCOMPARE(window.lstRecords->line(0), window.lstRecords->line(1));
    window.lstRecords->setCurrentRow(row);
    window.btnModifica->click();
    QVERIFY(window.panCosti->isVisible());
    QCOMPARE(window.txtTitolo->text(), songs.at(row).text(DiscographySong::Titolo));
    QCOMPARE(window.txtGenere->text(), songs.at(row).text(DiscographySong::Genere));
    QCOMPARE(window.lblPosizione->text(), QString::number(row + 1));

    window.txtDurata->setText(QStringLiteral("9:99"));
    window.btnSalva->click();
    QCOMPARE(m_desktop->texts(), QStringList{kSaved});
    QList<DiscographySong> expected = songs;
    expected[row].setText(DiscographySong::Durata, QStringLiteral("9:99"));
    QCOMPARE(fileContent(m_file), file<DiscographySong>(expected));
}

void TestDiscography::modifyNeedsASelection()
{
    writeFile(m_file, track("1958", "Volare").encode());
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    window.lstRecords->setCurrentRow(-1);
    window.btnModifica->click();
    QCOMPARE(m_desktop->last().kind, Kind::Warning);
    QCOMPARE(m_desktop->last().text,
             QStringLiteral(
                 "Attenzione: selezionare una voce dall'elenco prima di premere il pulsante di modifica."));
    QVERIFY(window.panContainer->isVisible());
}

void TestDiscography::typingStopsAtCapacity()
{
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    window.btnAggiungi->click();
    const std::pair<QLineEdit *, int> limits[] = {{window.txtAnno, 4},
                                                  {window.txtTitolo, 50},
                                                  {window.txtGenere, 28},
                                                  {window.txtAutori, 29},
                                                  {window.txtDurata, 28}};
    for (const auto &[field, capacity] : limits) {
        QTest::keyClicks(field, QString(capacity + 3, QLatin1Char('9')));
        QCOMPARE(field->text().size(), capacity);
    }
    window.btnSalva->click();
    QCOMPARE(m_desktop->texts(), QStringList{kInserted});
    const DiscographySong stored = DiscographySong::decode(fileContent(m_file));
    QCOMPARE(stored.text(DiscographySong::Titolo), QString(50, QLatin1Char('9')));
    // Listed cut to 46 when the window opens again.
    FrmFilmografiaAttori again(m_editor.get(), 12, m_editor->txtNome->text());
    again.show();
    QVERIFY(again.lstRecords->line(0).startsWith(QString(46, QLatin1Char('9')) + "   Anno: 9999"));
}

void TestDiscography::saveAccessError()
{
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    window.btnAggiungi->click();
    for (QLineEdit *f :
         {window.txtAnno, window.txtTitolo, window.txtGenere, window.txtAutori, window.txtDurata})
        f->setText(QStringLiteral("x"));
    // A folder where the discography file should be.
    QVERIFY(QFile::remove(m_file));
    QVERIFY(QDir().mkpath(m_file));
    window.btnSalva->click();
    QCOMPARE(m_desktop->last().kind, Kind::Warning);
    QCOMPARE(m_desktop->last().text, kAccess);
    QVERIFY(window.panCosti->isVisible());
    QVERIFY(window.lblPosizione->text().isEmpty());
    QCOMPARE(window.txtTitolo->text(), QStringLiteral("x"));
}

void TestDiscography::readFailures()
{
    // A folder where the discography file should be: the list stays empty, without a message.
    QVERIFY(QDir().mkpath(m_file));
    {
        FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
        window.show();
        QCOMPARE(window.lstRecords->count(), 0);
        QCOMPARE(window.lblTotale->text(), QStringLiteral("0"));
    }
    QVERIFY(QDir().rmdir(m_file));
    // The file turns unreadable between the listing and Modifica: the window closes silently.
    writeFile(m_file, track("1958", "Volare").encode());
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    window.lstRecords->setCurrentRow(0);
    QVERIFY(QFile::remove(m_file));
    QVERIFY(QDir().mkpath(m_file));
    window.btnModifica->click();
    QVERIFY(!window.isVisible());
    QVERIFY(window.txtTitolo->text().isEmpty());
    QVERIFY(m_desktop->messages.isEmpty());
}

void TestDiscography::openedFromTheSingerEditor()
{
    // The editor shows the twelfth singer card of the archive.
    QByteArray archive;
    for (int i = 1; i <= 12; ++i) {
        SingerCard singer;
        singer.setText(SingerCard::Nome, QStringLiteral("Cantante %1").arg(i));
        archive += singer.encode();
    }
    writeFile(SingerArchive::path(), archive);
    m_desktop->saveAnswers.enqueue(Desktop::SaveChoice::DontSave); // the name typed on the new card
    m_editor->showStoredCard(12);
    m_editor->txtNome->setText(QStringLiteral("  Mina "));
    writeFile(m_file, track("1958", "Volare").encode());
    m_desktop->modalHandlers.enqueue([&](QDialog *d) {
        auto *w = qobject_cast<FrmFilmografiaAttori *>(d);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral(" Gestione discografia cantante"));
        QCOMPARE(w->lstRecords->count(), 1);
        w->btnChiudi->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(w->lstRecords->count(), 0);
    });
    emit m_editor->btnFilmografia->clicked();
}

void TestDiscography::longStageNameHeading()
{
    const QString name = QString(47, QLatin1Char('M')) + QStringLiteral(" UN");
    QCOMPARE(name.size(), 50);
    m_editor->txtNome->setText(name);
    FrmFilmografiaAttori window(m_editor.get(), 12, m_editor->txtNome->text());
    window.show();
    QLabel *heading = window.lblTitolo;
    QCOMPARE(heading->text(), QStringLiteral("Discografia di ") + name);

    // The bar shows the words "Discografia di" whole, where a bar holding only them at the
    // left would show them.
    const QImage shown = heading->grab().toImage();
    QLabel words(QStringLiteral("Discografia di"));
    words.setFont(heading->font());
    words.setPalette(heading->palette());
    words.setAutoFillBackground(true);
    words.setContentsMargins(heading->contentsMargins());
    words.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    words.resize(heading->size());
    const QImage expected = words.grab().toImage();
    QCOMPARE(shown.size(), expected.size());
    const QRect area = heading->contentsRect();
    const int end =
        area.left() + QFontMetrics(heading->font()).horizontalAdvance(QStringLiteral("Discografia di"));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < end; ++x)
            if (shown.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("the heading's beginning differs at %1,%2").arg(x).arg(y)));
    // Nothing is drawn in the bar's margins: the end of the name is cut inside the bar.
    const QRgb background = shown.pixel(0, 0);
    bool inked = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = area.right() + 1; x < shown.width(); ++x)
            QCOMPARE(shown.pixel(x, y), background);
        for (int x = end; x <= area.right(); ++x)
            inked = inked || shown.pixel(x, y) != background;
    }
    QVERIFY(inked);
}

QTEST_MAIN(TestDiscography)
#include "tst_discography.moc"
