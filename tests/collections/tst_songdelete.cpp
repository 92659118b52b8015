#include "Named.h"
#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "records/SongCard.h"
#include "singers/FrmAnagrafica.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// Deleting a song card: asked first, naming the card; a copy of the collection in the backups;
// the later cards move up; Annulla eliminazione (its button or Ctrl+Z) puts the card back at
// its place, byte for byte.

namespace
{
QByteArray collectionOf(int cards)
{
    QByteArray all;
    for (int i = 1; i <= cards; ++i) {
        SongCard card;
        card.setText(SongCard::Titolo, QStringLiteral("Canzone %1").arg(i));
        card.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(i));
        card.setText(SongCard::Segnala, SongCard::flagText(false));
        all += card.encode();
    }
    return all;
}
} // namespace

class TestSongDelete : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void deleteAndPutBack_data();
    void deleteAndPutBack();
    void nothingDeletedWithoutYes();
    void noBackupNoDelete();
    void undoKeyBelongsToTypingFirst();
    void undoStaysWithItsCollection();
    void singerCardsCannotBeDeleted();

private:
    void openOn(int cards, int position);
    QString path() const { return m_folder->file(QStringLiteral("Rock.mus")); }
    QString position() const { return named<QLabel>(m_editor, "lblPosizione")->text(); }
    QString title() const { return named<QLineEdit>(m_editor, "txtTitolo")->text(); }
    QStringList backups() const
    {
        return QDir(m_folder->file(QStringLiteral("Backup"))).entryList({QStringLiteral("*.zip")}, QDir::Files);
    }
    void press(int key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_editor, Qt::Key(key),
                        modifiers);
    }

    TempProgramFolder *m_folder = nullptr;
    RecordingDesktop *m_desk = nullptr;
    FrmCollection *m_editor = nullptr;
};

void TestSongDelete::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
}

void TestSongDelete::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_editor;
    m_editor = nullptr;
    delete m_desk;
    delete m_folder;
}

void TestSongDelete::openOn(int cards, int at)
{
    writeFile(path(), collectionOf(cards));
    m_editor = new FrmCollection;
    m_editor->openCollection(path(), QStringLiteral("Rock"));
    m_editor->showWorkWindow();
    m_editor->setWindowState(Qt::WindowNoState);
    m_editor->setGeometry(0, 0, 1016, 713);
    QApplication::setActiveWindow(m_editor);
    QTest::qWaitForWindowActive(m_editor);
    for (int i = 0; i < at; ++i)
        emit m_editor->cmdAvanti->clicked();
    QCOMPARE(position(), at ? QString::number(at) : QString());
}

void TestSongDelete::deleteAndPutBack_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("shownAfter"); // position shown after the delete
    QTest::addColumn<bool>("byKeys");
    QTest::newRow("first of five, by the picture") << 5 << 1 << "1" << false;
    QTest::newRow("middle of five, by the keys") << 5 << 3 << "3" << true;
    QTest::newRow("last of five: the one before is shown") << 5 << 5 << "4" << false;
    QTest::newRow("the only card: a new card is shown") << 1 << 1 << "" << true;
}

void TestSongDelete::deleteAndPutBack()
{
    QFETCH(int, cards);
    QFETCH(int, at);
    QFETCH(QString, shownAfter);
    QFETCH(bool, byKeys);
    openOn(cards, at);
    const QByteArray before = fileContent(path());
    auto *undo = named<QWidget>(m_editor, "cmdAnnullaElimina");
    QVERIFY(!undo->isVisible());

    m_desk->confirmations.enqueue(true);
    if (byKeys)
        press(Qt::Key_Delete, Qt::ControlModifier);
    else
        QTest::mouseClick(named<QWidget>(m_editor, "cmdElimina"), Qt::LeftButton);

    // The question names the card by its position, title and singer, and cannot be taken by Enter.
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Desktop::Kind::IrreversibleConfirmation);
    QVERIFY2(m_desk->last().text.startsWith(QStringLiteral("Eliminare dall'archivio la scheda %1 di %2, «Canzone %1» di "
                                                           "Cantante %1?")
                                                .arg(at)
                                                .arg(cards)),
             qPrintable(m_desk->last().text));
    // The later cards moved up one place.
    QByteArray expected = before;
    expected.remove((at - 1) * SongCard::kSize, SongCard::kSize);
    QCOMPARE(fileContent(path()), expected);
    QCOMPARE(position(), shownAfter);
    QCOMPARE(title(), shownAfter.isEmpty() ? QString() : QStringLiteral("Canzone %1").arg(at < cards ? at + 1 : at - 1));
    QVERIFY(!m_editor->cardChanged());
    QCOMPARE(backups().size(), 1);
    QVERIFY(undo->isVisible());
    QCOMPARE(named<QLabel>(m_editor, "panInfo")->text(), QStringLiteral("Scheda eliminata: «Canzone %1».").arg(at));

    if (byKeys)
        press(Qt::Key_Z, Qt::ControlModifier);
    else
        QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(fileContent(path()), before);
    QCOMPARE(position(), QString::number(at));
    QCOMPARE(title(), QStringLiteral("Canzone %1").arg(at));
    QVERIFY(!undo->isVisible());
    // Once put back there is nothing more to undo.
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(fileContent(path()), before);
    QCOMPARE(m_desk->messages.size(), 1);
}

void TestSongDelete::nothingDeletedWithoutYes()
{
    // A new card cannot be deleted.
    openOn(3, 0);
    press(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_desk->texts(),
             QStringList{QStringLiteral("Attenzione: l'eliminazione di una scheda può avvenire soltanto dopo che "
                                        "questa è stata inserita in archivio.")});
    // No to the question: nothing changes, no backup is made; a changed card is said to be lost.
    emit m_editor->cmdAvanti->clicked();
    named<QLineEdit>(m_editor, "txtTitolo")->setText(QStringLiteral("Cambiata"));
    m_desk->confirmations.enqueue(false);
    const QByteArray before = fileContent(path());
    QTest::mouseClick(named<QWidget>(m_editor, "cmdElimina"), Qt::LeftButton);
    QVERIFY(m_desk->last().text.endsWith(QStringLiteral("Le modifiche non salvate della scheda andranno perdute.")));
    QCOMPARE(fileContent(path()), before);
    QCOMPARE(position(), QStringLiteral("1"));
    QCOMPARE(title(), QStringLiteral("Cambiata"));
    QVERIFY(backups().isEmpty());
    QVERIFY(!named<QWidget>(m_editor, "cmdAnnullaElimina")->isVisible());
}

void TestSongDelete::noBackupNoDelete()
{
    openOn(3, 2);
    // A file where the backups' folder should be: no copy can be made.
    writeFile(m_folder->file(QStringLiteral("Backup")), "x");
    const QByteArray before = fileContent(path());
    m_desk->confirmations.enqueue(true);
    QTest::mouseClick(named<QWidget>(m_editor, "cmdElimina"), Qt::LeftButton);
    QCOMPARE(m_desk->messages.size(), 2);
    QCOMPARE(m_desk->last().kind, Desktop::Kind::Error);
    QCOMPARE(fileContent(path()), before);
    QCOMPARE(position(), QStringLiteral("2"));
    QVERIFY(!named<QWidget>(m_editor, "cmdAnnullaElimina")->isVisible());
}

// Ctrl+Z in a field with typing to undo undoes the typing; only then the delete.
void TestSongDelete::undoKeyBelongsToTypingFirst()
{
    openOn(3, 2);
    const QByteArray before = fileContent(path());
    m_desk->confirmations.enqueue(true);
    QTest::mouseClick(named<QWidget>(m_editor, "cmdElimina"), Qt::LeftButton);
    QCOMPARE(title(), QStringLiteral("Canzone 3"));
    auto *txtNote = named<QLineEdit>(m_editor, "txtNote");
    txtNote->setFocus();
    QTest::keyClicks(txtNote, QStringLiteral("abc"));
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(txtNote->text(), QString());
    QCOMPARE(fileContent(path()).size(), 2 * SongCard::kSize);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(fileContent(path()), before);
    QCOMPARE(position(), QStringLiteral("2"));
}

void TestSongDelete::undoStaysWithItsCollection()
{
    openOn(1, 1);
    // Another collection opened in the editor: the card deleted in the first is not put back there.
    m_desk->confirmations.enqueue(true);
    QTest::mouseClick(named<QWidget>(m_editor, "cmdElimina"), Qt::LeftButton);
    QCOMPARE(fileContent(path()).size(), 0);
    const QString other = m_folder->file(QStringLiteral("Pop.mus"));
    writeFile(other, collectionOf(2));
    m_editor->openCollection(other, QStringLiteral("Pop"));
    QVERIFY(!named<QWidget>(m_editor, "cmdAnnullaElimina")->isVisible());
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(fileContent(other), collectionOf(2));
    QCOMPARE(fileContent(path()).size(), 0);
}

void TestSongDelete::singerCardsCannotBeDeleted()
{
    // Their photo and discography files are named after their position.
    FrmAnagrafica singers;
    QVERIFY(!singers.findChild<QWidget *>(QStringLiteral("cmdElimina")));
    QVERIFY(!singers.findChild<QWidget *>(QStringLiteral("cmdAnnullaElimina")));
}

QTEST_MAIN(TestSongDelete)
#include "tst_songdelete.moc"
