#include "RecordingDesktop.h"
#include "backup/Backups.h"
#include "TestFiles.h"

#include "app/FrmAvvio.h"
#include "app/FrmGuida.h"
#include "app/Widgets.h"
#include "collections/CollectionHelp.h"
#include "collections/FrmApriCollection.h"
#include "collections/FrmCollection.h"
#include "collections/FrmCreaCollection.h"
#include "records/SongCard.h"
#include "core/ProgramFolder.h"
#include "shell/WindowSet.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

using Kind = Desktop::Kind;

namespace
{

template <typename T = QWidget> T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), name);
    return found;
}

void click(QWidget *window, const char *name)
{
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

void makeFile(const QString &path, const QByteArray &content = QByteArray())
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// Types each character as a key press carrying it (QTest::keyClicks knows only ASCII).
void typeText(QWidget *field, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

QStringList lines(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

const QString kEmptyList = QStringLiteral("Attenzione: l'elenco non contiene nessuna collection musicale.");

// Collection files whose names only differ from "Rock.mus" by what trimming would remove.
void blankEdgedNames()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("leading blank") << QStringLiteral(" Rock.mus");
    QTest::newRow("leading blanks") << QStringLiteral("   Rock.mus");
    QTest::newRow("leading tab") << QStringLiteral("\tRock.mus");
}

// One card whose title tells which file it came from.
QByteArray cardTitled(const QString &title)
{
    SongCard card;
    card.setText(SongCard::Titolo, title);
    card.setText(SongCard::Cantante, QStringLiteral("Cantante"));
    return card.encode();
}

void selectLine(QListWidget *list, const QString &line)
{
    const QList<QListWidgetItem *> found = list->findItems(line, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    found.first()->setSelected(true);
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // frmCreaCollection
    void createsEmptyFileWithTrimmedName();
    void blankNameWarns_data();
    void blankNameWarns();
    void typedKeyFilter_data();
    void typedKeyFilter();
    void existingNameLeavesFileUntouched();
    void nameOutsideProgramFolderRefused_data();
    void nameOutsideProgramFolderRefused();
    void creationFailureGoesToGeneralReport();
    void showEmptiesName();
    void cancelCloses();

    // frmApriCollection
    void listsCollectionsSorted();
    void emptyFolder_data();
    void emptyFolder();
    void openWithoutSelectionWarns();
    void openSetsCollectionMode();
    void recentCollectionsComeFirst();
    void deleteAnsweredNoKeepsEverything();
    void deleteRemovesAndRefills();
    void deleteOfVanishedFileReportsNoSuccess();
    void blankEdgedNameDeletesThatFile_data();
    void blankEdgedNameDeletesThatFile();
    void helpIsTheCollectionHelp_data();
    void helpIsTheCollectionHelp();

    // flows through the window set
    void openingShowsEditorOnNewCard();
    void blankEdgedNameOpensThatFile_data();
    void blankEdgedNameOpensThatFile();
    void leavingCatalogueReturnsToLauncher_data();
    void leavingCatalogueReturnsToLauncher();

private:
    RecordingDesktop *m_desk = nullptr;
    TempProgramFolder *m_folder = nullptr;
};

void TestCatalogue::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
    QSettings().clear(); // no collection was opened before
}

void TestCatalogue::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_desk;
    delete m_folder;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        w->hide();
}

// --- create ----------------------------------------------------------------------------

void TestCatalogue::createsEmptyFileWithTrimmedName()
{
    FrmCreaCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    child<QLineEdit>(&window, "txtFile")->setText(QStringLiteral("  Canzoni estate \t"));
    click(&window, "btnApplica");

    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral(
                 "Il file di archivio relativo alla nuova collection musicale è stato creato con "
                 "successo.\r\n\r\nE' ora possibile visualizzarlo nell'elenco delle collection "
                 "musicali esistenti.")});
    QCOMPARE(m_desk->last().kind, Kind::Information);
    const QString path = m_folder->file(QStringLiteral("Canzoni estate.mus"));
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QFileInfo(path).size(), qint64(0));
    QCOMPARE(folderEntries(m_folder->path()), QStringList{QStringLiteral("Canzoni estate.mus")});
    QCOMPARE(stateOf(child<QLabel>(&window, "lblFile")), path);
    QCOMPARE(closing.count(), 1);
    QVERIFY(!window.isVisible());

    // The new collection appears in the list, counted.
    FrmApriCollection list;
    list.showWorkWindow();
    QCOMPARE(lines(child<QListWidget>(&list, "lstFiles")), QStringList{QStringLiteral("Canzoni estate.mus")});
    QCOMPARE(child<QLabel>(&list, "lblCreati")->text(),
             QStringLiteral("Sono state create 1 collection musicali."));
}

void TestCatalogue::blankNameWarns_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral("   ");
    QTest::newRow("blanks and tabs") << QStringLiteral(" \t ");
}

void TestCatalogue::blankNameWarns()
{
    QFETCH(QString, name);
    FrmCreaCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    QApplication::setActiveWindow(&window);
    auto *txtFile = child<QLineEdit>(&window, "txtFile");
    txtFile->setText(name);
    child<QWidget>(&window, "btnApplica")->setFocus(); // wherever the focus was
    click(&window, "btnApplica");
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral("Attenzione: per creare il nuovo archivio è necessario indicare "
                                        "il nome della nuova collection musicale.")});
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QTRY_COMPARE(QApplication::focusWidget(), txtFile);
    QVERIFY(folderEntries(m_folder->path()).isEmpty());
    QCOMPARE(closing.count(), 0);
    QCOMPARE(stateOf(child<QLabel>(&window, "lblFile")), QString());
}

void TestCatalogue::typedKeyFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("colon and question mark") << QStringLiteral("Rock: best?") << QStringLiteral("Rock best");
    QTest::newRow("all thirteen") << QStringLiteral("a\"*/:<>?\\°ÇÑçñb") << QStringLiteral("ab");
    QTest::newRow("vertical bar accepted") << QStringLiteral("Pop|Rock") << QStringLiteral("Pop|Rock");
    QTest::newRow("other accents and dots accepted")
        << QStringLiteral("Città. è_1") << QStringLiteral("Città. è_1");
}

void TestCatalogue::typedKeyFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    FrmCreaCollection window;
    window.showWorkWindow();
    auto *txtFile = child<QLineEdit>(&window, "txtFile");
    typeText(txtFile, typed);
    QCOMPARE(txtFile->text(), shown);
    QCOMPARE(txtFile->maxLength(), 250);
}

void TestCatalogue::existingNameLeavesFileUntouched()
{
    const QString path = m_folder->file(QStringLiteral("Rock.mus"));
    makeFile(path, QByteArray(SongCard::kSize, 'r'));
    FrmCreaCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    child<QLineEdit>(&window, "txtFile")->setText(QStringLiteral(" Rock"));
    click(&window, "btnApplica");
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral(
                 "Attenzione: una collection musicale con il nome indicato già esiste.\r\n\r\n"
                 "Inserire un nome diverso oppure, se si desidera aprire la collection musicale "
                 "già creata, premere il pulsante Apri collection esistente.")});
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray(SongCard::kSize, 'r'));
    QCOMPARE(closing.count(), 0);
    QVERIFY(window.isVisible());
    QCOMPARE(child<QLineEdit>(&window, "txtFile")->text(), QStringLiteral(" Rock"));
}

void TestCatalogue::nameOutsideProgramFolderRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << QStringLiteral("../fuori");
    QTest::newRow("sub-folder") << QStringLiteral("sotto/dentro");
    QTest::newRow("backslash") << QStringLiteral("..\\fuori");
    QTest::newRow("dot dot alone") << QStringLiteral("..");
    // <esterna> stands for the test's own folder around the program folder.
    QTest::newRow("absolute") << QStringLiteral("<esterna>/assoluto");
    QTest::newRow("deep climb") << QStringLiteral("a/../../b");
}

void TestCatalogue::nameOutsideProgramFolderRefused()
{
    QFETCH(QString, name);
    // The program folder lies inside the test's own folder, so that what lies around it is the
    // test's alone.
    const QString parent = QDir(m_folder->path()).absolutePath();
    const QString program = parent + QStringLiteral("/programma");
    QVERIFY(QDir().mkpath(program));
    ProgramFolder::setOverride(program);
    name.replace(QStringLiteral("<esterna>"), parent);
    // A sub-folder and a sibling exist, so a path through them could be created.
    QVERIFY(QDir().mkpath(program + QStringLiteral("/sotto")));
    QVERIFY(QDir().mkpath(program + QStringLiteral("/a")));
    const QStringList parentBefore = folderEntries(parent);
    QCOMPARE(parentBefore, QStringList{QStringLiteral("programma")});

    FrmCreaCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    auto *txtFile = child<QLineEdit>(&window, "txtFile");
    // Inserted as a paste would be: the typed-key filter does not see it.
    txtFile->insert(name);
    QCOMPARE(txtFile->text(), name);
    click(&window, "btnApplica");

    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QVERIFY(m_desk->last().text.startsWith(QStringLiteral("Attenzione: ")));
    QCOMPARE(folderEntries(program), (QStringList{QStringLiteral("a"), QStringLiteral("sotto")}));
    QVERIFY(folderEntries(program + QStringLiteral("/sotto")).isEmpty());
    QCOMPARE(folderEntries(parent), parentBefore);
    QVERIFY(!QFile::exists(parent + QStringLiteral("/assoluto.mus")));
    QCOMPARE(closing.count(), 0);
}

void TestCatalogue::creationFailureGoesToGeneralReport()
{
    // The program folder lies under a regular file: nothing can be created there.
    const QString blocker = m_folder->file(QStringLiteral("blocco"));
    makeFile(blocker, "x");
    ProgramFolder::setOverride(blocker + QStringLiteral("/cartella"));

    FrmCreaCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    child<QLineEdit>(&window, "txtFile")->setText(QStringLiteral("Jazz"));
    click(&window, "btnApplica");

    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Kind::Plain);
    QVERIFY(!m_desk->last().text.isEmpty());
    QVERIFY(m_desk->last().text.endsWith(QLatin1Char('.')));
    QVERIFY(!m_desk->last().text.startsWith(QStringLiteral("Il file di archivio")));
    QCOMPARE(closing.count(), 0);
    QVERIFY(window.isVisible());
    QCOMPARE(folderEntries(m_folder->path()), QStringList{QStringLiteral("blocco")});
}

void TestCatalogue::showEmptiesName()
{
    FrmCreaCollection window;
    window.showWorkWindow();
    QApplication::setActiveWindow(&window);
    auto *txtFile = child<QLineEdit>(&window, "txtFile");
    txtFile->setText(QStringLiteral("vecchio"));
    window.hide();
    window.showWorkWindow();
    QCOMPARE(txtFile->text(), QString());
    QTRY_COMPARE(QApplication::focusWidget(), txtFile);
}

void TestCatalogue::cancelCloses()
{
    FrmCreaCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    child<QLineEdit>(&window, "txtFile")->setText(QStringLiteral("Mai creata"));
    click(&window, "btnAnnulla");
    QCOMPARE(closing.count(), 1);
    QVERIFY(!window.isVisible());
    QVERIFY(folderEntries(m_folder->path()).isEmpty());
    QVERIFY(m_desk->messages.isEmpty());
}

// --- list --------------------------------------------------------------------------------

void TestCatalogue::listsCollectionsSorted()
{
    for (const char *name : {"b.mus", "A.mus", "_z.mus", "zeta.mus", "a2.mus", "[x.mus", "ciao.MUS",
                             "Ècco.mus", ".mus", "nota.txt", "mus", "Amore.mus.bak"})
        makeFile(m_folder->file(QString::fromUtf8(name)));
    QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("cartella.mus"))));
    QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("sotto"))));
    makeFile(m_folder->file(QStringLiteral("sotto/interna.mus")));

    FrmApriCollection window;
    window.showWorkWindow();
    auto *list = child<QListWidget>(&window, "lstFiles");
    // Letters compare without case (as capitals), everything else by its code.
    QCOMPARE(lines(list),
             (QStringList{QStringLiteral(".mus"), QStringLiteral("A.mus"), QStringLiteral("a2.mus"),
                          QStringLiteral("b.mus"), QStringLiteral("ciao.MUS"), QStringLiteral("zeta.mus"),
                          QStringLiteral("[x.mus"), QStringLiteral("_z.mus"), QStringLiteral("Ècco.mus")}));
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(child<QLabel>(&window, "lblCreati")->text(),
             QStringLiteral("Sono state create 9 collection musicali."));
    QCOMPARE(stateOf(child<QLabel>(&window, "lblMemory")), QStringLiteral("avvio"));
    QCOMPARE(stateOf(child<QLabel>(&window, "lblFile")), m_folder->path());

    // Shown again, the list is read again.
    QFile::remove(m_folder->file(QStringLiteral("b.mus")));
    window.hide();
    window.showWorkWindow();
    QCOMPARE(list->count(), 8);
    QCOMPARE(child<QLabel>(&window, "lblCreati")->text(),
             QStringLiteral("Sono state create 8 collection musicali."));
}

void TestCatalogue::emptyFolder_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("open") << "btnApri";
    QTest::newRow("delete") << "btnElimina";
}

void TestCatalogue::emptyFolder()
{
    QFETCH(QString, command);
    makeFile(m_folder->file(QStringLiteral("appunti.txt")));
    FrmApriCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    QCOMPARE(child<QListWidget>(&window, "lstFiles")->count(), 0);
    QCOMPARE(child<QLabel>(&window, "lblCreati")->text(),
             QStringLiteral("Sono state create 0 collection musicali."));
    click(&window, command.toLatin1().constData());
    QCOMPARE(m_desk->texts(), QStringList{kEmptyList});
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QCOMPARE(closing.count(), 0);
}

void TestCatalogue::openWithoutSelectionWarns()
{
    makeFile(m_folder->file(QStringLiteral("Rock.mus")));
    FrmApriCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    click(&window, "btnApri");
    click(&window, "btnElimina");
    QCOMPARE(
        m_desk->texts(),
        (QStringList{
            QStringLiteral("Attenzione: selezionare la collection musicale dall'elenco prima di premere "
                           "il pulsante Apri archivio."),
            QStringLiteral("Attenzione: selezionare dall'elenco la collection musicale da eliminare prima "
                           "di premere il pulsante del cestino.")}));
    QCOMPARE(m_desk->messages.at(0).kind, Kind::Warning);
    QCOMPARE(m_desk->messages.at(1).kind, Kind::Warning);
    QCOMPARE(closing.count(), 0);
    QVERIFY(window.isVisible());
    QVERIFY(QFile::exists(m_folder->file(QStringLiteral("Rock.mus"))));
}

void TestCatalogue::openSetsCollectionMode()
{
    makeFile(m_folder->file(QStringLiteral("Pop.mus")));
    makeFile(m_folder->file(QStringLiteral("Rock.mus")));
    FrmApriCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    QVERIFY(!window.opensCollection());
    auto *list = child<QListWidget>(&window, "lstFiles");
    list->item(1)->setSelected(true);
    click(&window, "btnApri");
    QCOMPARE(closing.count(), 1);
    QVERIFY(!window.isVisible());
    QVERIFY(window.opensCollection());
    QCOMPARE(stateOf(child<QLabel>(&window, "lblMemory")), QStringLiteral("collection"));
    QCOMPARE(window.chosenPath(), m_folder->file(QStringLiteral("Rock.mus")));
    QCOMPARE(stateOf(child<QLabel>(&window, "lblFile")), m_folder->file(QStringLiteral("Rock.mus")));
    QCOMPARE(window.chosenName(), QStringLiteral("Rock"));

    // Shown again, it is back in mode "avvio".
    window.showWorkWindow();
    QVERIFY(!window.opensCollection());
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCatalogue::recentCollectionsComeFirst()
{
    const QStringList names = {QStringLiteral("Blues.mus"), QStringLiteral("Jazz.mus"), QStringLiteral("Pop.mus"),
                               QStringLiteral("Rock.mus"), QStringLiteral("Soul.mus"), QStringLiteral("Swing.mus"),
                               QStringLiteral("Tango.mus")};
    for (const QString &n : names)
        makeFile(m_folder->file(n));
    FrmApriCollection window;
    auto *list = child<QListWidget>(&window, "lstFiles");
    auto open = [&](const QString &name) {
        window.showWorkWindow();
        list->findItems(name, Qt::MatchExactly).first()->setSelected(true);
        click(&window, "btnApri");
    };
    // Six opened, one of them twice: the last five, most recent first, then the rest in order.
    for (const char *n : {"Tango.mus", "Jazz.mus", "Soul.mus", "Pop.mus", "Rock.mus", "Jazz.mus", "Swing.mus"})
        open(QString::fromLatin1(n));
    window.showWorkWindow();
    QCOMPARE(lines(list), (QStringList{QStringLiteral("Swing.mus"), QStringLiteral("Jazz.mus"), QStringLiteral("Rock.mus"),
                                       QStringLiteral("Pop.mus"), QStringLiteral("Soul.mus"), QStringLiteral("Blues.mus"),
                                       QStringLiteral("Tango.mus")}));
    QCOMPARE(child<QLabel>(&window, "lblCreati")->text(), QStringLiteral("Sono state create 7 collection musicali."));
    QVERIFY(list->selectedItems().isEmpty());

    // A recent collection deleted meanwhile is simply not listed.
    QVERIFY(QFile::remove(m_folder->file(QStringLiteral("Jazz.mus"))));
    window.hide();
    window.showWorkWindow();
    QCOMPARE(lines(list).mid(0, 3), (QStringList{QStringLiteral("Swing.mus"), QStringLiteral("Rock.mus"),
                                                  QStringLiteral("Pop.mus")}));
    window.close();
}

void TestCatalogue::deleteAnsweredNoKeepsEverything()
{
    makeFile(m_folder->file(QStringLiteral("Pop.mus")), "pop");
    makeFile(m_folder->file(QStringLiteral("Rock.mus")), "rock");
    FrmApriCollection window;
    window.showWorkWindow();
    auto *list = child<QListWidget>(&window, "lstFiles");
    list->item(0)->setSelected(true);
    m_desk->confirmations.enqueue(false);
    click(&window, "btnElimina");
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral(
                 "Si sta per eliminare la collection musicale \"Pop\". Il file sarà spostato nel cestino, da "
                 "cui si potrà recuperare; ne resterà anche una copia di sicurezza automatica (comando "
                 "Ripristina della finestra di avvio).\r\n\r\nSi conferma l'eliminazione dell'archivio?")});
    QCOMPARE(m_desk->last().kind, Kind::IrreversibleConfirmation);
    QCOMPARE(folderEntries(m_folder->path()),
             (QStringList{QStringLiteral("Pop.mus"), QStringLiteral("Rock.mus")}));
    QCOMPARE(lines(list), (QStringList{QStringLiteral("Pop.mus"), QStringLiteral("Rock.mus")}));
    QVERIFY(list->item(0)->isSelected());
}

void TestCatalogue::deleteRemovesAndRefills()
{
    for (const char *name : {"Jazz.mus", "Pop.mus", "Rock.mus"})
        makeFile(m_folder->file(QString::fromLatin1(name)), "x");
    FrmApriCollection window;
    QSignalSpy closing(&window, &WorkWindow::closing);
    window.showWorkWindow();
    auto *list = child<QListWidget>(&window, "lstFiles");
    list->item(1)->setSelected(true);
    m_desk->confirmations.enqueue(true);
    click(&window, "btnElimina");
    QCOMPARE(m_desk->messages.size(), 2);
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QCOMPARE(m_desk->last().text, QStringLiteral("La collection musicale è stata eliminata con successo.\r\n\r\nIl file è stato "
                                                 "spostato nel cestino."));
    // Gone to the trash, after a copy into the backups.
    QCOMPARE(folderEntries(m_folder->path()),
             (QStringList{QStringLiteral("Backup"), QStringLiteral("Jazz.mus"), QStringLiteral("Rock.mus")}));
    const QString trashed = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files/");
    QCOMPARE(fileContent(trashed + QStringLiteral("Pop.mus")), QByteArray("x"));
    QVERIFY(QFile::remove(trashed + QStringLiteral("Pop.mus")));
    const QList<Backups::Info> backups = Backups::list(m_folder->path());
    QCOMPARE(backups.size(), 1);
    QCOMPARE(backups.first().items, QStringList{QStringLiteral("Pop.mus")});
    QCOMPARE(backups.first().reason, QStringLiteral("Prima dell'eliminazione della collection Pop"));
    QCOMPARE(lines(list), (QStringList{QStringLiteral("Jazz.mus"), QStringLiteral("Rock.mus")}));
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(child<QLabel>(&window, "lblCreati")->text(),
             QStringLiteral("Sono state create 2 collection musicali."));
    QCOMPARE(stateOf(child<QLabel>(&window, "lblMemory")), QStringLiteral("avvio"));
    QCOMPARE(stateOf(child<QLabel>(&window, "lblFile")), QString());
    QCOMPARE(closing.count(), 0);
    QVERIFY(window.isVisible());
}

void TestCatalogue::deleteOfVanishedFileReportsNoSuccess()
{
    makeFile(m_folder->file(QStringLiteral("Pop.mus")));
    makeFile(m_folder->file(QStringLiteral("Rock.mus")));
    FrmApriCollection window;
    window.showWorkWindow();
    auto *list = child<QListWidget>(&window, "lstFiles");
    list->item(1)->setSelected(true);
    QVERIFY(QFile::remove(m_folder->file(QStringLiteral("Rock.mus")))); // another copy deleted it
    m_desk->confirmations.enqueue(true);
    click(&window, "btnElimina");
    QCOMPARE(m_desk->messages.size(), 1); // the question only
    QCOMPARE(lines(list), QStringList{QStringLiteral("Pop.mus")});
    QCOMPARE(child<QLabel>(&window, "lblCreati")->text(),
             QStringLiteral("Sono state create 1 collection musicali."));
}

void TestCatalogue::blankEdgedNameDeletesThatFile_data()
{
    blankEdgedNames();
}

void TestCatalogue::blankEdgedNameDeletesThatFile()
{
    QFETCH(QString, line);
    makeFile(m_folder->file(QStringLiteral("Rock.mus")), "senza bordi");
    makeFile(m_folder->file(line), "con bordi");
    FrmApriCollection window;
    window.showWorkWindow();
    auto *list = child<QListWidget>(&window, "lstFiles");
    QCOMPARE(list->count(), 2);
    selectLine(list, line);
    m_desk->confirmations.enqueue(true);
    click(&window, "btnElimina");

    QCOMPARE(m_desk->messages.size(), 2);
    QCOMPARE(m_desk->messages.at(0).kind, Kind::IrreversibleConfirmation);
    QCOMPARE(m_desk->last().text, QStringLiteral("La collection musicale è stata eliminata con successo.\r\n\r\nIl file è stato "
                                                 "spostato nel cestino."));
    QCOMPARE(folderEntries(m_folder->path()), (QStringList{QStringLiteral("Backup"), QStringLiteral("Rock.mus")}));
    QCOMPARE(fileContent(m_folder->file(QStringLiteral("Rock.mus"))), QByteArray("senza bordi"));
    QCOMPARE(lines(list), QStringList{QStringLiteral("Rock.mus")});
}

void TestCatalogue::helpIsTheCollectionHelp_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("create") << "frmCreaCollection";
    QTest::newRow("list") << "frmApriCollection";
}

void TestCatalogue::helpIsTheCollectionHelp()
{
    QFETCH(QString, window);
    std::unique_ptr<WorkWindow> w;
    if (window == QLatin1String("frmCreaCollection"))
        w = std::make_unique<FrmCreaCollection>();
    else
        w = std::make_unique<FrmApriCollection>();
    w->showWorkWindow();
    QString title, text;
    bool readOnly = false;
    m_desk->modalHandlers.enqueue([&](QDialog *dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("frmGuida"));
        title = child<QLabel>(dialog, "lblTitolo")->text();
        text = child<QPlainTextEdit>(dialog, "txtGuida")->toPlainText();
        readOnly = child<QPlainTextEdit>(dialog, "txtGuida")->isReadOnly();
        dialog->reject();
    });
    click(w.get(), "imgGuida");
    QCOMPARE(title, QStringLiteral("Applicazione Collection Musicale."));
    QVERIFY(readOnly);
    const QStringList paragraphs = text.split(QStringLiteral("\n\n"));
    QCOMPARE(paragraphs.size(), 12);
    QCOMPARE(paragraphs, collectionHelpParagraphs());
    QCOMPARE(FrmGuida::joinParagraphs(collectionHelpParagraphs()).count(QStringLiteral("\r\n\r\n")), 11);
    for (const QString &p : paragraphs)
        QVERIFY(!p.trimmed().isEmpty());
}

// --- flows -------------------------------------------------------------------------------

void TestCatalogue::openingShowsEditorOnNewCard()
{
    makeFile(m_folder->file(QStringLiteral("Pop.mus")));
    makeFile(m_folder->file(QStringLiteral("Rock.mus")));
    WindowSet set;
    set.avvio()->showWorkWindow();
    click(set.avvio(), "imgApri");
    FrmApriCollection *list = set.apriCollection();
    QVERIFY(list->isVisible());
    QVERIFY(!set.avvio()->isVisible());

    child<QListWidget>(list, "lstFiles")->item(1)->setSelected(true);
    click(list, "btnApri");
    FrmCollection *editor = set.collection();
    QVERIFY(editor->isVisible());
    QVERIFY(!list->isVisible());
    QVERIFY(!set.avvio()->isVisible());
    QCOMPARE(child<QLabel>(editor, "lblNome")->text(), QStringLiteral("Rock"));
    QCOMPARE(stateOf(child<QLabel>(editor, "lblFile")), m_folder->file(QStringLiteral("Rock.mus")));
    QCOMPARE(child<QLineEdit>(editor, "txtTitolo")->text(), QString());
    QCOMPARE(child<QLineEdit>(editor, "txtSito")->text(), QStringLiteral("https://"));
    QCOMPARE(stateOf(child<QLabel>(editor, "lblPosizione")), QString());

    // Closing the editor returns to the launcher, not to the list.
    click(editor, "cmdEsci");
    QVERIFY(!editor->isVisible());
    QVERIFY(set.avvio()->isVisible());
    QVERIFY(!list->isVisible());

    // Opening another collection shows its name and an empty new card again.
    click(set.avvio(), "imgApri");
    // Rock, opened last, now leads the list.
    QCOMPARE(child<QListWidget>(list, "lstFiles")->item(0)->text(), QStringLiteral("Rock.mus"));
    child<QListWidget>(list, "lstFiles")->item(1)->setSelected(true);
    click(list, "btnApri");
    QVERIFY(editor->isVisible());
    QCOMPARE(child<QLabel>(editor, "lblNome")->text(), QStringLiteral("Pop"));
    QCOMPARE(stateOf(child<QLabel>(editor, "lblFile")), m_folder->file(QStringLiteral("Pop.mus")));
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCatalogue::blankEdgedNameOpensThatFile_data()
{
    blankEdgedNames();
}

void TestCatalogue::blankEdgedNameOpensThatFile()
{
    QFETCH(QString, line);
    makeFile(m_folder->file(QStringLiteral("Rock.mus")), cardTitled(QStringLiteral("Senza bordi")));
    makeFile(m_folder->file(line), cardTitled(QStringLiteral("Con bordi")));
    WindowSet set;
    set.avvio()->showWorkWindow();
    click(set.avvio(), "imgApri");
    FrmApriCollection *list = set.apriCollection();
    selectLine(child<QListWidget>(list, "lstFiles"), line);
    click(list, "btnApri");

    QCOMPARE(list->chosenPath(), m_folder->file(line));
    FrmCollection *editor = set.collection();
    QVERIFY(editor->isVisible());
    QCOMPARE(child<QLabel>(editor, "lblNome")->text(), line.left(line.size() - 4));
    QCOMPARE(stateOf(child<QLabel>(editor, "lblFile")), m_folder->file(line));
    // The editor reads the file that was listed, not its trimmed namesake.
    click(editor, "cmdPrimo");
    QCOMPARE(child<QLineEdit>(editor, "txtTitolo")->text(), QStringLiteral("Con bordi"));
    QVERIFY(m_desk->messages.isEmpty());
}

void TestCatalogue::leavingCatalogueReturnsToLauncher_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    QTest::newRow("create, cancel") << "crea"
                                    << "btnAnnulla";
    QTest::newRow("create, title bar") << "crea"
                                       << "close";
    QTest::newRow("create, success") << "crea"
                                     << "btnApplica";
    QTest::newRow("list, cancel") << "apri"
                                  << "btnAnnulla";
    QTest::newRow("list, title bar") << "apri"
                                     << "close";
    QTest::newRow("list, title bar after a deletion") << "apri"
                                                      << "delete";
    QTest::newRow("editor, title bar") << "editor"
                                       << "close";
}

void TestCatalogue::leavingCatalogueReturnsToLauncher()
{
    QFETCH(QString, window);
    QFETCH(QString, how);
    makeFile(m_folder->file(QStringLiteral("Rock.mus")));
    WindowSet set;
    set.avvio()->showWorkWindow();
    WorkWindow *w = nullptr;
    if (window == QLatin1String("crea")) {
        click(set.avvio(), "imgCrea");
        w = set.creaCollection();
    } else {
        click(set.avvio(), "imgApri");
        w = set.apriCollection();
    }
    if (window == QLatin1String("editor")) {
        child<QListWidget>(w, "lstFiles")->item(0)->setSelected(true);
        click(w, "btnApri");
        QVERIFY(!w->isVisible());
        w = set.collection();
    }
    QVERIFY(w->isVisible());
    QVERIFY(!set.avvio()->isVisible());

    if (how == QLatin1String("close")) {
        w->close();
    } else if (how == QLatin1String("btnApplica")) {
        child<QLineEdit>(w, "txtFile")->setText(QStringLiteral("Nuova"));
        click(w, "btnApplica");
    } else if (how == QLatin1String("delete")) {
        child<QListWidget>(w, "lstFiles")->item(0)->setSelected(true);
        m_desk->confirmations.enqueue(true);
        click(w, "btnElimina");
        QVERIFY(w->isVisible());
        w->close();
    } else {
        click(w, how.toLatin1().constData());
    }
    QVERIFY(!w->isVisible());
    QVERIFY(set.avvio()->isVisible());
    QVERIFY(!set.collection()->isVisible());
    QVERIFY(!set.apriCollection()->isVisible());
    m_desk->clear();
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
