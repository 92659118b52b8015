#include "Named.h"
#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "records/SongCard.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

// The lyrics and the translation say how much of their room is used before it runs out, and a
// paste that would not fit asks before anything of it is cut.

class TestMemoRoom : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void roomText_data();
    void roomText();
    void roomLineFollowsTheMemo_data();
    void roomLineFollowsTheMemo();
    void pasteThatWouldBeCut_data();
    void pasteThatWouldBeCut();

private:
    TempProgramFolder *m_folder = nullptr;
    RecordingDesktop *m_desk = nullptr;
    FrmCollection *m_editor = nullptr;
};

void TestMemoRoom::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
    m_editor = new FrmCollection;
    m_editor->openCollection(m_folder->file(QStringLiteral("Rock.mus")), QStringLiteral("Rock"));
    m_editor->show();
}

void TestMemoRoom::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_editor;
    delete m_desk;
    delete m_folder;
}

void TestMemoRoom::roomText_data()
{
    QTest::addColumn<int>("used");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << 0 << "";
    QTest::newRow("just under nine tenths") << 4499 << "";
    QTest::newRow("nine tenths") << 4500 << "4.500 di 5.000 caratteri";
    QTest::newRow("near the end") << 4870 << "4.870 di 5.000 caratteri";
    QTest::newRow("full") << 5000 << "5.000 di 5.000 caratteri";
}

void TestMemoRoom::roomText()
{
    QFETCH(int, used);
    QFETCH(QString, text);
    QCOMPARE(FrmCollection::roomText(used, 5000), text);
}

// What the line beside each memo shows as the user types and as cards are shown; a line break
// takes two characters of the file (CR LF).
void TestMemoRoom::roomLineFollowsTheMemo_data()
{
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("line");
    QTest::newRow("lyrics") << "txtTesto" << "lblSpazioTesto";
    QTest::newRow("translation") << "txtStoria" << "lblSpazioStoria";
}

void TestMemoRoom::roomLineFollowsTheMemo()
{
    QFETCH(QString, memo);
    QFETCH(QString, line);
    auto *m = m_editor->findChild<QPlainTextEdit *>(memo);
    auto *room = m_editor->findChild<QLabel *>(line);
    QVERIFY(m && room);
    QCOMPARE(room->text(), QString());
    m->setFocus();
    m->setPlainText(QString(4860, QLatin1Char('a')));
    QCOMPARE(room->text(), QStringLiteral("4.860 di 5.000 caratteri"));
    QTest::keyClicks(m, QStringLiteral("bbbb"));
    QTest::keyClick(m, Qt::Key_Return);
    QTest::keyClicks(m, QStringLiteral("cccc"));
    QCOMPARE(room->text(), QStringLiteral("4.870 di 5.000 caratteri"));
    QVERIFY(room->isVisibleTo(m_editor));
    QCOMPARE(room->textFormat(), Qt::PlainText);

    // A stored card shown fills the line too, and a new card empties it.
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("Lunga"));
    card.setText(SongCard::Cantante, QStringLiteral("Voce"));
    card.setText(memo == QLatin1String("txtTesto") ? SongCard::Testo : SongCard::Storia,
                 QString(4999, QLatin1Char('z')));
    writeFile(m_folder->file(QStringLiteral("Rock.mus")), card.encode());
    m_desk->saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    emit m_editor->cmdPrimo->clicked();
    QCOMPARE(room->text(), QStringLiteral("4.999 di 5.000 caratteri"));
    emit m_editor->cmdNuovo->clicked();
    QCOMPARE(room->text(), QString());
}

void TestMemoRoom::pasteThatWouldBeCut_data()
{
    QTest::addColumn<int>("before"); // characters already in the memo
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("answer"); // -1: nothing asked; 1 Yes, 0 No
    QTest::addColumn<int>("after");  // length of the memo afterwards
    const QString block(100, QLatin1Char('x'));
    QTest::newRow("fits exactly: nothing asked") << 4900 << block << -1 << 5000;
    QTest::newRow("one too many, No keeps the memo") << 4901 << block << 0 << 4901;
    QTest::newRow("one too many, Yes pastes what fits") << 4901 << block << 1 << 5000;
    QTest::newRow("line breaks count twice") << 4900 << QString(50, QLatin1Char('y')) + "\r\n" + QString(49, QLatin1Char('y'))
                                           << 0 << 4900;
    QTest::newRow("full memo, No") << 5000 << "a" << 0 << 5000;
}

void TestMemoRoom::pasteThatWouldBeCut()
{
    QFETCH(int, before);
    QFETCH(QString, pasted);
    QFETCH(int, answer);
    QFETCH(int, after);
    auto *m = named<QPlainTextEdit>(m_editor, "txtTesto");
    m->setFocus();
    m->setPlainText(QString(before, QLatin1Char('a')));
    m->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(pasted);
    if (answer >= 0)
        m_desk->confirmations.enqueue(answer == 1);
    QTest::keyClick(m, Qt::Key_V, Qt::ControlModifier);
    const QString text = FrmCollection::memoText(m);
    QCOMPARE(FrmCollection::storedLength(text), qsizetype(after));
    if (answer < 0) {
        QVERIFY(m_desk->messages.isEmpty());
        return;
    }
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Desktop::Kind::IrreversibleConfirmation);
    QVERIFY2(m_desk->last().text.startsWith(QStringLiteral("Attenzione: il testo da incollare è di ")),
             qPrintable(m_desk->last().text));
    if (answer == 0)
        QCOMPARE(text, QString(before, QLatin1Char('a')));
}

QTEST_MAIN(TestMemoRoom)
#include "tst_memoroom.moc"
