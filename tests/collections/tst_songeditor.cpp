#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "app/Fields.h"
#include "app/Widgets.h"
#include "app/FrmGuida.h"
#include "collections/CollectionHelp.h"
#include "collections/FrmCollection.h"
#include "records/SongCard.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using Kind = Desktop::Kind;

namespace
{

constexpr int kSize = 13344;

const QString kNoCards = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kNoAccess = QStringLiteral("Attenzione: il sistema non permette di accedere "
                                         "all'archivio.\n\r\n\rAccertarsi di possedere i privilegi di "
                                         "scrittura nella cartella di installazione del programma.");

template <typename T = QWidget> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

// A record built byte by byte from the layout, independently of the program's codec.
struct Record {
    QByteArray bytes = QByteArray(kSize, '\0');
    Record &put(int offset, const QByteArray &text)
    {
        bytes.replace(offset, text.size(), text);
        bytes[offset + text.size()] = '\0';
        return *this;
    }
};

Record card(const QByteArray &title, const QByteArray &singer, const QByteArray &flag = "No")
{
    Record r;
    r.put(0, title).put(121, singer).put(11082, "https://").put(11835, flag);
    return r;
}

QByteArray cards(int k)
{
    QByteArray all;
    for (int i = 1; i <= k; ++i)
        all += card("Canzone " + QByteArray::number(i), "Cantante " + QByteArray::number(i)).bytes;
    return all;
}

// The window is larger than the offscreen screen: events go straight to the control.
void moveOver(QWidget *w)
{
    const QPoint at(w->width() / 2, w->height() / 2);
    QMouseEvent enter(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
}

void sendKey(QWidget *w, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

} // namespace

class TestSongEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // the window
    void fieldsHaveTheirLimits_data();
    void fieldsHaveTheirLimits();
    void memoStopsAtItsCapacity_data();
    void memoStopsAtItsCapacity();
    void highlightOnOneLineFieldsOnly();
    void enterChains_data();
    void enterChains();
    void tabOrder();
    void hints_data();
    void hints();
    void backgroundEmptiesHint();
    void labelsOnBarsEmptyHint_data();
    void labelsOnBarsEmptyHint();
    void helpShowsTheCollectionHelp();

    // clear and navigation
    void showClearsTheCard();
    void emptyCollection_data();
    void emptyCollection();
    void navigation_data();
    void navigation();
    void missingCollectionCreatedByNavigation();
    void navigationFailureKeepsTheCard_data();
    void navigationFailureKeepsTheCard();
    void cardMadeElsewhere();
    void flagRule();

    // save, duplicate
    void saveValidation_data();
    void saveValidation();
    void saveNewCardAppends_data();
    void saveNewCardAppends();
    void saveStoredCardOverwrites();
    void cardChanged_data();
    void cardChanged();
    void saveFailureIsPlainMessage_data();
    void saveFailureIsPlainMessage();
    void duplicateNewCardWarns();
    void duplicateStoredCard();
    void newCommandClears();

    // web address
    void addressCompletedOnLeaving_data();
    void addressCompletedOnLeaving();
    void siteWithEmptyAddress();
    void addressKeptWhenTheWindowLosesFocus();
    void siteOpensWebAddress_data();
    void siteOpensWebAddress();
    void siteRefusesWhatIsNotAWebAddress_data();
    void siteRefusesWhatIsNotAWebAddress();

private:
    QString collection() const { return m_folder->file(QStringLiteral("Rock.mus")); }
    void click(const QString &name) { QTest::mouseClick(child(m_editor, name), Qt::LeftButton); }
    QLineEdit *field(const QString &name) { return child<QLineEdit>(m_editor, name); }
    QPlainTextEdit *memo(const QString &name) { return child<QPlainTextEdit>(m_editor, name); }
    QString label(const QString &name) { return child<QLabel>(m_editor, name)->text(); }
    QString position() { return label(QStringLiteral("lblPosizione")); }
    QCheckBox *flag() { return child<QCheckBox>(m_editor, QStringLiteral("chkSegnala")); }
    // Brings the editor to the card at position `p` (empty: a new card) the way a user does,
    // by showing a stored card; the collection is left as it was found (a file, a folder in
    // its place, or nothing).
    void setPosition(const QString &p)
    {
        if (p.isEmpty()) {
            m_editor->cmdNuovoClick();
            return;
        }
        const QString path = collection();
        const bool folder = QFileInfo(path).isDir();
        const bool file = QFileInfo(path).isFile();
        const QByteArray kept = file ? fileContent(path) : QByteArray();
        if (folder)
            QDir(path).removeRecursively();
        writeFile(path, cards(p.toInt()));
        m_editor->showStoredCard(p.toInt());
        QFile::remove(path);
        if (folder)
            QDir().mkpath(path);
        else if (file)
            writeFile(path, kept);
    }

    RecordingDesktop *m_desk = nullptr;
    TempProgramFolder *m_folder = nullptr;
    FrmCollection *m_editor = nullptr;
};

void TestSongEditor::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
    m_editor = new FrmCollection;
    m_editor->openCollection(QStringLiteral("  ") + collection() + QStringLiteral(" "),
                             QStringLiteral("Rock"));
    m_editor->showWorkWindow();
    // The offscreen screen is smaller than the designed area: give the window all of it.
    m_editor->setWindowState(Qt::WindowNoState);
    m_editor->setGeometry(0, 0, 1016, 713);
    QApplication::setActiveWindow(m_editor);
    QVERIFY(QTest::qWaitForWindowActive(m_editor));
}

void TestSongEditor::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_editor;
    delete m_desk;
    delete m_folder;
}

// --- the window --------------------------------------------------------------------------

void TestSongEditor::fieldsHaveTheirLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    const std::pair<const char *, int> limits[] = {
        {"txtTitolo", 120}, {"txtCantante", 120}, {"txtAlbum", 120}, {"txtGenere", 50}, {"txtAutori", 250},
        {"txtNazione", 50}, {"txtAnno", 30},      {"txtPremi", 250}, {"txtCasa", 50},   {"txtDurata", 30},
        {"txtSito", 250},   {"txtMusica", 250},   {"txtNote", 250}};
    for (const auto &[name, limit] : limits)
        QTest::newRow(name) << QString::fromLatin1(name) << limit;
}

void TestSongEditor::fieldsHaveTheirLimits()
{
    QFETCH(QString, name);
    QFETCH(int, limit);
    QLineEdit *f = field(name);
    QCOMPARE(f->maxLength(), limit);
    f->clear();
    f->setFocus();
    QTest::keyClicks(f, QString(limit + 5, QLatin1Char('k')));
    QCOMPARE(f->text(), QString(limit, QLatin1Char('k')));
}

void TestSongEditor::memoStopsAtItsCapacity_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    const QString x4990(4990, QLatin1Char('x'));
    QTest::newRow("fits") << QString() << QString(5000, QLatin1Char('a')) << QString(5000, QLatin1Char('a'));
    QTest::newRow("paste cut at the limit")
        << x4990 << QStringLiteral("0123456789ABC") << x4990 + QStringLiteral("0123456789");
    QTest::newRow("a line break takes two")
        << x4990 << QStringLiteral("abc\ndefghij") << x4990 + QStringLiteral("abc\ndefgh");
    QTest::newRow("full memo takes nothing")
        << QString(5000, QLatin1Char('x')) << QStringLiteral("y") << QString(5000, QLatin1Char('x'));
}

void TestSongEditor::memoStopsAtItsCapacity()
{
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    for (const char *name : {"txtTesto", "txtStoria"}) {
        QPlainTextEdit *m = memo(QString::fromLatin1(name));
        m->setPlainText(before.left(10)); // typed earlier
        m->moveCursor(QTextCursor::End);
        m->insertPlainText(before.mid(10));
        m->moveCursor(QTextCursor::End);
        m->insertPlainText(pasted); // as a paste inserts it
        QCOMPARE(FrmCollection::memoText(m), after);
        // Typing at the limit adds nothing either.
        if (FrmCollection::storedLength(after) >= 4999) {
            m->moveCursor(QTextCursor::End);
            sendKey(m, Qt::Key_Z, QStringLiteral("z"));
            QCOMPARE(FrmCollection::memoText(m),
                     FrmCollection::storedLength(after) == 5000 ? after : after + "z");
        }
    }
    // Whatever a memo accepts fits its record field whole.
    SongCard c = m_editor->cardShown();
    QCOMPARE(SongCard::decode(c.encode()).text(SongCard::Testo), after);
}

void TestSongEditor::highlightOnOneLineFieldsOnly()
{
    const QStringList oneLine{"txtTitolo",  "txtCantante", "txtAlbum", "txtGenere", "txtAutori",
                              "txtNazione", "txtAnno",     "txtPremi", "txtCasa",   "txtDurata",
                              "txtSito",    "txtMusica",   "txtNote"};
    for (const QString &name : oneLine) {
        QLineEdit *f = field(name);
        f->setFocus();
        QTRY_VERIFY(f->hasFocus());
        QCOMPARE(Fields::fillOf(f), Fields::kFocusFill);
        memo(QStringLiteral("txtTesto"))->setFocus();
        QTRY_VERIFY(!f->hasFocus());
        QCOMPARE(Fields::fillOf(f), Fields::kIdleFill);
    }
    for (const char *name : {"txtTesto", "txtStoria"}) {
        memo(QString::fromLatin1(name))->setFocus();
        QVERIFY(!Fields::fillOf(memo(QString::fromLatin1(name))).isValid());
    }
    QCOMPARE(m_editor->findChildren<QLineEdit *>().size(), 13);
}

void TestSongEditor::enterChains_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const QStringList chain{"txtTitolo", "txtCantante", "txtAlbum", "txtGenere", "txtAutori", "txtNazione",
                            "txtAnno",   "txtPremi",    "txtCasa",  "txtDurata", "txtTesto"};
    for (int i = 0; i + 1 < chain.size(); ++i)
        QTest::newRow(qPrintable(chain[i])) << chain[i] << chain[i + 1];
    QTest::newRow("txtSito") << "txtSito"
                             << "txtMusica";
    QTest::newRow("txtMusica") << "txtMusica"
                               << "txtNote";
    QTest::newRow("txtNote back to the first") << "txtNote"
                                               << "txtTitolo";
}

void TestSongEditor::enterChains()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QLineEdit *f = field(from);
    f->setFocus();
    QTRY_VERIFY(f->hasFocus());
    const QString before = f->text();
    QTest::keyClick(f, Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), child(m_editor, to));
    // Enter only moves on: the site field is completed by leaving it, nothing else changes.
    if (from != QLatin1String("txtSito"))
        QCOMPARE(f->text(), before);
    QVERIFY(m_desk->messages.isEmpty());
}

void TestSongEditor::tabOrder()
{
    const QStringList order{"txtTitolo", "txtCantante", "txtAlbum", "txtGenere", "txtAutori", "txtNazione",
                            "txtAnno",   "txtPremi",    "txtCasa",  "txtDurata", "txtTesto",  "txtStoria",
                            "txtSito",   "txtMusica",   "txtNote",  "chkSegnala"};
    QWidget *w = child(m_editor, order.first());
    for (int i = 1; i < order.size(); ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisible())
            w = w->nextInFocusChain();
        QCOMPARE(w->objectName(), order[i]);
    }
}

void TestSongEditor::hints_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    const std::pair<const char *, const char *> hints[] = {
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
        {"cmdImportaBrani", "Importa le schede dei brani dai file audio di una cartella."},
        {"cmdSegnala", "Visualizza l'elenco delle canzoni segnalate."},
        {"cmdStatistiche", "Visualizza le statistiche della collection con i grafici."},
        {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto. (F1)"},
        {"cmdEsci", "Esci da questa schermata di lavoro."},
        {"impCantante", "Importa il nome d'arte dall'archivio dei cantanti."},
        {"btnSito", "Visita il sito Web della canzone."},
        {"chkSegnala", "Inserisci la scheda nell'elenco delle canzoni segnalate."},
    };
    for (const auto &[control, hint] : hints)
        QTest::newRow(control) << QString::fromLatin1(control) << QString::fromUtf8(hint);
}

void TestSongEditor::hints()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);
    QLabel *panInfo = child<QLabel>(m_editor, QStringLiteral("panInfo"));
    QCOMPARE(panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
    moveOver(child(m_editor, control));
    QCOMPARE(panInfo->text(), hint);
    // Moving on to a field leaves the hint where it is.
    moveOver(field(QStringLiteral("txtNote")));
    QCOMPARE(panInfo->text(), hint);
    if (control.startsWith(QLatin1String("cmd")))
        QCOMPARE(child(m_editor, control)->focusPolicy(), Qt::NoFocus);
}

void TestSongEditor::backgroundEmptiesHint()
{
    QLabel *panInfo = child<QLabel>(m_editor, QStringLiteral("panInfo"));
    for (const char *name : {"panContainer", "shpContainer", "shpPulsanti01", "shpPulsanti02", "shpAnteprima",
                             "shpPulsanti03", "shpPulsanti04", "shpPulsanti05", "shpSfondo", "shpInfo",
                             "bkgTitolo", "bkgSfondo", "bkgSfondoGrigio", "bkgSegnala", "sfoSegnala"}) {
        panInfo->setText(QStringLiteral("un suggerimento"));
        QWidget *element = child(m_editor, QString::fromLatin1(name));
        // A point of the element that no control covers.
        QPoint free(-1, -1);
        for (int y = 1; y < element->height() && free.x() < 0; y += 2)
            for (int x = 1; x < element->width(); x += 2)
                if (!element->parentWidget()->childAt(element->mapToParent(QPoint(x, y))) ||
                    element->parentWidget()->childAt(element->mapToParent(QPoint(x, y))) == element) {
                    free = QPoint(x, y);
                    break;
                }
        if (free.x() < 0 && qstrcmp(name, "panContainer") != 0)
            QFAIL(qPrintable(QStringLiteral("%1 is covered").arg(QString::fromLatin1(name))));
        QMouseEvent move(QEvent::MouseMove, free, element->mapToGlobal(free), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(element, &move);
        QVERIFY2(panInfo->text().isEmpty(), name);
    }
}

// The hint line and the collection's name cover most of their bars: a pass over them is a
// pass over the bar.
void TestSongEditor::labelsOnBarsEmptyHint_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("hint line on the information bar") << "panInfo";
    QTest::newRow("collection name on the title bar") << "lblNome";
}

void TestSongEditor::labelsOnBarsEmptyHint()
{
    QFETCH(QString, label);
    QLabel *panInfo = child<QLabel>(m_editor, QStringLiteral("panInfo"));
    moveOver(child(m_editor, QStringLiteral("cmdSalva")));
    QCOMPARE(panInfo->text(), QStringLiteral("Salva la scheda in archivio. (Ctrl+S)"));
    moveOver(child(m_editor, label));
    QCOMPARE(panInfo->text(), QString());
}

void TestSongEditor::helpShowsTheCollectionHelp()
{
    QString title, text;
    m_desk->modalHandlers.enqueue([&](QDialog *dialog) {
        title = child<QLabel>(dialog, QStringLiteral("lblTitolo"))->text();
        text = child<QPlainTextEdit>(dialog, QStringLiteral("txtGuida"))->toPlainText();
        dialog->reject();
    });
    click(QStringLiteral("cmdGuida"));
    QCOMPARE(title, QStringLiteral("Applicazione Collection Musicale."));
    QCOMPARE(text.split(QStringLiteral("\n\n")),
             QStringList(collectionHelpParagraphs()) << FrmGuida::dataFolderParagraph());
    QCOMPARE(collectionHelpParagraphs().size(), 12);
}

// --- clear and navigation ------------------------------------------------------------------

void TestSongEditor::showClearsTheCard()
{
    writeFile(collection(),
              card("Volare", "Modugno", "S\xEC").put(1080, "riga\r\nriga").put(11838, "a.mp3").bytes);
    click(QStringLiteral("cmdPrimo"));
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("Volare"));
    QVERIFY(flag()->isChecked());
    m_editor->close();
    m_editor->openCollection(m_folder->file(QStringLiteral("Pop.mus")), QStringLiteral("Pop"));
    m_editor->showWorkWindow();
    QApplication::setActiveWindow(m_editor);

    for (QLineEdit *f : m_editor->findChildren<QLineEdit *>())
        QCOMPARE(f->text(),
                 f->objectName() == QLatin1String("txtSito") ? QStringLiteral("https://") : QString());
    QCOMPARE(memo(QStringLiteral("txtTesto"))->toPlainText(), QString());
    QCOMPARE(memo(QStringLiteral("txtStoria"))->toPlainText(), QString());
    QVERIFY(!flag()->isChecked());
    for (const char *name :
         {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03", "lblPosizione"})
        QCOMPARE(label(QString::fromLatin1(name)), QString());
    QCOMPARE(label(QStringLiteral("lblNome")), QStringLiteral("Pop"));
    QCOMPARE(stateOf(child<QLabel>(m_editor, QStringLiteral("lblFile"))),
             m_folder->file(QStringLiteral("Pop.mus")));
    QTRY_COMPARE(QApplication::focusWidget(), field(QStringLiteral("txtTitolo")));
}

void TestSongEditor::emptyCollection_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("first") << "cmdPrimo"
                           << ""
                           << "";
    QTest::newRow("last") << "cmdUltimo"
                          << ""
                          << "";
    QTest::newRow("next") << "cmdAvanti"
                          << ""
                          << "";
    QTest::newRow("next from a stale position") << "cmdAvanti"
                                                << "3"
                                                << "";
    QTest::newRow("previous") << "cmdIndietro"
                              << ""
                              << "";
    QTest::newRow("previous keeps the position") << "cmdIndietro"
                                                 << "3"
                                                 << "3";
}

void TestSongEditor::emptyCollection()
{
    QFETCH(QString, command);
    QFETCH(QString, before);
    QFETCH(QString, after);
    writeFile(collection(), QByteArray(100, 'p')); // a partial record is not a card
    setPosition(before);
    field(QStringLiteral("txtTitolo"))->setText(QStringLiteral("non salvata"));
    click(command);
    QCOMPARE(m_desk->texts(), QStringList{kNoCards});
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QCOMPARE(position(), after);
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("non salvata"));
}

void TestSongEditor::navigation_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("shown"); // 0: nothing changes
    QTest::newRow("first from new") << "cmdPrimo"
                                    << "" << 1;
    QTest::newRow("first from 3") << "cmdPrimo"
                                  << "3" << 1;
    QTest::newRow("last from new") << "cmdUltimo"
                                   << "" << 4;
    QTest::newRow("last from 2") << "cmdUltimo"
                                 << "2" << 4;
    QTest::newRow("next from new") << "cmdAvanti"
                                   << "" << 1;
    QTest::newRow("next from 2") << "cmdAvanti"
                                 << "2" << 3;
    QTest::newRow("next at the last card") << "cmdAvanti"
                                           << "4" << 0;
    QTest::newRow("previous from new") << "cmdIndietro"
                                       << "" << 1;
    QTest::newRow("previous from 3") << "cmdIndietro"
                                     << "3" << 2;
    QTest::newRow("previous at the first card") << "cmdIndietro"
                                                << "1" << 0;
}

void TestSongEditor::navigation()
{
    QFETCH(QString, command);
    QFETCH(QString, before);
    QFETCH(int, shown);
    QByteArray four = cards(4) + "resto";
    writeFile(collection(), four);
    setPosition(before);
    field(QStringLiteral("txtTitolo"))->setText(QStringLiteral("mostrata"));
    // The card typed over is dropped on Non salvare.
    if (shown != 0)
        m_desk->saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    click(command);
    QVERIFY(m_desk->messages.isEmpty());
    QCOMPARE(m_desk->saveQuestions.size(), shown != 0 ? 1 : 0);
    if (shown == 0) {
        QCOMPARE(position(), before);
        QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("mostrata"));
    } else {
        QCOMPARE(position(), QString::number(shown));
        QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("Canzone %1").arg(shown));
        QCOMPARE(field(QStringLiteral("txtCantante"))->text(), QStringLiteral("Cantante %1").arg(shown));
        // A card is shown from the first word of each field.
        QCOMPARE(field(QStringLiteral("txtCantante"))->cursorPosition(), 0);
    }
    QCOMPARE(fileContent(collection()), four); // navigation never writes
}

void TestSongEditor::missingCollectionCreatedByNavigation()
{
    QVERIFY(!QFile::exists(collection()));
    click(QStringLiteral("cmdPrimo"));
    QCOMPARE(m_desk->texts(), QStringList{kNoCards});
    QVERIFY(QFileInfo(collection()).isFile());
    QCOMPARE(QFileInfo(collection()).size(), qint64(0));
}

void TestSongEditor::navigationFailureKeepsTheCard_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("failure");
    for (const char *command : {"cmdPrimo", "cmdUltimo", "cmdAvanti", "cmdIndietro"})
        QTest::newRow(qPrintable(QStringLiteral("%1, folder in place").arg(QString::fromLatin1(command))))
            << QString::fromLatin1(command) << "folder";
    QTest::newRow("previous, position beyond the end") << "cmdIndietro"
                                                       << "beyond";
}

void TestSongEditor::navigationFailureKeepsTheCard()
{
    QFETCH(QString, command);
    QFETCH(QString, failure);
    QString before;
    if (failure == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(collection()));
        before = QStringLiteral("2");
    } else {
        writeFile(collection(), cards(3));
        before = QStringLiteral("9");
    }
    setPosition(before);
    field(QStringLiteral("txtTitolo"))->setText(QStringLiteral("mostrata"));
    // A missing record is found only after the question; the card stays all the same.
    if (failure != QLatin1String("folder"))
        m_desk->saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    click(command);
    QCOMPARE(m_desk->texts(), QStringList{kNoAccess});
    QCOMPARE(m_desk->last().kind, Kind::Error);
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("mostrata"));
    QCOMPARE(position(), before);
    if (failure == QLatin1String("folder"))
        QVERIFY(QFileInfo(collection()).isDir());
}

void TestSongEditor::cardMadeElsewhere()
{
    // Accents, a two-line lyric, leftovers after the zeros, a field with no zero at all and a
    // partial record at the end, as a file written by another copy of the program may hold.
    Record r = card("Perch\xE9 \x93"
                    "sempre\x94",
                    "  Mina ", "S\xEC");
    r.bytes.replace(0, 0, QByteArray()); // keep layout
    r.put(242, "Album\0vecchio titolo rimasto");
    r.bytes.replace(716, 31, QByteArray(31, '9'));
    r.put(1080, "Prima riga\r\nSeconda riga");
    r.put(6081, "Traduzione \x80 5");
    r.put(11838, "audio.mp3").put(12591, "L'audio");
    r.put(12089, "foto.jpg").put(12842, "La foto");
    writeFile(collection(), cards(1) + r.bytes + QByteArray(5000, '\x01'));

    click(QStringLiteral("cmdUltimo"));
    QVERIFY(m_desk->messages.isEmpty());
    QCOMPARE(position(), QStringLiteral("2"));
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("Perché “sempre”"));
    QCOMPARE(field(QStringLiteral("txtCantante"))->text(), QStringLiteral("  Mina "));
    QCOMPARE(field(QStringLiteral("txtAlbum"))->text(), QStringLiteral("Album"));
    QCOMPARE(field(QStringLiteral("txtAnno"))->text(),
             QString(30, QLatin1Char('9'))); // cut to the field's 30
    QCOMPARE(memo(QStringLiteral("txtTesto"))->toPlainText(), QStringLiteral("Prima riga\nSeconda riga"));
    QCOMPARE(memo(QStringLiteral("txtTesto"))->document()->blockCount(), 2);
    QCOMPARE(memo(QStringLiteral("txtStoria"))->toPlainText(), QStringLiteral("Traduzione € 5"));
    QVERIFY(flag()->isChecked());
    QCOMPARE(label(QStringLiteral("lblFile01")), QStringLiteral("audio.mp3"));
    QCOMPARE(label(QStringLiteral("lblFile02")), QStringLiteral("foto.jpg"));
    QCOMPARE(label(QStringLiteral("lblFile03")), QString());
    QCOMPARE(label(QStringLiteral("lblDesc01")), QStringLiteral("L'audio"));
    QCOMPARE(label(QStringLiteral("lblDesc02")), QStringLiteral("La foto"));

    // Saving it back rewrites only that record, with the texts as they stood.
    click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral(
                 "Le modifiche apportate alla scheda corrente sono state salvate in archivio.")});
    const QByteArray after = fileContent(collection());
    QCOMPARE(after.size(), 2 * kSize + 5000);
    QCOMPARE(after.left(kSize), cards(1));
    const QByteArray saved = after.mid(kSize, kSize);
    QCOMPARE(saved.mid(0, 22), QByteArray("Perch\xE9 \x93sempre\x94\0", 17).append(saved.mid(17, 5)));
    QCOMPARE(saved.mid(121, 8), QByteArray("  Mina \0", 8));
    QCOMPARE(saved.mid(716, 31), QByteArray(30, '9') + QByteArray(1, '\0'));
    QCOMPARE(saved.mid(1080, 25), QByteArray("Prima riga\r\nSeconda riga\0", 25));
    QCOMPARE(saved.mid(11835, 3), QByteArray("S\xEC\0", 3));
    QCOMPARE(saved.mid(11838, 10), QByteArray("audio.mp3\0", 10));
    QCOMPARE(after.mid(2 * kSize), QByteArray(5000, '\x01'));
}

void TestSongEditor::flagRule()
{
    writeFile(collection(), card("Uno", "A", "S\xEC").bytes + card("Due", "B", "").bytes +
                                card("Tre", "C", "No").bytes + card("Quattro", "D", "xx").bytes);
    click(QStringLiteral("cmdPrimo"));
    QVERIFY(flag()->isChecked());
    click(QStringLiteral("cmdAvanti")); // empty flag field: the box stays ticked
    QCOMPARE(position(), QStringLiteral("2"));
    QVERIFY(flag()->isChecked());
    click(QStringLiteral("cmdAvanti"));
    QVERIFY(!flag()->isChecked());
    click(QStringLiteral("cmdAvanti")); // any other text: the box stays as it was
    QVERIFY(!flag()->isChecked());
    QVERIFY(m_desk->messages.isEmpty());
}

// --- save and duplicate ----------------------------------------------------------------

void TestSongEditor::saveValidation_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("singer");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("focus");
    const QString noTitle =
        QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il titolo della canzone.");
    const QString noSinger =
        QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il nome del cantante.");
    QTest::newRow("both empty") << ""
                                << "" << noTitle << "txtTitolo";
    QTest::newRow("title of blanks, singer empty") << "   "
                                                   << "" << noTitle << "txtTitolo";
    QTest::newRow("title of blanks, singer given") << " \t "
                                                   << "Mina" << noTitle << "txtTitolo";
    QTest::newRow("singer empty") << "Azzurro"
                                  << "" << noSinger << "txtCantante";
    QTest::newRow("singer of blanks") << "Azzurro"
                                      << "  " << noSinger << "txtCantante";
}

void TestSongEditor::saveValidation()
{
    QFETCH(QString, title);
    QFETCH(QString, singer);
    QFETCH(QString, warning);
    QFETCH(QString, focus);
    field(QStringLiteral("txtTitolo"))->setText(title);
    field(QStringLiteral("txtCantante"))->setText(singer);
    field(QStringLiteral("txtNote"))->setFocus();
    click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_desk->texts(), QStringList{warning});
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QTRY_COMPARE(QApplication::focusWidget(), child(m_editor, focus));
    QVERIFY(!QFile::exists(collection()));
    QCOMPARE(position(), QString());
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), title);
}

void TestSongEditor::saveNewCardAppends_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("trailing");
    QTest::newRow("missing file") << -1 << 0;
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("three cards") << 3 << 0;
    QTest::newRow("two cards and a partial one") << 2 << 77;
}

void TestSongEditor::saveNewCardAppends()
{
    QFETCH(int, k);
    QFETCH(int, trailing);
    if (k >= 0)
        writeFile(collection(), cards(k) + QByteArray(trailing, '#'));
    const int before = qMax(k, 0);

    field(QStringLiteral("txtTitolo"))->setText(QStringLiteral("  Nel blu dipinto di blu"));
    field(QStringLiteral("txtCantante"))->setText(QStringLiteral("Domenico Modugno"));
    field(QStringLiteral("txtAnno"))->setText(QStringLiteral("1958"));
    memo(QStringLiteral("txtTesto"))
        ->setPlainText(QStringLiteral("Penso che un sogno così\nnon ritorni mai più"));
    field(QStringLiteral("txtSito"))->setText(QStringLiteral("https://www.rai.it"));
    flag()->setChecked(true);
    click(QStringLiteral("cmdSalva"));

    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio.")});
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QCOMPARE(position(), QString::number(before + 1));
    const QByteArray after = fileContent(collection());
    QCOMPARE(after.size(), (before + 1) * kSize);
    QCOMPARE(after.left(before * kSize), cards(before));
    Record expected;
    expected.put(0, "  Nel blu dipinto di blu")
        .put(121, "Domenico Modugno")
        .put(716, "1958")
        .put(1080, "Penso che un sogno cos\xEC\r\nnon ritorni mai pi\xF9")
        .put(11082, "https://www.rai.it")
        .put(11835, "S\xEC");
    QCOMPARE(after.mid(before * kSize), expected.bytes);
    // The card shown is now that card: the controls keep their texts.
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("  Nel blu dipinto di blu"));
}

void TestSongEditor::saveStoredCardOverwrites()
{
    writeFile(collection(), cards(3));
    setPosition(QStringLiteral("2"));
    click(QStringLiteral("cmdAvanti"));
    QCOMPARE(position(), QStringLiteral("3"));
    click(QStringLiteral("cmdIndietro"));
    QCOMPARE(position(), QStringLiteral("2"));
    field(QStringLiteral("txtNote"))->setText(QStringLiteral("cambiata"));
    flag()->setChecked(false);
    click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral(
                 "Le modifiche apportate alla scheda corrente sono state salvate in archivio.")});
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QCOMPARE(position(), QStringLiteral("2"));
    const QByteArray after = fileContent(collection());
    QCOMPARE(after.size(), 3 * kSize);
    QCOMPARE(after.left(kSize), cards(1));
    QCOMPARE(after.mid(2 * kSize), cards(3).mid(2 * kSize));
    QCOMPARE(after.mid(kSize, kSize), card("Canzone 2", "Cantante 2").put(11584, "cambiata").bytes);
}

void TestSongEditor::cardChanged_data()
{
    QTest::addColumn<QString>("start"); // "new", "stored", "odd flag": a card made elsewhere
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("changed");
    QTest::newRow("new card as shown") << "new" << "" << false;
    QTest::newRow("new card, a letter typed") << "new" << "type" << true;
    QTest::newRow("new card, typed and taken back") << "new" << "type back" << false;
    QTest::newRow("new card, flagged") << "new" << "flag" << true;
    QTest::newRow("new card, lyrics typed") << "new" << "memo" << true;
    QTest::newRow("new card, a file attached") << "new" << "attach" << true;
    QTest::newRow("stored card as read") << "stored" << "" << false;
    QTest::newRow("stored card, a field edited") << "stored" << "type" << true;
    QTest::newRow("stored card, edited and saved") << "stored" << "type save" << false;
    QTest::newRow("stored card, duplicated") << "stored" << "duplicate" << true;
    QTest::newRow("stored card, then Nuovo") << "stored" << "new" << false;
    QTest::newRow("card with a flag written elsewhere") << "odd flag" << "" << false;
    QTest::newRow("card with a flag written elsewhere, flagged") << "odd flag" << "flag" << true;
}

void TestSongEditor::cardChanged()
{
    QFETCH(QString, start);
    QFETCH(QString, action);
    QFETCH(bool, changed);
    if (start != QLatin1String("new")) {
        QByteArray file = cards(2);
        if (start == QLatin1String("odd flag"))
            file += card("Strana", "Qualcuno", "forse").bytes;
        writeFile(collection(), file);
        click(QStringLiteral("cmdUltimo"));
        QVERIFY(!position().isEmpty());
    }
    QLineEdit *title = field(QStringLiteral("txtTitolo"));
    if (action.startsWith(QLatin1String("type"))) {
        title->setFocus();
        QTest::keyClick(title, Qt::Key_End);
        QTest::keyClicks(title, QStringLiteral("x"));
        if (action == QLatin1String("type back"))
            QTest::keyClick(title, Qt::Key_Backspace);
        if (action == QLatin1String("type save")) {
            click(QStringLiteral("cmdSalva"));
            m_desk->messages.clear();
        }
    } else if (action == QLatin1String("flag")) {
        flag()->click();
    } else if (action == QLatin1String("memo")) {
        memo(QStringLiteral("txtTesto"))->setFocus();
        QTest::keyClicks(memo(QStringLiteral("txtTesto")), QStringLiteral("la"));
    } else if (action == QLatin1String("attach")) {
        Attachments a;
        a.file[0] = QStringLiteral("intervista.mp3");
        m_editor->setAttachments(a);
    } else if (action == QLatin1String("duplicate")) {
        click(QStringLiteral("cmdDuplica"));
        m_desk->messages.clear();
    } else if (action == QLatin1String("new")) {
        click(QStringLiteral("cmdNuovo"));
    }
    QCOMPARE(m_editor->cardChanged(), changed);
    QVERIFY(m_desk->messages.isEmpty());
}

void TestSongEditor::saveFailureIsPlainMessage_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("before");
    QTest::newRow("folder in place, new card") << "folder"
                                               << "";
    QTest::newRow("folder in place, stored card") << "folder"
                                                  << "1";
    QTest::newRow("position beyond the end") << "beyond"
                                             << "7";
    QTest::newRow("device full") << "full"
                                 << "";
}

void TestSongEditor::saveFailureIsPlainMessage()
{
    QFETCH(QString, failure);
    QFETCH(QString, before);
    if (failure == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(collection()));
    else if (failure == QLatin1String("beyond"))
        writeFile(collection(), cards(2));
    else if (QFileInfo(QStringLiteral("/dev/full")).exists())
        m_editor->openCollection(QStringLiteral("/dev/full"), QStringLiteral("Piena"));
    else
        QSKIP("no /dev/full here");
    setPosition(before);
    field(QStringLiteral("txtTitolo"))->setText(QStringLiteral("Titolo"));
    field(QStringLiteral("txtCantante"))->setText(QStringLiteral("Cantante"));
    click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_desk->texts(), QStringList{kNoAccess});
    QCOMPARE(m_desk->last().kind, Kind::Plain);
    QCOMPARE(position(), before);
    if (failure == QLatin1String("beyond"))
        QCOMPARE(fileContent(collection()), cards(2));
    if (failure == QLatin1String("folder"))
        QVERIFY(QFileInfo(collection()).isDir());
}

void TestSongEditor::duplicateNewCardWarns()
{
    field(QStringLiteral("txtTitolo"))->setText(QStringLiteral("Azzurro"));
    child<QLabel>(m_editor, QStringLiteral("lblFile01"))->setText(QStringLiteral("a.mp3"));
    click(QStringLiteral("cmdDuplica"));
    QCOMPARE(m_desk->texts(), QStringList{QStringLiteral(
                                  "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che "
                                  "questa è stata inserita in archivio.")});
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("Azzurro"));
    QCOMPARE(label(QStringLiteral("lblFile01")), QStringLiteral("a.mp3"));
    QCOMPARE(position(), QString());
}

void TestSongEditor::duplicateStoredCard()
{
    Record r = card("Azzurro", "Celentano", "S\xEC");
    r.put(1080, "Cerco l'estate\r\ntutto l'anno").put(11838, "a.mp3").put(12089, "b.jpg").put(12340, "c.pdf");
    r.put(12591, "audio").put(12842, "foto").put(13093, "spartito");
    writeFile(collection(), cards(2) + r.bytes);
    click(QStringLiteral("cmdUltimo"));
    QCOMPARE(position(), QStringLiteral("3"));
    field(QStringLiteral("txtNote"))->setFocus();

    click(QStringLiteral("cmdDuplica"));
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral(
                 "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                 "Al termine premere Salva per inserire la scheda in archivio.")});
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QTRY_COMPARE(QApplication::focusWidget(), field(QStringLiteral("txtTitolo")));
    QCOMPARE(position(), QString());
    for (const char *name : {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"})
        QCOMPARE(label(QString::fromLatin1(name)), QString());
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QStringLiteral("Azzurro"));
    QCOMPARE(memo(QStringLiteral("txtTesto"))->toPlainText(), QStringLiteral("Cerco l'estate\ntutto l'anno"));
    QVERIFY(flag()->isChecked());
    QCOMPARE(fileContent(collection()).size(), 3 * kSize); // nothing written yet

    m_desk->clear();
    click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio.")});
    QCOMPARE(position(), QStringLiteral("4"));
    const QByteArray after = fileContent(collection());
    QCOMPARE(after.size(), 4 * kSize);
    QCOMPARE(after.mid(2 * kSize, kSize), r.bytes); // the original keeps its attachments
    QCOMPARE(after.mid(3 * kSize),
             card("Azzurro", "Celentano", "S\xEC").put(1080, "Cerco l'estate\r\ntutto l'anno").bytes);
}

void TestSongEditor::newCommandClears()
{
    writeFile(collection(), card("Uno", "A", "S\xEC").put(11838, "x.mp3").bytes);
    click(QStringLiteral("cmdPrimo"));
    field(QStringLiteral("txtNote"))->setFocus();
    click(QStringLiteral("cmdNuovo"));
    QCOMPARE(field(QStringLiteral("txtTitolo"))->text(), QString());
    QCOMPARE(field(QStringLiteral("txtSito"))->text(), QStringLiteral("https://"));
    QCOMPARE(label(QStringLiteral("lblFile01")), QString());
    QCOMPARE(position(), QString());
    QVERIFY(!flag()->isChecked());
    QTRY_COMPARE(QApplication::focusWidget(), field(QStringLiteral("txtTitolo")));
    QVERIFY(m_desk->messages.isEmpty());
}

// --- web address ---------------------------------------------------------------------------

void TestSongEditor::addressCompletedOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty") << ""
                           << "https://";
    QTest::newRow("blanks only") << "   "
                                 << "https://";
    QTest::newRow("bare host") << "www.rai.it"
                               << "https://www.rai.it";
    QTest::newRow("capital HTTP") << "HTTP://www.rai.it"
                                  << "https://HTTP://www.rai.it";
    QTest::newRow("leading blank") << " www.rai.it"
                                   << "https://www.rai.it";
    QTest::newRow("http kept") << "http://www.rai.it"
                               << "http://www.rai.it";
    QTest::newRow("https kept") << "https://www.rai.it/a b"
                                << "https://www.rai.it/a b";
    QTest::newRow("blank after http kept") << "http://x.it "
                                           << "http://x.it ";
}

void TestSongEditor::addressCompletedOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QLineEdit *sito = field(QStringLiteral("txtSito"));
    sito->setFocus();
    QTRY_VERIFY(sito->hasFocus());
    sito->setText(typed);
    field(QStringLiteral("txtMusica"))->setFocus();
    QTRY_VERIFY(!sito->hasFocus());
    QCOMPARE(sito->text(), after);
    QCOMPARE(Fields::fillOf(sito), Fields::kIdleFill);
    QVERIFY(m_desk->messages.isEmpty());
}

void TestSongEditor::siteWithEmptyAddress()
{
    QLineEdit *sito = field(QStringLiteral("txtSito"));
    field(QStringLiteral("txtNote"))->setFocus();
    sito->setText(QStringLiteral("  "));
    click(QStringLiteral("btnSito"));
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral(
                 "Attenzione: per collegarsi al sito è necessario indicare il suo Indirizzo.")});
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QCOMPARE(sito->text(), QStringLiteral("https://"));
    QTRY_COMPARE(QApplication::focusWidget(), sito);
    QVERIFY(m_desk->opened.isEmpty());
}

void TestSongEditor::addressKeptWhenTheWindowLosesFocus()
{
    QLineEdit *sito = field(QStringLiteral("txtSito"));
    sito->setFocus();
    QTRY_VERIFY(sito->hasFocus());
    sito->setText(QStringLiteral("www.rai.it"));
    // A message box or another program taking the focus is not leaving the field.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(sito, &away);
    QCOMPARE(sito->text(), QStringLiteral("www.rai.it"));
}

void TestSongEditor::siteOpensWebAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("field");
    QTest::newRow("https") << "https://www.youtube.com/watch?v=abc"
                           << "https://www.youtube.com/watch?v=abc"
                           << "https://www.youtube.com/watch?v=abc";
    QTest::newRow("http with blanks around") << "http://www.rai.it  "
                                             << "http://www.rai.it"
                                             << "http://www.rai.it  ";
    QTest::newRow("bare host completed first") << "www.rai.it"
                                               << "https://www.rai.it"
                                               << "https://www.rai.it";
    QTest::newRow("leading blank") << " www.rai.it"
                                   << "https://www.rai.it"
                                   << "https://www.rai.it";
}

void TestSongEditor::siteOpensWebAddress()
{
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    QFETCH(QString, field);
    this->field(QStringLiteral("txtNote"))->setFocus();
    this->field(QStringLiteral("txtSito"))->setText(typed);
    click(QStringLiteral("btnSito"));
    QVERIFY(m_desk->messages.isEmpty());
    QCOMPARE(m_desk->opened, QStringList{opened});
    QCOMPARE(this->field(QStringLiteral("txtSito"))->text(), field);
}

void TestSongEditor::siteRefusesWhatIsNotAWebAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("no host") << "https://";
    QTest::newRow("http without slashes") << "http:evil";
    QTest::newRow("word beginning with http") << "httpfoo";
    QTest::newRow("local file through http prefix") << "http:/etc/passwd";
    QTest::newRow("empty host, path") << "https:///etc/passwd";
    QTest::newRow("javascript") << "javascript:alert(1)";
    QTest::newRow("invalid host") << "https://exa mple.com";
}

void TestSongEditor::siteRefusesWhatIsNotAWebAddress()
{
    QFETCH(QString, typed);
    field(QStringLiteral("txtNote"))->setFocus();
    field(QStringLiteral("txtSito"))->setText(typed);
    click(QStringLiteral("btnSito"));
    QVERIFY(m_desk->opened.isEmpty());
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QVERIFY(m_desk->last().text.startsWith(QStringLiteral("Attenzione: ")));
}

QTEST_MAIN(TestSongEditor)
#include "tst_songeditor.moc"
