#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "core/ProgramFolder.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "singers/FrmAnagrafica.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// The keyboard in the two card editors: each command key runs its command's own handler, the
// memo keeps the page keys, the hint line and tool tips show the keys, Esc closes the small
// per-use windows and never an editor.

using Kind = Desktop::Kind;

namespace
{

const QString kNoCards = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kChanged =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kNotStored = QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto "
                                          "dopo che questa è stata inserita in archivio.");

template <typename T = QWidget> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

void moveOver(QWidget *w)
{
    const QPoint at(w->width() / 2, w->height() / 2);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

class TestEditorKeys : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveKeyChecksLikeTheButton_data();
    void saveKeyChecksLikeTheButton();
    void navigationKeys_data();
    void navigationKeys();
    void pageDownOnAnEmptyArchive_data();
    void pageDownOnAnEmptyArchive();
    void windowKeysOpenTheirWindows_data();
    void windowKeysOpenTheirWindows();
    void memoKeepsThePageKeys();
    void hintLineAndToolTipShowTheKeys_data();
    void hintLineAndToolTipShowTheKeys();
    void pictureCommandsArePressableButtons_data();
    void pictureCommandsArePressableButtons();
    void escapeClosesSmallWindows_data();
    void escapeClosesSmallWindows();
    void escapeLeavesWindowsWithWork_data();
    void escapeLeavesWindowsWithWork();
    void escapeClosesTheSearchResults();
    void escapeNeverClosesAnEditor_data();
    void escapeNeverClosesAnEditor();

private:
    // The editor of `kind` ("song" or "singer") on an archive of `cards` cards, shown and
    // active, with the focus in its first field.
    CardEditor *open(const QString &kind, int cards);
    QString position() const { return child<QLabel>(m_editor, QStringLiteral("lblPosizione"))->text(); }
    QLineEdit *firstField() const
    {
        return child<QLineEdit>(m_editor, m_kind == QLatin1String("song") ? QStringLiteral("txtTitolo")
                                                                          : QStringLiteral("txtNome"));
    }
    // Presses `key` where the focus is, as a user would.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_editor;
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    TempProgramFolder *m_folder = nullptr;
    RecordingDesktop *m_desk = nullptr;
    CardEditor *m_editor = nullptr;
    QString m_kind;
};

void TestEditorKeys::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
}

void TestEditorKeys::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_editor;
    m_editor = nullptr;
    delete m_desk;
    delete m_folder;
}

CardEditor *TestEditorKeys::open(const QString &kind, int cards)
{
    m_kind = kind;
    QByteArray all;
    if (kind == QLatin1String("song")) {
        for (int i = 1; i <= cards; ++i) {
            SongCard card;
            card.setText(SongCard::Titolo, QStringLiteral("Canzone %1").arg(i));
            card.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(i));
            card.setText(SongCard::Segnala, QStringLiteral("No"));
            all += card.encode();
        }
        writeFile(m_folder->file(QStringLiteral("Rock.mus")), all);
        auto *editor = new FrmCollection;
        editor->openCollection(m_folder->file(QStringLiteral("Rock.mus")), QStringLiteral("Rock"));
        m_editor = editor;
    } else {
        for (int i = 1; i <= cards; ++i) {
            SingerCard card;
            card.setText(SingerCard::Nome, QStringLiteral("Cantante %1").arg(i));
            card.setText(SingerCard::Sesso, QStringLiteral("F"));
            card.setText(SingerCard::Cittadinanza, QStringLiteral("Italiana"));
            card.setText(SingerCard::Estremi, QStringLiteral("Una canzone"));
            all += card.encode();
        }
        writeFile(SingerArchive::path(), all);
        m_editor = new FrmAnagrafica;
    }
    m_editor->showWorkWindow();
    m_editor->setWindowState(Qt::WindowNoState);
    m_editor->setGeometry(0, 0, 1016, 713);
    QApplication::setActiveWindow(m_editor);
    if (!QTest::qWaitForWindowActive(m_editor))
        qWarning("the editor did not become active");
    return m_editor;
}

// --- keys that run commands ------------------------------------------------------------------

void TestEditorKeys::saveKeyChecksLikeTheButton_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QStringList>("required"); // fields filled in turn until Save goes through
    QTest::newRow("song")
        << "song"
        << "Attenzione: per salvare la scheda è necessario indicare il titolo della canzone."
        << QStringList{"txtTitolo", "txtCantante"};
    QTest::newRow("singer")
        << "singer"
        << "Attenzione: per salvare la scheda è necessario indicare il nome d'arte del cantante."
        << QStringList{"txtNome", "txtSesso", "txtCittadinanza", "txtEstremi"};
}

void TestEditorKeys::saveKeyChecksLikeTheButton()
{
    QFETCH(QString, kind);
    QFETCH(QString, warning);
    QFETCH(QStringList, required);
    open(kind, 0);
    // The focus elsewhere than the field that is missing: the check puts it back there.
    child<QLineEdit>(m_editor, required.last())->setFocus();
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QCOMPARE(m_desk->last().text, warning);
    QCOMPARE(QApplication::focusWidget(), firstField());
    QCOMPARE(position(), QString());

    for (const QString &name : required)
        child<QLineEdit>(m_editor, name)->setText(QStringLiteral("X"));
    m_desk->clear();
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_desk->texts(), QStringList{kInserted});
    QCOMPARE(position(), QStringLiteral("1"));
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_desk->last().text, kChanged);
    QCOMPARE(position(), QStringLiteral("1"));
}

void TestEditorKeys::navigationKeys_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("song") << "song";
    QTest::newRow("singer") << "singer";
}

void TestEditorKeys::navigationKeys()
{
    QFETCH(QString, kind);
    open(kind, 3);
    QCOMPARE(QApplication::focusWidget(), firstField());
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char *position;
    } steps[] = {
        {Qt::Key_PageDown, Qt::NoModifier, "1"}, // a new card moves to card 1
        {Qt::Key_PageDown, Qt::NoModifier, "2"},  {Qt::Key_PageUp, Qt::NoModifier, "1"},
        {Qt::Key_PageUp, Qt::NoModifier, "1"}, // silent at the first card
        {Qt::Key_End, Qt::ControlModifier, "3"},  {Qt::Key_PageDown, Qt::NoModifier, "3"},
        {Qt::Key_Home, Qt::ControlModifier, "1"},
    };
    for (const auto &step : steps) {
        press(step.key, step.modifiers);
        QCOMPARE(position(), QString::fromLatin1(step.position));
    }
    QCOMPARE(firstField()->text(),
             kind == QLatin1String("song") ? QStringLiteral("Canzone 1") : QStringLiteral("Cantante 1"));
    QVERIFY(m_desk->messages.isEmpty());

    // Ctrl+N clears the card; Ctrl+D on a new card asks for a stored one first.
    press(Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(position(), QString());
    QCOMPARE(firstField()->text(), QString());
    press(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(m_desk->texts(), QStringList{kNotStored});
    // On a stored card it copies.
    press(Qt::Key_End, Qt::ControlModifier);
    m_desk->clear();
    press(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QCOMPARE(position(), QString());
    QVERIFY(firstField()->text().endsWith(QLatin1Char('3')));
}

void TestEditorKeys::pageDownOnAnEmptyArchive_data()
{
    navigationKeys_data();
}

void TestEditorKeys::pageDownOnAnEmptyArchive()
{
    QFETCH(QString, kind);
    open(kind, 0);
    press(Qt::Key_PageDown);
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QCOMPARE(m_desk->last().text, kNoCards);
    press(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(m_desk->texts(), (QStringList{kNoCards, kNoCards}));
}

void TestEditorKeys::windowKeysOpenTheirWindows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("from"); // the control with the focus
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title"); // of the help window
    const int find = int(Qt::CTRL | Qt::Key_F), print = int(Qt::CTRL | Qt::Key_P),
              exportKey = int(Qt::CTRL | Qt::Key_E), help = int(Qt::Key_F1);
    QTest::newRow("song Ctrl+F") << "song" << find << "txtTitolo"
                                 << "frmTrovaCanzone"
                                 << "";
    QTest::newRow("song Ctrl+P") << "song" << print << "txtAlbum"
                                 << "frmStampaCanzone"
                                 << "";
    QTest::newRow("song Ctrl+P in a memo") << "song" << print << "txtTesto"
                                           << "frmStampaCanzone"
                                           << "";
    // Ctrl+E also ends the line in a field on some desktops: the command wins.
    QTest::newRow("song Ctrl+E") << "song" << exportKey << "txtTitolo"
                                 << "frmExpCollection"
                                 << "";
    QTest::newRow("song F1") << "song" << help << "txtNote"
                             << "frmGuida"
                             << "Applicazione Collection Musicale.";
    QTest::newRow("singer Ctrl+F") << "singer" << find << "txtNome"
                                   << "frmTrovaAnagrafica"
                                   << "";
    QTest::newRow("singer Ctrl+P") << "singer" << print << "txtNote"
                                   << "frmStampaAnagrafica"
                                   << "";
    QTest::newRow("singer Ctrl+E") << "singer" << exportKey << "txtIban"
                                   << "frmExpAnagrafica"
                                   << "";
    QTest::newRow("singer F1") << "singer" << help << "txtNome"
                               << "frmGuida"
                               << "Applicazione Archivio Cantanti.";
}

void TestEditorKeys::windowKeysOpenTheirWindows()
{
    QFETCH(QString, kind);
    QFETCH(int, key);
    QFETCH(QString, from);
    QFETCH(QString, window);
    QFETCH(QString, title);
    open(kind, 2);
    QString opened, shownTitle;
    m_desk->modalHandlers.enqueue([&](QDialog *d) {
        opened = d->objectName();
        if (auto *label = d->findChild<QLabel *>(QStringLiteral("lblTitolo")))
            shownTitle = label->text();
    });
    child(m_editor, from)->setFocus();
    const QKeyCombination combination = QKeyCombination::fromCombined(key);
    press(combination.key(), combination.keyboardModifiers());
    QCOMPARE(opened, window);
    if (!title.isEmpty())
        QCOMPARE(shownTitle, title);
}

void TestEditorKeys::memoKeepsThePageKeys()
{
    // In the lyrics the page and document keys move through the text being written: a move to
    // another card there would drop it without a word.
    open(QStringLiteral("song"), 3);
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    QCOMPARE(position(), QStringLiteral("2"));
    auto *memo = child<QPlainTextEdit>(m_editor, QStringLiteral("txtTesto"));
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
        lines << QStringLiteral("Verso %1").arg(i);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    memo->setFocus();
    memo->moveCursor(QTextCursor::Start);

    press(Qt::Key_PageDown);
    QCOMPARE(position(), QStringLiteral("2"));
    QVERIFY(memo->textCursor().blockNumber() > 0);
    // The keypad's page key, as sent with Num Lock off, is the memo's too.
    const int before = memo->textCursor().blockNumber();
    press(Qt::Key_PageDown, Qt::KeypadModifier);
    QCOMPARE(position(), QStringLiteral("2"));
    QVERIFY(memo->textCursor().blockNumber() > before);
    press(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(position(), QStringLiteral("2"));
    QCOMPARE(memo->textCursor().blockNumber(), 59);
    press(Qt::Key_PageUp);
    QCOMPARE(position(), QStringLiteral("2"));
    QVERIFY(memo->textCursor().blockNumber() < 59);
    press(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(position(), QStringLiteral("2"));
    QCOMPARE(memo->textCursor().position(), 0);
    QVERIFY(m_desk->messages.isEmpty());

    // The keys the memo has no use for still reach the editor: the lyrics are saved.
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_desk->texts(), QStringList{kChanged});
    QCOMPARE(QApplication::focusWidget(), memo);

    // Out of the memo, the same keys move between cards again.
    child(m_editor, QStringLiteral("txtStoria"))->setFocus();
    press(Qt::Key_PageDown);
    QCOMPARE(position(), QStringLiteral("2"));
    child(m_editor, QStringLiteral("txtNote"))->setFocus();
    press(Qt::Key_PageDown);
    QCOMPARE(position(), QStringLiteral("3"));
    QCOMPARE(child<QPlainTextEdit>(m_editor, QStringLiteral("txtTesto"))->toPlainText(), QString());
}

// --- what the user reads and a screen reader says -------------------------------------------

void TestEditorKeys::hintLineAndToolTipShowTheKeys_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("keys");
    const struct {
        const char *command, *hint, *keys;
    } rows[] = {
        {"cmdNuovo", "Prepara la schermata per l'inserimento di una nuova scheda.", "Ctrl+N"},
        {"cmdDuplica",
         "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.", "Ctrl+D"},
        {"cmdSalva", "Salva la scheda in archivio.", "Ctrl+S"},
        {"cmdTrova", "Trova una scheda in archivio.", "Ctrl+F"},
        {"cmdStampa", "Stampa la scheda.", "Ctrl+P"},
        {"cmdPrimo", "Visualizza la prima scheda in archivio.", "Ctrl+Home"},
        {"cmdIndietro", "Visualizza la scheda precedente in archivio.", "PgUp"},
        {"cmdAvanti", "Visualizza la scheda successiva in archivio.", "PgDn"},
        {"cmdUltimo", "Visualizza l'ultima scheda in archivio.", "Ctrl+End"},
        {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel.", "Ctrl+E"},
        {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto.", "F1"},
        // Commands without a key keep their hint as it is.
        {"cmdFile", "Allega file alla scheda.", ""},
        {"cmdAnteprima", "Visualizza l'anteprima di stampa della scheda.", ""},
        {"cmdEsci", "Esci da questa schermata di lavoro.", ""},
    };
    for (const char *kind : {"song", "singer"})
        for (const auto &r : rows)
            QTest::addRow("%s %s", kind, r.command)
                << QString::fromLatin1(kind) << QString::fromLatin1(r.command) << QString::fromUtf8(r.hint)
                << QString::fromLatin1(r.keys);
}

void TestEditorKeys::hintLineAndToolTipShowTheKeys()
{
    QFETCH(QString, kind);
    QFETCH(QString, command);
    QFETCH(QString, hint);
    QFETCH(QString, keys);
    open(kind, 0);
    const QString shown = keys.isEmpty() ? hint : hint + QStringLiteral(" (") + keys + QLatin1Char(')');
    QWidget *control = child(m_editor, command);
    moveOver(control);
    QCOMPARE(child<QLabel>(m_editor, QStringLiteral("panInfo"))->text(), shown);
    QCOMPARE(control->toolTip(), shown);

    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    QVERIFY(accessible);
    QVERIFY(!accessible->text(QAccessible::Name).isEmpty());
    QVERIFY(accessible->actionInterface());
    QCOMPARE(accessible->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
             keys.isEmpty() ? QStringList() : QStringList{keys});
}

void TestEditorKeys::pictureCommandsArePressableButtons_data()
{
    navigationKeys_data();
}

void TestEditorKeys::pictureCommandsArePressableButtons()
{
    // A screen reader presses a picture command as a button: the same handler as a click.
    QFETCH(QString, kind);
    open(kind, 0);
    QAccessibleInterface *save =
        QAccessible::queryAccessibleInterface(child(m_editor, QStringLiteral("cmdSalva")));
    QCOMPARE(save->role(), QAccessible::Button);
    QCOMPARE(save->text(QAccessible::Name), QStringLiteral("Salva la scheda in archivio."));
    QCOMPARE(save->text(QAccessible::Description), QStringLiteral("Salva la scheda in archivio. (Ctrl+S)"));
    save->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QVERIFY(m_desk->last().text.startsWith(QStringLiteral("Attenzione: per salvare la scheda")));

    QAccessibleInterface *next =
        QAccessible::queryAccessibleInterface(child(m_editor, QStringLiteral("cmdAvanti")));
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_desk->last().text, kNoCards);
}

// --- Esc ---------------------------------------------------------------------------------------

void TestEditorKeys::escapeClosesSmallWindows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::newRow("song search") << "song"
                                 << "cmdTrova"
                                 << "frmTrovaCanzone";
    QTest::newRow("flagged songs") << "song"
                                   << "cmdSegnala"
                                   << "frmSegnalati";
    QTest::newRow("song print") << "song"
                                << "cmdStampa"
                                << "frmStampaCanzone";
    QTest::newRow("song preview") << "song"
                                  << "cmdAnteprima"
                                  << "frmAnteprimaCanzone";
    QTest::newRow("song export") << "song"
                                 << "cmdEsporta"
                                 << "frmExpCollection";
    QTest::newRow("singer import") << "song"
                                   << "impCantante"
                                   << "frmTrovaAnagrafica";
    QTest::newRow("singer search") << "singer"
                                   << "cmdTrova"
                                   << "frmTrovaAnagrafica";
    QTest::newRow("singer print") << "singer"
                                  << "cmdStampa"
                                  << "frmStampaAnagrafica";
    QTest::newRow("singer preview") << "singer"
                                    << "cmdAnteprima"
                                    << "frmAnteprimaAnagrafica";
    QTest::newRow("singer export") << "singer"
                                   << "cmdEsporta"
                                   << "frmExpAnagrafica";
}

void TestEditorKeys::escapeClosesSmallWindows()
{
    QFETCH(QString, kind);
    QFETCH(QString, command);
    QFETCH(QString, window);
    open(kind, 2);
    QString opened;
    bool closed = false;
    m_desk->modalHandlers.enqueue([&](QDialog *d) {
        opened = d->objectName();
        QWidget *target = d->focusWidget() ? d->focusWidget() : d;
        QTest::keyClick(target, Qt::Key_Escape);
        closed = !d->isVisible();
    });
    QTest::mouseClick(child(m_editor, command), Qt::LeftButton);
    QCOMPARE(opened, window);
    QVERIFY(closed);
    QVERIFY(m_desk->messages.isEmpty());
    QVERIFY(m_desk->reports.isEmpty()); // nothing printed or previewed on the way out
    QVERIFY(m_editor->isVisible());
}

void TestEditorKeys::escapeLeavesWindowsWithWork_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::newRow("song attachments") << "song"
                                      << "cmdFile"
                                      << "frmAllegaCartella";
    QTest::newRow("singer attachments") << "singer"
                                        << "cmdFile"
                                        << "frmAllegaCartella";
    // The help, like the about window, closes only through its own button.
    QTest::newRow("help") << "song"
                          << "cmdGuida"
                          << "frmGuida";
    QTest::newRow("discography") << "singer"
                                 << "btnFilmografia"
                                 << "frmFilmografiaAttori";
}

void TestEditorKeys::escapeLeavesWindowsWithWork()
{
    // Windows where something typed would be lost close only through their own buttons.
    QFETCH(QString, kind);
    QFETCH(QString, command);
    QFETCH(QString, window);
    open(kind, 2);
    press(Qt::Key_PageDown); // the discography needs a stored card
    QString opened;
    bool stillOpen = false;
    m_desk->modalHandlers.enqueue([&](QDialog *d) {
        opened = d->objectName();
        QWidget *target = d->focusWidget() ? d->focusWidget() : d;
        QTest::keyClick(target, Qt::Key_Escape);
        stillOpen = d->isVisible();
    });
    QTest::mouseClick(child(m_editor, command), Qt::LeftButton);
    QCOMPARE(opened, window);
    QVERIFY(stillOpen);
}

void TestEditorKeys::escapeClosesTheSearchResults()
{
    // After a search the window shows its result panel, whose own Chiudi closes it.
    open(QStringLiteral("song"), 2);
    QString found;
    bool closed = false;
    m_desk->modalHandlers.enqueue([&](QDialog *d) {
        QTest::mouseClick(child(d, QStringLiteral("btnCerca")), Qt::LeftButton);
        found = child<QLabel>(d, QStringLiteral("lblTrovate"))->text();
        QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
        closed = !d->isVisible();
    });
    press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(found, QStringLiteral("Il presente riepilogo contiene 2 schede."));
    QVERIFY(closed);
    // Nothing was picked: the editor still shows its new card.
    QCOMPARE(position(), QString());
}

void TestEditorKeys::escapeNeverClosesAnEditor_data()
{
    navigationKeys_data();
}

void TestEditorKeys::escapeNeverClosesAnEditor()
{
    QFETCH(QString, kind);
    open(kind, 2);
    press(Qt::Key_PageDown);
    bool closing = false;
    connect(m_editor, &WorkWindow::closing, this, [&closing] { closing = true; });
    press(Qt::Key_Escape);
    QTest::keyClick(m_editor, Qt::Key_Escape);
    QVERIFY(!closing);
    QVERIFY(m_editor->isVisible());
    QCOMPARE(position(), QStringLiteral("1"));
    QVERIFY(m_desk->messages.isEmpty());
}

QTEST_MAIN(TestEditorKeys)
#include "tst_editorkeys.moc"
