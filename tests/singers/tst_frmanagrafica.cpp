// The singer card editor driven through its controls, with the desktop double answering.
#include "Named.h"
#include "RecordingDesktop.h"
#include "SingerFixtures.h"
#include "app/Fields.h"
#include "app/FrmAvvio.h"
#include "app/FrmGuida.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "shell/WindowSet.h"
#include "app/PictureBox.h"

#include <QPlainTextEdit>
#include <QSignalSpy>

using namespace fixtures;
using Kind = Desktop::Kind;

namespace
{

const QString kEmpty = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kAccess = QStringLiteral("Attenzione: il sistema non permette di accedere "
                                       "all'archivio.\n\r\n\rAccertarsi di possedere i privilegi "
                                       "di scrittura nella cartella di installazione del programma.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kChanged =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

// One editor in a fresh program folder, shown as the launcher shows it.
struct Bench {
    TempProgramFolder folder;
    RecordingDesktop desk;
    FrmAnagrafica w;

    Bench()
    {
        w.showWorkWindow();
        QApplication::setActiveWindow(&w);
    }
    void fillRequired(const QString &nome = QStringLiteral("Mina"))
    {
        field(&w, "txtNome")->setText(nome);
        field(&w, "txtSesso")->setText(QStringLiteral("F"));
        field(&w, "txtCittadinanza")->setText(QStringLiteral("Italiana"));
        field(&w, "txtEstremi")->setText(QStringLiteral("Se telefonando"));
    }
    QString photoOf(int position) const { return SingerPhoto::fileFor(QString::number(position)); }
};

} // namespace

class TestFrmAnagrafica : public QObject
{
    Q_OBJECT
private slots:
    void designedControls();
    void fieldsFollowTheRecord_data();
    void fieldsFollowTheRecord();
    void enterAndTabOrder();
    void hintLine();
    void emptyArchiveNavigation_data();
    void emptyArchiveNavigation();
    void navigationFromANewCard_data();
    void navigationFromANewCard();
    void silentAtBothEnds();
    void navigationShowsTheWholeCard();
    void navigationFailures_data();
    void navigationFailures();
    void saveChecks_data();
    void saveChecks();
    void saveNewCard();
    void saveStoredCard();
    void saveFailsOnTheArchive();
    void sexTypedUpperAndTrimmed();
    void duplicate();
    void discographyChecks();
    void clearOnNewAndOnShow();
    void reopenedFromTheLauncher();
    void help();
};

void TestFrmAnagrafica::designedControls()
{
    Bench b;
    QCOMPARE(b.w.objectName(), QStringLiteral("frmAnagrafica"));
    QCOMPARE(b.w.windowTitle(), QStringLiteral(" Cantorium - Archivio Cantanti"));
    // The places below are those of the designed size; a larger window moves the bottom row.
    b.w.showNormal();
    b.w.resize(1016, 713);
    QTRY_COMPARE(b.w.size(), QSize(1016, 713));
    QCOMPARE(b.w.findChild<QWidget *>(QStringLiteral("panContainer"))->size(), QSize(996, 692));
    const struct {
        const char *name;
        QRect place;
    } places[] = {
        {"cmdNuovo", {24, 26, 37, 39}},          {"cmdDuplica", {64, 26, 37, 39}},
        {"cmdSalva", {104, 26, 37, 39}},         {"cmdTrova", {144, 26, 37, 39}},
        {"cmdFile", {184, 26, 37, 39}},          {"cmdAnteprima", {238, 28, 148, 32}},
        {"cmdStampa", {405, 28, 108, 32}},       {"cmdPrimo", {532, 26, 37, 39}},
        {"cmdIndietro", {574, 26, 37, 39}},      {"lblPosizione", {610, 34, 50, 24}},
        {"cmdAvanti", {660, 26, 37, 39}},        {"cmdUltimo", {702, 26, 37, 39}},
        {"cmdEsporta", {757, 26, 37, 39}},       {"cmdSlideshow", {797, 26, 37, 39}},
        {"cmdStatistiche", {837, 26, 37, 39}},
        {"cmdGuida", {894, 26, 37, 39}},         {"cmdEsci", {936, 26, 37, 39}},
        {"imgFoto", {38, 103, 307, 409}},        {"imgBianco", {38, 103, 307, 409}},
        {"btnCaricaFoto", {38, 534, 157, 40}},   {"btnSalvaFoto", {204, 534, 42, 40}},
        {"btnCancFoto", {254, 534, 42, 40}},     {"btnZoomFoto", {304, 534, 42, 40}},
        {"icoIntestazione", {364, 94, 600, 32}}, {"btnFilmografia", {766, 580, 197, 40}},
        {"txtNome", {364, 164, 240, 22}},        {"txtSesso", {610, 164, 52, 22}},
        {"txtCellulare", {790, 308, 174, 22}},   {"txtCapelli", {818, 452, 146, 22}},
        {"txtNote", {86, 596, 651, 22}},
    };
    for (const auto &p : places) {
        QWidget *control = b.w.findChild<QWidget *>(QLatin1String(p.name));
        QVERIFY2(control, p.name);
        QCOMPARE(control->geometry(), p.place);
    }
    for (const char *hidden :
         {"imgBianco", "lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"})
        QVERIFY2(!b.w.findChild<QWidget *>(QLatin1String(hidden))->isVisible(), hidden);
    QVERIFY(field(&b.w, "txtSesso")->alignment() & Qt::AlignHCenter);
    QCOMPARE(b.w.findChild<QLabel *>(QStringLiteral("lblEstremi"))->text(),
             QStringLiteral("Canzone più famosa:"));
    QCOMPARE(b.w.findChild<QLabel *>(QStringLiteral("lblEstremi"))->pos(), QPoint(610, 260 - 18));
    // Commands are pictures and never take the keyboard focus.
    for (ClickPicture *c : b.w.findChildren<ClickPicture *>())
        QCOMPARE(c->focusPolicy(), Qt::NoFocus);
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestFrmAnagrafica::fieldsFollowTheRecord_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("capacity");
    for (const auto &f : SingerCard::schema()) {
        const QString name = QLatin1String(f.name);
        if (name.startsWith(QLatin1String("File")) || name.startsWith(QLatin1String("Desc")))
            continue;
        QTest::newRow(f.name) << QStringLiteral("txt") + name << f.capacity();
    }
}

void TestFrmAnagrafica::fieldsFollowTheRecord()
{
    QFETCH(QString, control);
    QFETCH(int, capacity);
    Bench b;
    auto *edit = b.w.findChild<QLineEdit *>(control);
    QVERIFY(edit);
    QCOMPARE(edit->maxLength(), capacity);
    // Alice blue without the focus, yellow with it.
    field(&b.w, control == QLatin1String("txtNote") ? "txtNome" : "txtNote")->setFocus();
    QCOMPARE(Fields::fillOf(edit), Fields::kIdleFill);
    // Typing beyond the capacity adds nothing; a typed text reaches its own record field.
    edit->setFocus();
    QCOMPARE(Fields::fillOf(edit), Fields::kFocusFill);
    QTest::keyClicks(edit, QString(capacity + 3, QLatin1Char('K')));
    QCOMPARE(edit->text().size(), capacity);
    QCOMPARE(b.w.card().text(SingerCard::schema().indexOf(control.mid(3))),
             QString(capacity, QLatin1Char('K')));
}

void TestFrmAnagrafica::enterAndTabOrder()
{
    Bench b;
    const QStringList order = {"txtNome",          "txtSesso",      "txtDataNasc",  "txtCittadinanza",
                               "txtLuogoNasc",     "txtIndirizzo",  "txtCodFisc",   "txtEstremi",
                               "txtEmail",         "txtTel",        "txtCellulare", "txtStudio",
                               "txtLingue",        "txtPartitaIva", "txtIban",      "txtAltezza",
                               "txtPeso",          "txtOcchi",      "txtCapelli",   "txtVita",
                               "txtFianchi",       "txtTaglia",     "txtScarpe",    "txtEsperienze",
                               "txtDisponibilita", "txtNote"};
    QCOMPARE(b.w.focusWidget(), field(&b.w, "txtNome"));
    for (int i = 0; i < order.size(); ++i) {
        QLineEdit *from = field(&b.w, qPrintable(order.at(i)));
        QLineEdit *to = field(&b.w, qPrintable(order.at((i + 1) % order.size())));
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        QVERIFY2(b.w.focusWidget() == to, qPrintable(order.at(i)));
        QVERIFY(from->text().isEmpty());
        if (i + 1 < order.size()) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            QVERIFY2(b.w.focusWidget() == to, qPrintable(order.at(i)));
        }
    }
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestFrmAnagrafica::hintLine()
{
    Bench b;
    auto *panInfo = b.w.findChild<QLabel *>(QStringLiteral("panInfo"));
    QCOMPARE(panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
    const auto moveOver = [](QWidget *w, QPoint at = QPoint(2, 2)) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    };
    const struct {
        const char *name;
        const char *hint;
    } hints[] = {
        {"cmdNuovo", "Prepara la schermata per l'inserimento di una nuova scheda. (Ctrl+N)"},
        {"cmdDuplica",
         "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti. (Ctrl+D)"},
        {"cmdSalva", "Salva la scheda in archivio. (Ctrl+S)"},
        {"cmdTrova", "Trova una scheda in archivio. (Ctrl+F)"},
        {"cmdFile", "Allega file alla scheda."},
        {"cmdAnteprima", "Visualizza l'anteprima di stampa della scheda."},
        {"cmdStampa", "Stampa la scheda. (Ctrl+P)"},
        {"cmdPrimo", "Visualizza la prima scheda in archivio. (Ctrl+Home)"},
        {"cmdIndietro", "Visualizza la scheda precedente in archivio. (PgUp)"},
        {"cmdAvanti", "Visualizza la scheda successiva in archivio. (PgDn)"},
        {"cmdUltimo", "Visualizza l'ultima scheda in archivio. (Ctrl+End)"},
        {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel. (Ctrl+E)"},
        {"cmdSlideshow", "Esegui lo slide show."},
        {"cmdStatistiche", "Visualizza le statistiche dell'archivio dei cantanti con i grafici."},
        {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto. (F1)"},
        {"cmdEsci", "Esci da questa schermata di lavoro."},
        {"btnCaricaFoto", "Carica una foto esistente."},
        {"btnSalvaFoto", "Salva la foto su disco."},
        {"btnCancFoto", "Cancella la foto."},
        {"btnZoomFoto", "Visualizza la foto nelle sue dimensioni reali."},
        {"btnFilmografia", "Gestisci la discografia del cantante."},
    };
    for (const auto &h : hints) {
        moveOver(b.w.findChild<QWidget *>(QLatin1String(h.name)));
        QCOMPARE(panInfo->text(), QString::fromUtf8(h.hint));
    }
    // A field leaves the hint; the photo and the card sheet empty it.
    moveOver(field(&b.w, "txtNome"));
    QCOMPARE(panInfo->text(), QStringLiteral("Gestisci la discografia del cantante."));
    moveOver(b.w.findChild<QWidget *>(QStringLiteral("imgFoto")));
    QCOMPARE(panInfo->text(), QString());
    moveOver(b.w.findChild<QWidget *>(QStringLiteral("cmdSalva")));
    moveOver(b.w.findChild<QWidget *>(QStringLiteral("shpFoglio")), QPoint(900, 500));
    QCOMPARE(panInfo->text(), QString());
}

void TestFrmAnagrafica::emptyArchiveNavigation_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("shownBefore"); // position before the command
    QTest::newRow("first") << "cmdPrimo"
                           << "";
    QTest::newRow("previous") << "cmdIndietro"
                              << "";
    QTest::newRow("previous from a stale position") << "cmdIndietro"
                                                    << "4";
    QTest::newRow("next") << "cmdAvanti"
                          << "";
    QTest::newRow("next from a stale position") << "cmdAvanti"
                                                << "4";
    QTest::newRow("last") << "cmdUltimo"
                          << "";
}

void TestFrmAnagrafica::emptyArchiveNavigation()
{
    QFETCH(QString, command);
    QFETCH(QString, shownBefore);
    Bench b;
    showPosition(b.w, shownBefore);
    field(&b.w, "txtNome")->setText(QStringLiteral("kept"));
    click(&b.w, qPrintable(command));
    QCOMPARE(b.desk.messages.size(), 1);
    QCOMPARE(b.desk.last().kind, Kind::Information);
    QCOMPARE(b.desk.last().text, kEmpty);
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("kept"));
    if (command == QLatin1String("cmdAvanti"))
        QCOMPARE(position(&b.w), QString());
    else
        QCOMPARE(position(&b.w), shownBefore);
    // The first access created the missing archive, empty.
    QVERIFY(QFile::exists(SingerArchive::path()));
    QCOMPARE(QFileInfo(SingerArchive::path()).size(), 0);
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestFrmAnagrafica::navigationFromANewCard_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("shown");
    QTest::newRow("next") << "cmdAvanti" << 1;
    QTest::newRow("previous") << "cmdIndietro" << 1;
    QTest::newRow("first") << "cmdPrimo" << 1;
    QTest::newRow("last") << "cmdUltimo" << 3;
}

void TestFrmAnagrafica::navigationFromANewCard()
{
    QFETCH(QString, command);
    QFETCH(int, shown);
    Bench b;
    writeArchive(3);
    click(&b.w, qPrintable(command));
    QCOMPARE(position(&b.w), QString::number(shown));
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("Cantante %1").arg(shown));
    QVERIFY(b.desk.messages.isEmpty());
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestFrmAnagrafica::silentAtBothEnds()
{
    Bench b;
    writeArchive(3);
    click(&b.w, "cmdPrimo");
    field(&b.w, "txtNome")->setText(QStringLiteral("changed"));
    click(&b.w, "cmdIndietro");
    QCOMPARE(position(&b.w), QStringLiteral("1"));
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("changed"));

    b.desk.saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    click(&b.w, "cmdAvanti");
    click(&b.w, "cmdAvanti");
    QCOMPARE(position(&b.w), QStringLiteral("3"));
    field(&b.w, "txtNome")->setText(QStringLiteral("changed"));
    click(&b.w, "cmdAvanti");
    QCOMPARE(position(&b.w), QStringLiteral("3"));
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("changed"));
    b.desk.saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    click(&b.w, "cmdIndietro");
    QCOMPARE(position(&b.w), QStringLiteral("2"));
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("Cantante 2"));
    QVERIFY(b.desk.messages.isEmpty());
}

void TestFrmAnagrafica::navigationShowsTheWholeCard()
{
    Bench b;
    SingerCard card;
    for (int i = 0; i < SingerCard::FieldCount; ++i)
        card.setText(i, i == SingerCard::Sesso ? QStringLiteral("M") : QStringLiteral("  testo %1 ").arg(i));
    {
        RecordFile archive(SingerArchive::path(), SingerCard::kSize);
        archive.append(singer(QStringLiteral("Primo")).encode());
        archive.append(card.encode());
    }
    click(&b.w, "cmdUltimo");
    QCOMPARE(position(&b.w), QStringLiteral("2"));
    // Every field in its own control: Occhi and Capelli come before Vita in the record.
    QCOMPARE(field(&b.w, "txtOcchi")->text(), QStringLiteral("testo %1").arg(int(SingerCard::Occhi)));
    QCOMPARE(field(&b.w, "txtVita")->text(), QStringLiteral("testo %1").arg(int(SingerCard::Vita)));
    QCOMPARE(field(&b.w, "txtNote")->text(), QStringLiteral("testo %1").arg(int(SingerCard::Note)));
    QCOMPARE(field(&b.w, "txtNote")->cursorPosition(), 0); // shown from its first word
    QCOMPARE(named<QLabel>(&b.w, "lblFile02")->text(), QStringLiteral("testo %1").arg(int(SingerCard::File02)));
    QCOMPARE(named<QLabel>(&b.w, "lblDesc03")->text(), QStringLiteral("testo %1").arg(int(SingerCard::Desc03)));
    SingerCard trimmed;
    for (int i = 0; i < SingerCard::FieldCount; ++i)
        trimmed.setText(i, ctrim(card.text(i)));
    QCOMPARE(b.w.card(), trimmed);
}

void TestFrmAnagrafica::navigationFailures_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("archiveIsFolder");
    QTest::addColumn<QString>("label");
    QTest::newRow("first, archive unreadable") << "cmdPrimo" << true << "";
    QTest::newRow("last, archive unreadable") << "cmdUltimo" << true << "";
    QTest::newRow("next, archive unreadable") << "cmdAvanti" << true << "";
    QTest::newRow("previous, archive unreadable") << "cmdIndietro" << true << "2";
    QTest::newRow("previous, position past the end") << "cmdIndietro" << false << "9";
}

void TestFrmAnagrafica::navigationFailures()
{
    QFETCH(QString, command);
    QFETCH(bool, archiveIsFolder);
    QFETCH(QString, label);
    Bench b;
    if (archiveIsFolder)
        QVERIFY(QDir().mkpath(SingerArchive::path()));
    else
        writeArchive(3);
    showPosition(b.w, label);
    field(&b.w, "txtNome")->setText(QStringLiteral("kept"));
    // A missing record is found only after the question; the card stays all the same.
    if (!archiveIsFolder)
        b.desk.saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    click(&b.w, qPrintable(command));
    QCOMPARE(b.desk.messages.size(), 1);
    QCOMPARE(b.desk.last().kind, Kind::Error);
    QCOMPARE(b.desk.last().text, kAccess);
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("kept"));
    QCOMPARE(position(&b.w), label);
}

void TestFrmAnagrafica::saveChecks_data()
{
    QTest::addColumn<QStringList>("texts"); // Nome, Sesso, Cittadinanza, Estremi
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("warning");
    const QString nome = QStringLiteral(
        "Attenzione: per salvare la scheda è necessario indicare il nome d'arte del cantante.");
    const QString sesso = QStringLiteral(
        "Attenzione: per salvare la scheda è necessario indicare il sesso del cantante (M o F).");
    const QString citt = QStringLiteral(
        "Attenzione: per salvare la scheda è necessario indicare la cittadinanza del cantante.");
    const QString estremi =
        QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la canzone più famosa.");
    QTest::newRow("all empty: the stage name first") << QStringList{"", "", "", ""} << "txtNome" << nome;
    QTest::newRow("stage name of blanks") << QStringList{"   ", "F", "It", "Song"} << "txtNome" << nome;
    QTest::newRow("sex missing") << QStringList{"Mina", "", "", ""} << "txtSesso" << sesso;
    QTest::newRow("citizenship of blanks")
        << QStringList{"Mina", "F", " \t ", "Song"} << "txtCittadinanza" << citt;
    QTest::newRow("best-known song missing") << QStringList{"Mina", "X", "It", ""} << "txtEstremi" << estremi;
}

void TestFrmAnagrafica::saveChecks()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, focus);
    QFETCH(QString, warning);
    Bench b;
    const char *names[] = {"txtNome", "txtSesso", "txtCittadinanza", "txtEstremi"};
    for (int i = 0; i < 4; ++i)
        field(&b.w, names[i])->setText(texts.at(i));
    field(&b.w, "txtLingue")->setFocus();
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{warning});
    QCOMPARE(b.desk.last().kind, Kind::Warning);
    QCOMPARE(b.w.focusWidget(), field(&b.w, qPrintable(focus)));
    QVERIFY(!QFile::exists(SingerArchive::path()));
    QCOMPARE(position(&b.w), QString());
}

void TestFrmAnagrafica::saveNewCard()
{
    Bench b;
    writeArchive(2);
    b.fillRequired(QStringLiteral("  Mina  "));
    field(&b.w, "txtSesso")->setText(QStringLiteral("X")); // any one character is accepted
    field(&b.w, "txtNote")->setText(QStringLiteral("Tigre di Cremona"));
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{kInserted});
    QCOMPARE(b.desk.last().kind, Kind::Information);
    QCOMPARE(position(&b.w), QStringLiteral("3"));
    // The fields keep their texts untrimmed; the record holds them trimmed.
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("  Mina  "));
    const QByteArray all = archiveBytes();
    QCOMPARE(all.size(), 3 * 5793);
    const SingerCard stored = SingerCard::decode(all.mid(2 * 5793));
    QCOMPARE(stored.text(SingerCard::Nome), QStringLiteral("Mina"));
    QCOMPARE(stored.text(SingerCard::Sesso), QStringLiteral("X"));
    QCOMPARE(stored.text(SingerCard::Note), QStringLiteral("Tigre di Cremona"));
    // No photo was loaded: the placeholder becomes the card's photo, under its number.
    QVERIFY(isPlaceholder(readImage(b.photoOf(3))));
    QVERIFY(!QFile::exists(b.photoOf(1)));
    QVERIFY(!QFile::exists(b.photoOf(2)));
}

void TestFrmAnagrafica::saveStoredCard()
{
    Bench b;
    writeArchive(3);
    writeImage(b.photoOf(2), picture(QSize(80, 60)), "JPG");
    click(&b.w, "cmdPrimo");
    click(&b.w, "cmdAvanti");
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(80, 60));
    field(&b.w, "txtNome")->setText(QStringLiteral("Nuovo nome"));
    b.w.imgFoto->setPicture(picture(QSize(50, 70), Qt::blue));
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{kChanged});
    QCOMPARE(position(&b.w), QStringLiteral("2"));
    const QByteArray all = archiveBytes();
    QCOMPARE(all.size(), 3 * 5793);
    QCOMPARE(SingerCard::decode(all.mid(5793, 5793)).text(SingerCard::Nome), QStringLiteral("Nuovo nome"));
    QCOMPARE(SingerCard::decode(all.mid(0, 5793)).text(SingerCard::Nome), QStringLiteral("Cantante 1"));
    QCOMPARE(SingerCard::decode(all.mid(2 * 5793)).text(SingerCard::Nome), QStringLiteral("Cantante 3"));
    QCOMPARE(readImage(b.photoOf(2)).size(), QSize(50, 70));
}

void TestFrmAnagrafica::saveFailsOnTheArchive()
{
    Bench b;
    QVERIFY(QDir().mkpath(SingerArchive::path()));
    b.fillRequired();
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{kAccess});
    QCOMPARE(b.desk.last().kind, Kind::Error);
    QCOMPARE(position(&b.w), QString());
    QVERIFY(!QFile::exists(SingerPhoto::folder()));
}

void TestFrmAnagrafica::sexTypedUpperAndTrimmed()
{
    Bench b;
    QLineEdit *sesso = field(&b.w, "txtSesso");
    sesso->setFocus();
    QTest::keyClicks(sesso, QStringLiteral("f"));
    QCOMPARE(sesso->text(), QStringLiteral("F"));
    sesso->clear();
    QTest::keyClick(sesso, Qt::Key_Space);
    QCOMPARE(sesso->text(), QString());
    QTest::keyClicks(sesso, QStringLiteral("m"));
    QCOMPARE(sesso->text(), QStringLiteral("M"));
    // Only ASCII letters change case.
    sesso->clear();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_Egrave, Qt::NoModifier, QStringLiteral("è"));
    QCoreApplication::sendEvent(sesso, &typed);
    QCOMPARE(sesso->text(), QStringLiteral("è"));
}

void TestFrmAnagrafica::duplicate()
{
    Bench b;
    const QString dupNew = QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto "
                                          "dopo che questa è stata inserita in archivio.");
    const QString dupDone = QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda "
                                           "corrente.\n\r\n\rAl termine premere Salva per "
                                           "inserire la scheda in archivio.");

    // A new card cannot be duplicated; nothing changes.
    b.fillRequired();
    b.w.setAttachments({{"intervista.mp3", "", ""}, {}});
    click(&b.w, "cmdDuplica");
    QCOMPARE(b.desk.texts(), QStringList{dupNew});
    QCOMPARE(b.desk.last().kind, Kind::Warning);
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("Mina"));
    QCOMPARE(named<QLabel>(&b.w, "lblFile01")->text(), QStringLiteral("intervista.mp3"));
    b.desk.clear();

    // A stored card: texts stay; attachments, photo and position go.
    SingerCard card = singer(QStringLiteral("Mina"));
    card.setText(SingerCard::File01, QStringLiteral("intervista.mp3"));
    card.setText(SingerCard::Desc01, QStringLiteral("Intervista"));
    card.setText(SingerCard::File03, QStringLiteral("concerto.avi"));
    {
        RecordFile archive(SingerArchive::path(), SingerCard::kSize);
        archive.append(card.encode());
    }
    writeImage(b.photoOf(1), picture(QSize(90, 120)), "JPG");
    b.desk.saveAnswers.enqueue(Desktop::SaveChoice::DontSave); // the new card typed above
    click(&b.w, "cmdPrimo");
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(90, 120));
    field(&b.w, "txtLingue")->setFocus();
    click(&b.w, "cmdDuplica");
    QCOMPARE(b.desk.texts(), QStringList{dupDone});
    QCOMPARE(b.desk.last().kind, Kind::Information);
    QCOMPARE(position(&b.w), QString());
    QCOMPARE(field(&b.w, "txtNome")->text(), QStringLiteral("Mina"));
    QCOMPARE(field(&b.w, "txtEstremi")->text(), QStringLiteral("Una canzone"));
    for (QLabel *l :
         {named<QLabel>(&b.w, "lblFile01"), named<QLabel>(&b.w, "lblFile02"), named<QLabel>(&b.w, "lblFile03"), named<QLabel>(&b.w, "lblDesc01"), named<QLabel>(&b.w, "lblDesc02"), named<QLabel>(&b.w, "lblDesc03")})
        QCOMPARE(l->text(), QString());
    QCOMPARE(b.w.imgFoto->picture(), SingerPhoto::placeholder());
    QCOMPARE(b.w.focusWidget(), field(&b.w, "txtNome"));

    // Saving the copy appends a second card with its own placeholder photo.
    b.desk.clear();
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{kInserted});
    QCOMPARE(position(&b.w), QStringLiteral("2"));
    const QByteArray all = archiveBytes();
    QCOMPARE(all.size(), 2 * 5793);
    const SingerCard copy = SingerCard::decode(all.mid(5793));
    QCOMPARE(copy.text(SingerCard::Nome), QStringLiteral("Mina"));
    QCOMPARE(copy.text(SingerCard::File01), QString());
    QCOMPARE(copy.text(SingerCard::Desc01), QString());
    QCOMPARE(SingerCard::decode(all.left(5793)), card);
    QCOMPARE(readImage(b.photoOf(1)).size(), QSize(90, 120));
    QVERIFY(isPlaceholder(readImage(b.photoOf(2))));
}

void TestFrmAnagrafica::discographyChecks()
{
    Bench b;
    const QString unsaved = QStringLiteral("Attenzione: la gestione della discografia può avvenire soltanto "
                                           "dopo che la scheda del cantante è stata "
                                           "salvata in archivio.");
    const QString needName = QStringLiteral("Attenzione: per accedere alla gestione della discografia è "
                                            "necessario indicare il nome d'arte del cantante.");
    // A new card: the saved-first warning, even with an empty stage name.
    click(&b.w, "btnFilmografia");
    QCOMPARE(b.desk.texts(), QStringList{unsaved});
    QCOMPARE(b.desk.last().kind, Kind::Warning);
    b.desk.clear();

    writeArchive(1);
    click(&b.w, "cmdPrimo");
    field(&b.w, "txtNome")->setText(QStringLiteral("  "));
    field(&b.w, "txtNote")->setFocus();
    click(&b.w, "btnFilmografia");
    QCOMPARE(b.desk.texts(), QStringList{needName});
    QCOMPARE(b.w.focusWidget(), field(&b.w, "txtNome"));
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestFrmAnagrafica::clearOnNewAndOnShow()
{
    Bench b;
    writeArchive(2);
    writeImage(b.photoOf(2), picture(QSize(64, 64)), "JPG");
    click(&b.w, "cmdUltimo");
    b.w.setAttachments({{}, {"", "x", ""}});
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(64, 64));
    field(&b.w, "txtNote")->setFocus();
    b.desk.saveAnswers.enqueue(Desktop::SaveChoice::DontSave); // the attachments handed back
    click(&b.w, "cmdNuovo");
    QCOMPARE(position(&b.w), QString());
    for (QLineEdit *f : b.w.fields())
        QVERIFY2(f->text().isEmpty(), qPrintable(f->objectName()));
    QCOMPARE(named<QLabel>(&b.w, "lblDesc02")->text(), QString());
    QCOMPARE(b.w.imgFoto->picture(), SingerPhoto::placeholder());
    QCOMPARE(b.w.focusWidget(), field(&b.w, "txtNome"));

    // Closing (the exit command) hides the window and tells the window set; showing it again
    // from the launcher gives an empty new card.
    click(&b.w, "cmdUltimo");
    QSignalSpy closing(&b.w, &WorkWindow::closing);
    click(&b.w, "cmdEsci");
    QCOMPARE(closing.count(), 1);
    QVERIFY(!b.w.isVisible());
    b.w.showWorkWindow();
    QCOMPARE(position(&b.w), QString());
    QCOMPARE(field(&b.w, "txtNome")->text(), QString());
    QCOMPARE(b.w.imgFoto->picture(), SingerPhoto::placeholder());
    QVERIFY(b.desk.messages.isEmpty());
}

void TestFrmAnagrafica::reopenedFromTheLauncher()
{
    TempProgramFolder folder;
    RecordingDesktop desk;
    writeArchive(2);
    WindowSet set;
    set.avvio()->showWorkWindow();
    emit set.avvio()->openSingers();
    FrmAnagrafica *w = set.anagrafica();
    QVERIFY(w->isVisible());
    QVERIFY(!set.avvio()->isVisible());
    click(w, "cmdUltimo");
    QCOMPARE(position(w), QStringLiteral("2"));
    click(w, "cmdEsci");
    QVERIFY(!w->isVisible());
    QVERIFY(set.avvio()->isVisible());
    emit set.avvio()->openSingers();
    QCOMPARE(position(w), QString());
    QCOMPARE(field(w, "txtNome")->text(), QString());
    QVERIFY(desk.messages.isEmpty());
}

void TestFrmAnagrafica::help()
{
    Bench b;
    QString title, text;
    b.desk.modalHandlers.enqueue([&](QDialog *d) {
        QCOMPARE(d->objectName(), QStringLiteral("frmGuida"));
        title = d->findChild<QLabel *>(QStringLiteral("lblTitolo"))->text();
        text = d->findChild<QPlainTextEdit *>(QStringLiteral("txtGuida"))->toPlainText();
        d->reject();
    });
    click(&b.w, "cmdGuida");
    VERIFY_DESKTOP_CLEAN(b.desk);
    QCOMPARE(title, QStringLiteral("Applicazione Archivio Cantanti."));
    const QStringList paragraphs = FrmAnagrafica::helpText().split(QStringLiteral("\r\n\r\n"));
    QCOMPARE(paragraphs.size(), 10);
    for (const QString &p : paragraphs)
        QVERIFY(!p.isEmpty() && !p.contains(QLatin1Char('\n')) && p == p.trimmed());
    QVERIFY(paragraphs.at(2).contains(QStringLiteral("Duplica")));
    QVERIFY(paragraphs.at(5).contains(QStringLiteral("sei secondi")));
    QVERIFY(paragraphs.at(7).contains(QStringLiteral("Aggiungi canzone")));
    QVERIFY(text.startsWith(paragraphs.first()));
    QVERIFY(text.trimmed().endsWith(paragraphs.last()));
}

QTEST_MAIN(TestFrmAnagrafica)
#include "tst_frmanagrafica.moc"
