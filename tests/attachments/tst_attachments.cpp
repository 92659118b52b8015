#include "RecordingDesktop.h"
#include "TestFiles.h"
#include "attachments/FrmAllegaCartella.h"
#include "collections/FrmCollection.h"
#include "core/ProgramFolder.h"
#include "core/Text.h"
#include "singers/FrmAnagrafica.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using Kind = Desktop::Kind;

// The attachments window: what it shows from the editor, the copies it makes into
// Documenti_Allegati (and refuses to make), what it opens, and what it hands back.
class TestAttachments : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensWithEditorValues_data();
    void opensWithEditorValues();
    void layoutAndTabOrder();
    void browseCopiesTheFile();
    void browseCancelledChangesNothing();
    void sameNameAsksFirst_data();
    void sameNameAsksFirst();
    void sameFileIsShared();
    void unicodeSpacesInTheName_data();
    void unicodeSpacesInTheName();
    void copyFailureWarns_data();
    void copyFailureWarns();
    void failedReplaceKeepsSharedFile();
    void fileFromTheFolderItself();
    void nameLongerThanTheCard_data();
    void nameLongerThanTheCard();
    void nameTheCardCannotHold_data();
    void nameTheCardCannotHold();
    void namesThatComeToTheSameOne();
    void linkInTheFolderIsReplaced_data();
    void linkInTheFolderIsReplaced();
    void longNameIsReplaced_data();
    void longNameIsReplaced();
    void openHandsQuotedPath_data();
    void openHandsQuotedPath();
    void clearThenApply_data();
    void clearThenApply();
    void annullaKeepsEditorValues();
    void unknownCallerKeepsWindowOpen();

private:
    QString folder() const { return m_folder->file(QStringLiteral("Documenti_Allegati/")); }
    // A file the user picks, outside the program folder.
    QString source(const QString &name, const QByteArray &content);
    QLabel *label(QWidget *editor, const QString &name);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_elsewhere;
    std::unique_ptr<RecordingDesktop> m_desk;
    std::unique_ptr<FrmCollection> m_songs;
    std::unique_ptr<FrmAllegaCartella> m_window;
};

namespace
{

const QString kAskOverwrite =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
                   "nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");

template <typename T = QWidget> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

void click(QWidget *window, const QString &name)
{
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

QString text(QWidget *window, const QString &name)
{
    return child<QLineEdit>(window, name)->text();
}

QString quoted(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

const QString kAskReplaceLink =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un collegamento con lo "
                   "stesso nome.\r\n\r\nSi vuole sostituire il collegamento con una copia del file scelto? "
                   "Il file a cui il collegamento rimanda non verrà modificato.");

QString renamedMessage(const QString &name)
{
    return QStringLiteral("Il nome del file contiene caratteri che la scheda non può conservare: il file è "
                          "stato copiato nella cartella dei documenti allegati con il nome \"%1\".")
        .arg(name);
}

QStringList allEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

const char *const kLabels[] = {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"};

// Six texts in the order of kLabels, as an editor's session holds them.
Attachments attachmentsOf(const QStringList &six)
{
    return {{six.at(0), six.at(1), six.at(2)}, {six.at(3), six.at(4), six.at(5)}};
}

} // namespace

void TestAttachments::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_elsewhere = std::make_unique<QTemporaryDir>();
    m_desk = std::make_unique<RecordingDesktop>();
    m_songs = std::make_unique<FrmCollection>();
    m_songs->openCollection(m_folder->file(QStringLiteral("Rock.mus")), QStringLiteral("Rock"));
    m_window = std::make_unique<FrmAllegaCartella>(m_songs.get(), QStringLiteral("collection"));
    m_window->show();
}

void TestAttachments::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    m_window.reset();
    m_songs.reset();
    m_desk.reset();
    m_elsewhere.reset();
    m_folder.reset();
}

QString TestAttachments::source(const QString &name, const QByteArray &content)
{
    const QString path = m_elsewhere->filePath(name);
    writeFile(path, content);
    return path;
}

QLabel *TestAttachments::label(QWidget *editor, const QString &name)
{
    return child<QLabel>(editor, name);
}

void TestAttachments::opensWithEditorValues_data()
{
    QTest::addColumn<bool>("songs");
    QTest::addColumn<bool>("attached");

    QTest::newRow("song card with three") << true << true;
    QTest::newRow("song card with none") << true << false;
    QTest::newRow("singer card with three") << false << true;
    QTest::newRow("singer card with none") << false << false;
}

void TestAttachments::opensWithEditorValues()
{
    QFETCH(bool, songs);
    QFETCH(bool, attached);
    std::unique_ptr<FrmAnagrafica> singers;
    CardEditor *editor = m_songs.get();
    if (!songs) {
        singers = std::make_unique<FrmAnagrafica>();
        editor = singers.get();
    }
    // Showing an editor clears its card: the values come after.
    editor->show();
    if (attached) {
        const QStringList values{" a.mp3 ", "b.pdf", "c.jpg\t", " Audio ", "Spartito", ""};
        editor->setAttachments(attachmentsOf(values));
    }
    QStringList names, descs, memory;
    QList<bool> enabled;
    m_desk->modalHandlers.enqueue([&](QDialog *window) {
        memory << child<QLabel>(window, QStringLiteral("lblMemory"))->text();
        for (const char *n : {"01", "02", "03"}) {
            names << text(window, QStringLiteral("txtFile") + QLatin1String(n));
            descs << text(window, QStringLiteral("txtDesc") + QLatin1String(n));
            enabled << child(window, QStringLiteral("btnApri") + QLatin1String(n))->isEnabled();
        }
        QCOMPARE(window->parentWidget(), editor);
        click(window, QStringLiteral("btnAnnulla"));
    });
    click(editor, QStringLiteral("cmdFile"));
    QCOMPARE(memory, QStringList{songs ? QStringLiteral("collection") : QStringLiteral("anagrafica")});
    if (attached) {
        QCOMPARE(names, (QStringList{"a.mp3", "b.pdf", "c.jpg"}));
        QCOMPARE(descs, (QStringList{"Audio", "Spartito", ""}));
        QCOMPARE(enabled, (QList<bool>{true, true, true}));
    } else {
        QCOMPARE(names, (QStringList{"", "", ""}));
        QCOMPARE(enabled, (QList<bool>{false, false, false}));
    }
}

void TestAttachments::layoutAndTabOrder()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral(" Allega file"));
    QCOMPARE(m_window->size(), QSize(634, 534));
    QCOMPARE(child(m_window.get(), QStringLiteral("btnSfoglia03"))->geometry(), QRect(400, 344, 86, 28));
    QCOMPARE(child(m_window.get(), QStringLiteral("txtDesc02"))->geometry(), QRect(28, 278, 552, 22));
    QCOMPARE(child<QLabel>(m_window.get(), QStringLiteral("lblCampo05"))->text(),
             QStringLiteral("Nome 3° file allegato:"));
    QVERIFY(child<QLineEdit>(m_window.get(), QStringLiteral("txtFile01"))->isReadOnly());

    QStringList expected;
    for (const char *n : {"01", "02", "03"})
        for (const char *c : {"txtFile", "btnSfoglia", "btnApri", "txtDesc"})
            expected << QLatin1String(c) + QLatin1String(n);
    expected << QStringLiteral("btnApplica") << QStringLiteral("btnAnnulla");
    // Open buttons take the focus only when enabled: give each slot a name first.
    for (const char *n : {"01", "02", "03"})
        child<QLineEdit>(m_window.get(), QStringLiteral("txtFile") + QLatin1String(n))
            ->setText(QStringLiteral("x"));
    QStringList order;
    QWidget *w = child(m_window.get(), QStringLiteral("txtFile01"));
    for (int i = 0; i < expected.size(); ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void TestAttachments::browseCopiesTheFile()
{
    const QString picked = source(QStringLiteral("Canzone mia.mp3"), "audio bytes");
    m_desk->fileAnswers << picked;
    click(m_window.get(), QStringLiteral("btnSfoglia02"));
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile02")), QStringLiteral("Canzone mia.mp3"));
    QVERIFY(child(m_window.get(), QStringLiteral("btnApri02"))->isEnabled());
    QCOMPARE(fileContent(folder() + QStringLiteral("Canzone mia.mp3")), QByteArray("audio bytes"));
    QCOMPARE(fileContent(picked), QByteArray("audio bytes"));
    QCOMPARE(m_desk->dialogTitles, QStringList{QStringLiteral("Selezionare il file da allegare:")});
    QCOMPARE(m_desk->dialogFilters.size(), 1);
    QCOMPARE(m_desk->dialogFilters.first().size(), 1);
    QCOMPARE(m_desk->dialogFilters.first().first().label, QStringLiteral("Tutti i file"));
    QVERIFY(m_desk->messages.isEmpty());
}

void TestAttachments::browseCancelledChangesNothing()
{
    m_desk->fileAnswers << QString();
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), QString());
    QVERIFY(!QFileInfo::exists(folder()));
}

void TestAttachments::sameNameAsksFirst_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("yes replaces") << true;
    QTest::newRow("no copies under a free name") << false;
}

void TestAttachments::sameNameAsksFirst()
{
    // Another card's different file by the same name is replaced only on Yes; on No the picked
    // file gets a free name and the user is told, so the card never names the other file.
    QFETCH(bool, replace);
    QVERIFY(QDir().mkpath(folder()));
    writeFile(folder() + QStringLiteral("spartito.png"), "shared by another card");
    writeFile(folder() + QStringLiteral("spartito (2).png"), "a third card's");
    m_desk->fileAnswers << source(QStringLiteral("spartito.png"), "new picture");
    m_desk->confirmations << replace;
    click(m_window.get(), QStringLiteral("btnSfoglia03"));
    const QString stored = replace ? QStringLiteral("spartito.png") : QStringLiteral("spartito (3).png");
    QCOMPARE(m_desk->messages.first().kind, Kind::Confirmation);
    if (replace)
        QCOMPARE(m_desk->texts(), QStringList{kAskOverwrite});
    else
        QCOMPARE(m_desk->texts(), (QStringList{kAskOverwrite, FrmAllegaCartella::kCopiedUnderFreeName.arg(
                                                                 QStringLiteral("spartito.png"), stored)}));
    QCOMPARE(fileContent(folder() + QStringLiteral("spartito.png")),
             replace ? QByteArray("new picture") : QByteArray("shared by another card"));
    QCOMPARE(fileContent(folder() + stored), QByteArray("new picture"));
    QCOMPARE(fileContent(folder() + QStringLiteral("spartito (2).png")), QByteArray("a third card's"));
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile03")), stored);
    click(m_window.get(), QStringLiteral("btnApri03"));
    QCOMPARE(m_desk->opened, QStringList{quoted(folder() + stored)});
}

void TestAttachments::sameFileIsShared()
{
    // The same content under the same name is the same document: shared, nothing asked or copied.
    QVERIFY(QDir().mkpath(folder()));
    writeFile(folder() + QStringLiteral("testo.txt"), "the same words");
    m_desk->fileAnswers << source(QStringLiteral("testo.txt"), "the same words");
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    QVERIFY(m_desk->messages.isEmpty());
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), QStringLiteral("testo.txt"));
    QCOMPARE(allEntries(folder()), QStringList{QStringLiteral("testo.txt")});
}

void TestAttachments::unicodeSpacesInTheName_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::newRow("em space before") << QStringLiteral("\u2003a.txt") << QStringLiteral("a.txt");
    QTest::newRow("ideographic space after") << QStringLiteral("a.txt\u3000") << QStringLiteral("a.txt");
    QTest::newRow("spaces inside stay") << QStringLiteral("a\u2003b.txt") << QStringLiteral("a b.txt");
    QTest::newRow("only em spaces") << QStringLiteral("\u2003\u2003") << QString();
    QTest::newRow("space and dots") << QStringLiteral("\u3000..") << QString();
    QTest::newRow("only dots") << QStringLiteral("...") << QString();
}

void TestAttachments::unicodeSpacesInTheName()
{
    // The name is decided once, trimmed after the conversion: the copy, the card and "Apri" use
    // the same one, and another card's "a.txt" is never opened for this one.
    QFETCH(QString, picked);
    QFETCH(QString, stored);
    QVERIFY(QDir().mkpath(folder()));
    auto *slot = child<QLineEdit>(m_window.get(), QStringLiteral("txtFile01"));
    slot->setText(QStringLiteral("prima.txt"));
    m_desk->fileAnswers << source(picked, "the picked file");
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    if (stored.isEmpty()) {
        QCOMPARE(m_desk->texts(), QStringList{FrmAllegaCartella::kNameUnusable});
        QCOMPARE(m_desk->last().kind, Kind::Warning);
        QCOMPARE(slot->text(), QStringLiteral("prima.txt"));
        QCOMPARE(allEntries(folder()), QStringList());
        return;
    }
    QCOMPARE(m_desk->texts(), QStringList{renamedMessage(stored)});
    QCOMPARE(slot->text(), stored);
    QCOMPARE(m_window->attachments().file[0], stored);
    QCOMPARE(allEntries(folder()), QStringList{stored});
    QCOMPARE(fileContent(folder() + stored), QByteArray("the picked file"));
    click(m_window.get(), QStringLiteral("btnApri01"));
    QCOMPARE(m_desk->opened, QStringList{quoted(folder() + stored)});
}

void TestAttachments::copyFailureWarns_data()
{
    QTest::addColumn<QString>("layout");
    QTest::newRow("source is a folder") << QStringLiteral("source folder");
    QTest::newRow("file where the attachment folder goes") << QStringLiteral("folder is a file");
    QTest::newRow("folder where the copy goes") << QStringLiteral("target is a folder");
}

void TestAttachments::copyFailureWarns()
{
    QFETCH(QString, layout);
    auto *slot = child<QLineEdit>(m_window.get(), QStringLiteral("txtFile01"));
    slot->setText(QStringLiteral("prima.txt"));
    QString picked = source(QStringLiteral("doc.pdf"), "pdf");
    if (layout == QLatin1String("source folder")) {
        picked = m_elsewhere->filePath(QStringLiteral("cartella.pdf"));
        QVERIFY(QDir().mkdir(picked));
    } else if (layout == QLatin1String("folder is a file")) {
        writeFile(m_folder->file(QStringLiteral("Documenti_Allegati")), "in the way");
    } else {
        QVERIFY(QDir().mkpath(folder() + QStringLiteral("doc.pdf")));
        m_desk->confirmations << true; // a name that exists: replace it
    }
    m_desk->fileAnswers << picked;
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QVERIFY2(m_desk->last().text.startsWith(QStringLiteral("Attenzione: ")), qPrintable(m_desk->last().text));
    QCOMPARE(slot->text(), QStringLiteral("prima.txt"));
    if (layout == QLatin1String("folder is a file"))
        QCOMPARE(fileContent(m_folder->file(QStringLiteral("Documenti_Allegati"))), QByteArray("in the way"));
    else
        QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList());
}

void TestAttachments::failedReplaceKeepsSharedFile()
{
    QVERIFY(QDir().mkpath(folder()));
    writeFile(folder() + QStringLiteral("video.mp4"), "the file other cards name");
    m_desk->fileAnswers << source(QStringLiteral("video.mp4"), QByteArray(200000, 'v'));
    m_desk->confirmations << true;
    // A file-size limit makes the copy fail part way, as a full disk would.
    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QCOMPARE(fileContent(folder() + QStringLiteral("video.mp4")), QByteArray("the file other cards name"));
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList{QStringLiteral("video.mp4")});
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), QString());
}

void TestAttachments::fileFromTheFolderItself()
{
    QVERIFY(QDir().mkpath(folder()));
    const QString inFolder = folder() + QStringLiteral("testo.txt");
    writeFile(inFolder, "already attached");
    // Picked through another spelling of the same path.
    m_desk->fileAnswers << m_folder->file(
        QStringLiteral("Documenti_Allegati/../Documenti_Allegati/testo.txt"));
    click(m_window.get(), QStringLiteral("btnSfoglia02"));
    QVERIFY(m_desk->messages.isEmpty());
    QCOMPARE(fileContent(inFolder), QByteArray("already attached"));
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile02")), QStringLiteral("testo.txt"));
}

void TestAttachments::nameLongerThanTheCard_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("250 bytes fit") << 250 << true;
    QTest::newRow("251 bytes do not") << 251 << false;
}

void TestAttachments::nameLongerThanTheCard()
{
    QFETCH(int, length);
    QFETCH(bool, accepted);
    const QString name = QString(length - 4, QLatin1Char('a')) + QStringLiteral(".txt");
    m_desk->fileAnswers << source(name, "x");
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    if (accepted) {
        QVERIFY(m_desk->messages.isEmpty());
        QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), name);
        QVERIFY(QFile::exists(folder() + name));
    } else {
        QCOMPARE(m_desk->last().kind, Kind::Warning);
        QVERIFY(m_desk->last().text.startsWith(QStringLiteral("Attenzione: ")));
        QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), QString());
        QVERIFY(!QFile::exists(folder() + name));
    }
}

void TestAttachments::nameTheCardCannotHold_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Polish letters fit") << QStringLiteral("Łódź canzone.txt") << QStringLiteral("Lódz canzone.txt");
    QTest::newRow("no plain letter") << QStringLiteral("東京 ♪.mp3") << QStringLiteral("__ _.mp3");
    QTest::newRow("backslashes") << QStringLiteral("..\\..\\x.txt") << QStringLiteral(".._.._x.txt");
    QTest::newRow("outside the basic plane") << QString::fromUcs4(U"voce \U0001F3B5.ogg")
                                             << QStringLiteral("voce _.ogg");
}

void TestAttachments::nameTheCardCannotHold()
{
    // The copy, the slot (and so the card) and "Apri" all use one name, the one the card keeps,
    // and the user is told it.
    QFETCH(QString, picked);
    QFETCH(QString, stored);
    m_desk->fileAnswers << source(picked, "the picked file");
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    QCOMPARE(m_desk->texts(), QStringList{renamedMessage(stored)});
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), stored);
    QCOMPARE(allEntries(folder()), QStringList{stored});
    QCOMPARE(fileContent(folder() + stored), QByteArray("the picked file"));

    // What the card will keep is the name unchanged.
    QCOMPARE(Ansi::toUnicode(Ansi::fromUnicode(m_window->attachments().file[0])), stored);
    click(m_window.get(), QStringLiteral("btnApri01"));
    QCOMPARE(m_desk->opened, QStringList{quoted(folder() + stored)});
}

void TestAttachments::namesThatComeToTheSameOne()
{
    // Two picked names that give the same stored one never share a file: the second copy gets a
    // name of its own instead of replacing the first card's attachment.
    m_desk->fileAnswers << source(QStringLiteral("東京.txt"), "Tokyo") << source(QStringLiteral("大阪.txt"), "Osaka");
    click(m_window.get(), QStringLiteral("btnSfoglia01"));
    click(m_window.get(), QStringLiteral("btnSfoglia02"));
    QCOMPARE(m_desk->texts(),
             (QStringList{renamedMessage(QStringLiteral("__.txt")), renamedMessage(QStringLiteral("__ (2).txt"))}));
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), QStringLiteral("__.txt"));
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile02")), QStringLiteral("__ (2).txt"));
    QCOMPARE(fileContent(folder() + QStringLiteral("__.txt")), QByteArray("Tokyo"));
    QCOMPARE(fileContent(folder() + QStringLiteral("__ (2).txt")), QByteArray("Osaka"));
}

void TestAttachments::linkInTheFolderIsReplaced_data()
{
    QTest::addColumn<bool>("dangling");
    QTest::addColumn<bool>("replace");
    QTest::newRow("link to a file outside, yes") << false << true;
    QTest::newRow("link to a file outside, no") << false << false;
    QTest::newRow("dangling link, yes") << true << true;
    QTest::newRow("dangling link, no") << true << false;
}

void TestAttachments::linkInTheFolderIsReplaced()
{
    // A link in the folder named like the picked file is never written through: the question
    // says it is a link, and Yes puts the copy in its place.
    QFETCH(bool, dangling);
    QFETCH(bool, replace);
    QTemporaryDir outside;
    const QString target = outside.filePath(QStringLiteral("importante.txt"));
    if (!dangling)
        writeFile(target, "a file outside the program folder");
    QVERIFY(QDir().mkpath(folder()));
    const QString link = folder() + QStringLiteral("importante.txt");
    QVERIFY(QFile::link(target, link));
    m_desk->fileAnswers << source(QStringLiteral("importante.txt"), "picked");
    m_desk->confirmations << replace;
    click(m_window.get(), QStringLiteral("btnSfoglia01"));

    // On No the copy takes a free name: the card never names the link's file.
    const QString stored = replace ? QStringLiteral("importante.txt") : QStringLiteral("importante (2).txt");
    QCOMPARE(m_desk->texts().first(), kAskReplaceLink);
    QCOMPARE(m_desk->messages.first().kind, Kind::Confirmation);
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile01")), stored);
    QCOMPARE(QFileInfo(link).isSymLink(), !replace);
    QCOMPARE(fileContent(folder() + stored), QByteArray("picked"));
    QCOMPARE(QFileInfo::exists(target), !dangling);
    if (!dangling)
        QCOMPARE(fileContent(target), QByteArray("a file outside the program folder"));
    QCOMPARE(allEntries(outside.path()), dangling ? QStringList() : QStringList{QStringLiteral("importante.txt")});
    QCOMPARE(allEntries(folder()),
             replace ? QStringList{stored} : (QStringList{stored, QStringLiteral("importante.txt")}));
}

void TestAttachments::longNameIsReplaced_data()
{
    QTest::addColumn<int>("bytes");
    QTest::newRow("249 bytes") << 249;
    QTest::newRow("250 bytes") << 250;
}

void TestAttachments::longNameIsReplaced()
{
    // The longest names a card keeps can be replaced: the temporary copy has a short name.
    QFETCH(int, bytes);
    const QString name = QString(bytes - 4, QLatin1Char('b')) + QStringLiteral(".txt");
    QVERIFY(QDir().mkpath(folder()));
    writeFile(folder() + name, "old");
    m_desk->fileAnswers << source(name, "new");
    m_desk->confirmations << true;
    click(m_window.get(), QStringLiteral("btnSfoglia03"));
    QCOMPARE(m_desk->texts(), QStringList{kAskOverwrite});
    QCOMPARE(fileContent(folder() + name), QByteArray("new"));
    QCOMPARE(allEntries(folder()), QStringList{name});
    QCOMPARE(text(m_window.get(), QStringLiteral("txtFile03")), name);
}

void TestAttachments::openHandsQuotedPath_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("opened"); // inside the attachment folder; empty: nothing opened

    QTest::newRow("bare name") << QStringLiteral(" Canzone.mp3 ") << QStringLiteral("Canzone.mp3");
    QTest::newRow("windows parent") << QStringLiteral("..\\..\\segreto.txt") << QStringLiteral("segreto.txt");
    QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << QStringLiteral("passwd");
    QTest::newRow("drive path") << QStringLiteral("C:\\Documenti\\a.pdf") << QStringLiteral("a.pdf");
    QTest::newRow("dots in a name") << QStringLiteral("..nota..txt") << QStringLiteral("..nota..txt");
    QTest::newRow("parent only") << QStringLiteral("..") << QString();
    QTest::newRow("folder only") << QStringLiteral("cartella/") << QString();
}

void TestAttachments::openHandsQuotedPath()
{
    QFETCH(QString, stored);
    QFETCH(QString, opened);
    child<QLineEdit>(m_window.get(), QStringLiteral("txtFile02"))->setText(stored);
    QVERIFY(child(m_window.get(), QStringLiteral("btnApri02"))->isEnabled());
    click(m_window.get(), QStringLiteral("btnApri02"));
    QCOMPARE(m_desk->opened, opened.isEmpty() ? QStringList() : QStringList{quoted(folder() + opened)});
    QVERIFY(m_desk->messages.isEmpty());
}

void TestAttachments::clearThenApply_data()
{
    QTest::addColumn<bool>("songs");
    QTest::newRow("song editor") << true;
    QTest::newRow("singer editor") << false;
}

void TestAttachments::clearThenApply()
{
    QFETCH(bool, songs);
    std::unique_ptr<FrmAnagrafica> singers;
    CardEditor *editor = m_songs.get();
    if (!songs) {
        singers = std::make_unique<FrmAnagrafica>();
        editor = singers.get();
    }
    editor->show();
    const QStringList before{"a.mp3", "b.pdf", "c.jpg", "Audio", "Spartito", "Foto"};
    editor->setAttachments(attachmentsOf(before));
    m_desk->modalHandlers.enqueue([&](QDialog *window) {
        click(window, QStringLiteral("imgCancella02"));
        QVERIFY(!child(window, QStringLiteral("btnApri02"))->isEnabled());
        child<QLineEdit>(window, QStringLiteral("txtDesc01"))->setText(QStringLiteral("  Audio live \t"));
        click(window, QStringLiteral("btnApplica"));
        QVERIFY(!window->isVisible());
    });
    click(editor, QStringLiteral("cmdFile"));
    QStringList after;
    for (const char *name : kLabels)
        after << label(editor, QLatin1String(name))->text();
    QCOMPARE(after, (QStringList{"a.mp3", "", "c.jpg", "Audio live", "Spartito", "Foto"}));
    // The copied file stays where it was: clearing never deletes.
}

void TestAttachments::annullaKeepsEditorValues()
{
    m_songs->show();
    m_songs->setAttachments(attachmentsOf({"v0", "v1", "v2", "v3", "v4", "v5"}));
    m_desk->modalHandlers.enqueue([&](QDialog *window) {
        m_desk->fileAnswers << source(QStringLiteral("nuovo.txt"), "new");
        click(window, QStringLiteral("btnSfoglia01"));
        child<QLineEdit>(window, QStringLiteral("txtDesc01"))->setText(QStringLiteral("cambiata"));
        click(window, QStringLiteral("btnAnnulla"));
        QVERIFY(!window->isVisible());
    });
    click(m_songs.get(), QStringLiteral("cmdFile"));
    for (int i = 0; i < 6; ++i)
        QCOMPARE(label(m_songs.get(), QLatin1String(kLabels[i]))->text(), QStringLiteral("v%1").arg(i));
    QCOMPARE(fileContent(folder() + QStringLiteral("nuovo.txt")), QByteArray("new"));
}

void TestAttachments::unknownCallerKeepsWindowOpen()
{
    child<QLineEdit>(m_window.get(), QStringLiteral("txtDesc01"))->setText(QStringLiteral("x"));
    child<QLabel>(m_window.get(), QStringLiteral("lblMemory"))->setText(QStringLiteral("avvio"));
    click(m_window.get(), QStringLiteral("btnApplica"));
    QVERIFY(m_window->isVisible());
    QCOMPARE(label(m_songs.get(), QStringLiteral("lblDesc01"))->text(), QString());
    child<QLabel>(m_window.get(), QStringLiteral("lblMemory"))->setText(QStringLiteral(" collection "));
    click(m_window.get(), QStringLiteral("btnApplica"));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(label(m_songs.get(), QStringLiteral("lblDesc01"))->text(), QStringLiteral("x"));
}

QTEST_MAIN(TestAttachments)
#include "tst_attachments.moc"
