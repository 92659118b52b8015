#include "Named.h"
#include "RecordingDesktop.h"

#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "records/SongCard.h"
#include "table/FrmElenco.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The song editor with its table view: Ctrl+L opens it, a picked row opens its card, a save
// shows in its row, the songbook button hands over positions.
class TestEditorTable : public QObject
{
    Q_OBJECT
private slots:
    void positionText_data();
    void positionText();
    void tableFollowsEditor();
};

void TestEditorTable::positionText_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("stored") << qint64(12) << qint64(340) << QStringLiteral("12\ndi 340");
    QTest::newRow("thousands") << qint64(1234) << qint64(10000) << QStringLiteral("1.234\ndi 10.000");
    QTest::newRow("new card") << qint64(0) << qint64(340) << QStringLiteral("Nuova\n(340)");
    QTest::newRow("empty archive") << qint64(0) << qint64(0) << QStringLiteral("Nuova");
    // A file cut by another copy still reads sensibly.
    QTest::newRow("count behind") << qint64(5) << qint64(3) << QStringLiteral("5\ndi 5");
}

void TestEditorTable::positionText()
{
    QFETCH(qint64, position);
    QFETCH(qint64, count);
    QFETCH(QString, text);
    QCOMPARE(CardEditor::positionText(position, count), text);
}

void TestEditorTable::tableFollowsEditor()
{
    TempProgramFolder folder;
    RecordingDesktop desk;
    const QString path = folder.file(QStringLiteral("Pop.mus"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (const char *title : {"Emozioni", "Azzurro", "Caruso"}) {
            SongCard card;
            card.setText(SongCard::Titolo, QString::fromLatin1(title));
            card.setText(SongCard::Cantante, QStringLiteral("Cantante"));
            f.write(card.encode());
        }
    }
    FrmCollection editor;
    editor.openCollection(path, QStringLiteral("Pop"));
    editor.showWorkWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(named<QLabel>(&editor, "lblScheda")->text(), QStringLiteral("Nuova\n(3)"));

    QTest::keyClick(&editor, Qt::Key_L, Qt::ControlModifier);
    FrmElenco *table = editor.table();
    QVERIFY(table);
    QTRY_VERIFY(table->isReady());
    QCOMPARE(table->positionsShown().size(), 3);

    // Picking a row opens the card in the editor.
    emit table->cardPicked(2);
    QCOMPARE(editor.session().position, qint64(2));
    QCOMPARE(named<QLineEdit>(&editor, "txtTitolo")->text(), QStringLiteral("Azzurro"));
    QCOMPARE(named<QLabel>(&editor, "lblScheda")->text(), QStringLiteral("2\ndi 3"));
    QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QStringLiteral("2"));

    // A save shows in the table at once.
    named<QLineEdit>(&editor, "txtTitolo")->setText(QStringLiteral("Volare"));
    emit named<ClickPicture>(&editor, "cmdSalva")->clicked();
    table->txtCerca->setText(QStringLiteral("volare"));
    table->search();
    QCOMPARE(table->positionsShown(), QList<qint64>{2});

    // The songbook button hands over the rows of the search.
    QSignalSpy songbook(table, &FrmElenco::songbookRequested);
    QVERIFY(table->btnCanzoniere->isVisibleTo(table));
    QCOMPARE(table->songbookPositions(), QList<qint64>{2});

    // Leaving the editor closes the view.
    editor.close();
    QTRY_VERIFY(!editor.table());
    QCOMPARE(desk.messages.size(), 1); // the save's confirmation
    VERIFY_DESKTOP_CLEAN(desk);
}

QTEST_MAIN(TestEditorTable)
#include "tst_editortable.moc"
