// The card preview and print windows, opened from the editors and driven through the desktop double.
#include "Named.h"
#include "RecordingDesktop.h"
#include "app/Artwork.h"
#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "output/FrmAnteprimaAnagrafica.h"
#include "output/FrmAnteprimaCanzone.h"
#include "output/FrmStampaAnagrafica.h"
#include "output/FrmStampaCanzone.h"
#include "output/SingerCardWindow.h"
#include "singers/FrmAnagrafica.h"
#include "app/PictureBox.h"
#include "records/SingerPhoto.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace
{

// Filled in record order after the collection's title.
const QStringList kSongObjects = {"txtCollection", "txtTitolo", "txtCantante", "txtAlbum", "txtGenere",
                                  "txtAutori",     "txtNazione", "txtAnno",    "txtPremi", "txtCasa",
                                  "txtDurata",     "txtTesto",   "txtStoria",  "txtMusica", "txtNote"};

// The 26 text objects, filled in record order after the photo.
const QStringList kSingerFields = {
    "txtNome",          "txtSesso",      "txtDataNasc", "txtCittadinanza", "txtLuogoNasc", "txtIndirizzo",
    "txtCodFisc",       "txtEstremi",    "txtEmail",    "txtTel",          "txtCellulare", "txtStudio",
    "txtLingue",        "txtPartitaIva", "txtIban",     "txtAltezza",      "txtPeso",      "txtOcchi",
    "txtCapelli",       "txtVita",       "txtFianchi",  "txtTaglia",       "txtScarpe",    "txtEsperienze",
    "txtDisponibilita", "txtNote"};

QPushButton *button(QWidget *w, const char *name)
{
    return w->findChild<QPushButton *>(QString::fromLatin1(name));
}

// What a window looked like when the double handed it over.
struct Seen {
    QString name, title, confirm;
    bool visibleAfter = false;
    int result = -1;
};

// A handler that presses one button of the window and notes what it saw.
std::function<void(QDialog *)> press(const char *which, Seen &seen)
{
    return [which, &seen](QDialog *w) {
        seen.name = w->objectName();
        seen.title = w->windowTitle();
        seen.confirm = button(w, "btnStampa")->text();
        button(w, which)->click();
        seen.visibleAfter = w->isVisible();
        seen.result = w->result();
    };
}

} // namespace

class TestCardPrint : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void designedControls_data();
    void designedControls();
    void songCard_data();
    void songCard();
    void songCancel_data();
    void songCancel();
    void songFailureReachesTheGeneralReport();
    void singerCard_data();
    void singerCard();
    void singerPhoto_data();
    void singerPhoto();
    void singerCancel();
    void singerFailure_data();
    void singerFailure();
    void faultReachesTheGeneralReport_data();
    void faultReachesTheGeneralReport();

private:
    void fillSong();
    void fillSinger();
    TempProgramFolder *m_folder = nullptr;
    RecordingDesktop *m_desk = nullptr;
    FrmCollection *m_song = nullptr;
    FrmAnagrafica *m_singer = nullptr;
};

void TestCardPrint::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
    m_song = new FrmCollection;
    m_song->openCollection(m_folder->file(QStringLiteral("Rock.mus")), QStringLiteral("Rock"));
    m_singer = new FrmAnagrafica;
}

void TestCardPrint::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_singer;
    delete m_song;
    delete m_desk;
    delete m_folder;
    QVERIFY(QApplication::topLevelWidgets().size() < 50);
}

void TestCardPrint::fillSong()
{
    named<QLineEdit>(m_song, "txtTitolo")->setText(QStringLiteral("  Nel blu dipinto di blu [Volare] "));
    named<QLineEdit>(m_song, "txtCantante")->setText(QStringLiteral("Domenico Modugno"));
    named<QLineEdit>(m_song, "txtAlbum")->setText(QString());
    named<QLineEdit>(m_song, "txtAutori")->setText(QStringLiteral("Modugno, Migliacci"));
    named<QLineEdit>(m_song, "txtPremi")->setText(QStringLiteral("\tSanremo 1958"));
    named<QLineEdit>(m_song, "txtGenere")->setText(QStringLiteral("Pop"));
    named<QLineEdit>(m_song, "txtNazione")->setText(QStringLiteral("Italia"));
    named<QLineEdit>(m_song, "txtAnno")->setText(QStringLiteral("1958"));
    named<QLineEdit>(m_song, "txtDurata")->setText(QStringLiteral("3:35"));
    named<QLineEdit>(m_song, "txtCasa")->setText(QStringLiteral("Fonit"));
    named<QPlainTextEdit>(m_song, "txtTesto")->setPlainText(QStringLiteral("Penso che un sogno così\nnon ritorni mai più\n\n"));
    named<QPlainTextEdit>(m_song, "txtStoria")->setPlainText(QStringLiteral(" I think a dream like this"));
    named<QLineEdit>(m_song, "txtNote")->setText(QStringLiteral("Nota"));
    named<QLineEdit>(m_song, "txtMusica")->setText(QStringLiteral("Orchestra"));
    named<QLineEdit>(m_song, "txtSito")->setText(QStringLiteral("https://example.org"));
}

void TestCardPrint::fillSinger()
{
    for (const QString &name : kSingerFields)
        m_singer->findChild<QLineEdit *>(name)->setText(QStringLiteral(" ") + name.mid(3) +
                                                        QStringLiteral(" [x] "));
    m_singer->txtSesso->setText(QStringLiteral("M"));
}

void TestCardPrint::designedControls_data()
{
    QTest::addColumn<int>("window"); // 0..3: song preview, song print, singer preview, singer print
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text"); // button text or artwork resource

    QTest::newRow("song preview white area") << 0 << "shpSfondo" << QRect(18, 18, 327, 215) << "";
    QTest::newRow("song preview explanation")
        << 0 << "icoInf01" << QRect(28, 28, 225, 83) << ":/output/anteprima_spiegazione.svg";
    QTest::newRow("song preview reader")
        << 0 << "imgLogo01" << QRect(280, 31, 51, 81) << ":/output/lettore.svg";
    QTest::newRow("song preview separator") << 0 << "shpSepara" << QRect(26, 120, 311, 6) << "";
    QTest::newRow("song preview printer")
        << 0 << "imgSezione04" << QRect(30, 140, 66, 69) << ":/output/stampante_lente.svg";
    QTest::newRow("song preview instruction")
        << 0 << "icoInf02" << QRect(112, 140, 209, 67) << ":/output/anteprima_istruzioni.svg";
    QTest::newRow("song preview cancel") << 0 << "btnAnnulla" << QRect(18, 243, 137, 28) << "Annulla";
    QTest::newRow("song preview confirm")
        << 0 << "btnStampa" << QRect(208, 243, 137, 28) << "Mostra anteprima";
    QTest::newRow("song print explanation")
        << 1 << "icoInf01" << QRect(28, 28, 240, 83) << ":/output/stampa_spiegazione.svg";
    QTest::newRow("song print separator") << 1 << "shpSepara" << QRect(26, 120, 311, 4) << "";
    QTest::newRow("song print printer")
        << 1 << "imgSezione04" << QRect(30, 140, 82, 72) << ":/output/stampante.svg";
    QTest::newRow("song print instruction")
        << 1 << "icoInf02" << QRect(122, 140, 206, 71) << ":/output/stampa_istruzioni.svg";
    QTest::newRow("song print confirm") << 1 << "btnStampa" << QRect(208, 243, 137, 28) << "Stampa";
    QTest::newRow("singer preview white area") << 2 << "shpSfondo" << QRect(18, 18, 326, 215) << "";
    QTest::newRow("singer preview cancel") << 2 << "btnAnnulla" << QRect(18, 243, 145, 28) << "Annulla";
    QTest::newRow("singer preview confirm")
        << 2 << "btnStampa" << QRect(200, 243, 145, 28) << "Mostra anteprima";
    QTest::newRow("singer preview printer")
        << 2 << "imgSezione04" << QRect(30, 140, 66, 69) << ":/output/stampante_lente.svg";
    QTest::newRow("singer print confirm") << 3 << "btnStampa" << QRect(200, 243, 145, 28) << "Stampa";
    QTest::newRow("singer print explanation")
        << 3 << "icoInf01" << QRect(28, 28, 240, 83) << ":/output/stampa_spiegazione.svg";
}

void TestCardPrint::designedControls()
{
    QFETCH(int, window);
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    std::unique_ptr<CardPrintWindow> w;
    switch (window) {
    case 0:
        w.reset(new FrmAnteprimaCanzone(m_song, m_song->cardShown(), named<QLabel>(m_song, "lblNome")->text()));
        break;
    case 1:
        w.reset(new FrmStampaCanzone(m_song, m_song->cardShown(), named<QLabel>(m_song, "lblNome")->text()));
        break;
    case 2:
        w.reset(new FrmAnteprimaAnagrafica(m_singer, m_singer->card(), {}, SingerPhoto::placeholder()));
        break;
    default:
        w.reset(new FrmStampaAnagrafica(m_singer, m_singer->card(), {}, SingerPhoto::placeholder()));
    }
    QCOMPARE(w->size(), window < 2 ? QSize(362, 287) : QSize(364, 287));
    QCOMPARE(w->windowTitle(),
             window % 2 == 0 ? QStringLiteral(" Anteprima di stampa") : QStringLiteral(" Stampa scheda"));
    QCOMPARE(w->parentWidget(),
             window < 2 ? static_cast<QWidget *>(m_song) : static_cast<QWidget *>(m_singer));
    QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
    QWidget *c = w->findChild<QWidget *>(control);
    QVERIFY(c);
    QCOMPARE(QRect(c->mapTo(w.get(), QPoint(0, 0)), c->size()), geometry);
    if (auto *b = qobject_cast<QPushButton *>(c)) {
        QCOMPARE(b->text(), text);
        QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(QFontInfo(b->font()).family(), QFontInfo(QFont(QStringLiteral("Verdana"))).family());
        // 9 points as every window sizes them, whatever the screen's resolution.
        QCOMPARE(b->font().pixelSize(), 12);
    } else if (auto *a = qobject_cast<Artwork *>(c)) {
        QCOMPARE(a->resource(), text);
        QVERIFY(QFile::exists(text));
    }
}

void TestCardPrint::songCard_data()
{
    QTest::addColumn<bool>("preview");
    QTest::newRow("preview") << true;
    QTest::newRow("print") << false;
}

void TestCardPrint::songCard()
{
    QFETCH(bool, preview);
    fillSong(); // typed, not saved
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnStampa", seen));
    emit(preview ? m_song->cmdAnteprima : m_song->cmdStampa)->clicked();

    QCOMPARE(seen.name, preview ? QStringLiteral("frmAnteprimaCanzone") : QStringLiteral("frmStampaCanzone"));
    // The preview's instruction picture says "Fare clic su Mostra anteprima": its button agrees.
    QCOMPARE(seen.confirm, preview ? QStringLiteral("Mostra anteprima") : QStringLiteral("Stampa"));
    QVERIFY(!seen.visibleAfter);
    QCOMPARE(m_desk->reports.size(), 1);
    const auto &r = m_desk->reports.first();
    QCOMPARE(r.preview, preview);
    QCOMPARE(r.templateName, QStringLiteral("Scheda Canzone"));
    QCOMPARE(r.pages, 1);
    QCOMPARE(r.objects, kSongObjects);
    QCOMPARE(r.texts, QStringList({"Rock", "Nel blu dipinto di blu [Volare]", "Domenico Modugno", "ALBUM:  ",
                                   "Pop", "Modugno, Migliacci", "Italia", "1958", "Sanremo 1958", "Fonit",
                                   "3:35", QStringLiteral("Penso che un sogno così\nnon ritorni mai più"),
                                   "I think a dream like this", "Orchestra", "Nota"}));
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCardPrint::songCancel_data()
{
    songCard_data();
}

void TestCardPrint::songCancel()
{
    QFETCH(bool, preview);
    fillSong();
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnAnnulla", seen));
    emit(preview ? m_song->cmdAnteprima : m_song->cmdStampa)->clicked();
    QVERIFY(!seen.name.isEmpty());
    QVERIFY(!seen.visibleAfter);
    QCOMPARE(seen.result, int(QDialog::Rejected));
    QVERIFY(m_desk->reports.isEmpty());
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCardPrint::songFailureReachesTheGeneralReport()
{
    m_desk->reportFailure = QStringLiteral("La stampante non risponde");
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnStampa", seen));
    emit m_song->cmdStampa->clicked();
    QVERIFY(seen.visibleAfter); // the window stays as the command left it
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Desktop::Kind::Plain);
    QCOMPARE(m_desk->last().text, QStringLiteral("La stampante non risponde."));
}

void TestCardPrint::singerCard_data()
{
    songCard_data();
}

void TestCardPrint::singerCard()
{
    QFETCH(bool, preview);
    fillSinger();
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnStampa", seen));
    emit(preview ? m_singer->cmdAnteprima : m_singer->cmdStampa)->clicked();

    QCOMPARE(seen.name,
             preview ? QStringLiteral("frmAnteprimaAnagrafica") : QStringLiteral("frmStampaAnagrafica"));
    QCOMPARE(seen.confirm, preview ? QStringLiteral("Mostra anteprima") : QStringLiteral("Stampa"));
    QVERIFY(!seen.visibleAfter);
    QCOMPARE(m_desk->reports.size(), 1);
    const auto &r = m_desk->reports.first();
    QCOMPARE(r.preview, preview);
    QCOMPARE(r.templateName, QStringLiteral("Scheda cantante"));
    QCOMPARE(r.pages, 1);
    QCOMPARE(r.objects, QStringList{QStringLiteral("imgLogo")} + kSingerFields);
    QStringList expected{QString()};
    for (const QString &name : kSingerFields) {
        // What the field holds (some are shorter than the typed text), without the outer blanks.
        const QString held = m_singer->findChild<QLineEdit *>(name)->text();
        QVERIFY(held.startsWith(QLatin1Char(' ')) || name == QLatin1String("txtSesso"));
        expected << held.trimmed();
    }
    QCOMPARE(expected.at(2), QStringLiteral("M"));
    QCOMPARE(expected.at(1), QStringLiteral("Nome [x]"));
    QCOMPARE(r.texts, expected);
    // No photo: the editor's placeholder is printed.
    QCOMPARE(r.picture, m_singer->imgFoto->picture().size());
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCardPrint::singerPhoto_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<QSize>("handed"); // at most what the photo box needs at 300 dpi
    QTest::newRow("24 megapixels in memory") << QSize(6000, 4000) << false << QSize(2221, 1481);
    QTest::newRow("24 megapixels from a JPEG file") << QSize(6000, 4000) << true << QSize(2221, 1481);
    QTest::newRow("tall photo") << QSize(1500, 3000) << true << QSize(827, 1654);
    QTest::newRow("small photo kept for the page to enlarge") << QSize(90, 120) << false << QSize(90, 120);
}

void TestCardPrint::singerPhoto()
{
    QFETCH(QSize, photo);
    QFETCH(bool, fromFile);
    QFETCH(QSize, handed);
    QImage picture(photo, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    if (fromFile) {
        const QString path = m_folder->file(QStringLiteral("foto.jpg"));
        QVERIFY(picture.save(path, "JPEG", 80));
        QVERIFY(m_singer->imgFoto->setPhoto(SingerPhoto::Photo::fromFile(path)));
    } else {
        m_singer->imgFoto->setPicture(picture);
    }
    picture = QImage();
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnStampa", seen));
    emit m_singer->cmdAnteprima->clicked();
    QCOMPARE(m_desk->reports.size(), 1);
    QVERIFY(qAbs(m_desk->reports.first().picture.width() - handed.width()) <= 1);
    QVERIFY(qAbs(m_desk->reports.first().picture.height() - handed.height()) <= 1);
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCardPrint::singerCancel()
{
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnAnnulla", seen));
    emit m_singer->cmdStampa->clicked();
    QCOMPARE(seen.name, QStringLiteral("frmStampaAnagrafica"));
    QVERIFY(!seen.visibleAfter);
    QVERIFY(m_desk->reports.isEmpty());
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCardPrint::singerFailure_data()
{
    songCard_data();
}

void TestCardPrint::singerFailure()
{
    QFETCH(bool, preview);
    m_desk->reportFailure = QStringLiteral("Memoria insufficiente");
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnStampa", seen));
    emit(preview ? m_singer->cmdAnteprima : m_singer->cmdStampa)->clicked();
    QVERIFY(!seen.visibleAfter);
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Desktop::Kind::Warning);
    QCOMPARE(m_desk->last().text,
             QStringLiteral(
                 "Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon fine.\n\r\n\r"
                 "Si consiglia di ridurre le dimensioni della foto."));
    QCOMPARE(SingerCardWindow::kFailure, m_desk->last().text);
}

void TestCardPrint::faultReachesTheGeneralReport_data()
{
    QTest::addColumn<bool>("singer");
    QTest::addColumn<bool>("preview");
    QTest::newRow("song, print") << false << false;
    QTest::newRow("singer, print") << true << false;
    QTest::newRow("singer, preview") << true << true;
}

void TestCardPrint::faultReachesTheGeneralReport()
{
    // The singer's window expects report failures and a photo too large for memory; a fault
    // of the program is neither, and is reported as such rather than as a photo problem.
    QFETCH(bool, singer);
    QFETCH(bool, preview);
    if (singer)
        fillSinger();
    else
        fillSong();
    m_desk->reportFault = true;
    Seen seen;
    m_desk->modalHandlers.enqueue(press("btnStampa", seen));
    CardEditor *editor = singer ? static_cast<CardEditor *>(m_singer) : m_song;
    emit(preview ? editor->cmdAnteprima : editor->cmdStampa)->clicked();
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Desktop::Kind::Plain);
    QVERIFY2(m_desk->last().text.contains(QStringLiteral("array::at")), qPrintable(m_desk->last().text));
}

QTEST_MAIN(TestCardPrint)
#include "tst_cardprint.moc"
