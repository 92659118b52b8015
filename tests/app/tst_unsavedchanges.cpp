#include "Named.h"
#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "app/Widgets.h"
#include "attachments/FrmAllegaCartella.h"
#include "collections/FrmCollection.h"
#include "lists/FrmFilmografiaAttori.h"
#include "lists/ListCommands.h"
#include "lists/ResultList.h"
#include "lists/SearchWindow.h"
#include "records/DiscographySong.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "singers/FrmAnagrafica.h"
#include "stats/FrmStatistiche.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Every way of leaving a card, with the card changed or only looked at, and each answer to the
// question: Salva stores the card and goes on, Non salvare goes on and keeps the file as it
// was, Annulla stays on the changed card.

using Choice = Desktop::SaveChoice;
Q_DECLARE_METATYPE(Desktop::SaveChoice)

namespace
{

const QString kQuestion = QStringLiteral("Salvare le modifiche alla scheda?");
const QString kTyped = QStringLiteral("Cambiata");

void doubleClickRow(ResultList *list, int row)
{
    const QRect place = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

// The row of the list whose record is at `position`.
int rowOf(ResultList *list, qint64 position)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->position(row) == position)
            return row;
    return -1;
}

} // namespace

class TestUnsavedChanges : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void leavingACard_data();
    void leavingACard();
    void failedSaveStays_data();
    void failedSaveStays();
    void attachmentsCountAsChanges();
    void singerPhotoCountsAsAChange();
    void discographySong_data();
    void discographySong();

private:
    // The editor of `kind` on an archive of three cards (the third flagged), shown, on card 2.
    void openOnCardTwo(const QString &kind);
    QLineEdit *firstField() const
    {
        return named<QLineEdit>(m_editor, m_kind == QLatin1String("song") ? "txtTitolo" : "txtNome");
    }
    QString position() const { return named<QLabel>(m_editor, "lblPosizione")->text(); }
    QString archive() const;
    // The first text of the card stored at `position` (title or stage name).
    QString storedName(qint64 position) const;
    // Queues the handler that picks card 3 in the list window the way opens.
    void pickCardThree(const QString &way);

    TempProgramFolder *m_folder = nullptr;
    RecordingDesktop *m_desk = nullptr;
    CardEditor *m_editor = nullptr;
    QString m_kind;
};

void TestUnsavedChanges::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
}

void TestUnsavedChanges::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_editor;
    m_editor = nullptr;
    delete m_desk;
    delete m_folder;
}

QString TestUnsavedChanges::archive() const
{
    return m_kind == QLatin1String("song") ? m_folder->file(QStringLiteral("Rock.mus")) : SingerArchive::path();
}

QString TestUnsavedChanges::storedName(qint64 position) const
{
    const QByteArray all = fileContent(archive());
    if (m_kind == QLatin1String("song"))
        return SongCard::decode(all.mid((position - 1) * SongCard::kSize, SongCard::kSize)).text(SongCard::Titolo);
    return SingerCard::decode(all.mid((position - 1) * SingerCard::kSize, SingerCard::kSize)).text(SingerCard::Nome);
}

void TestUnsavedChanges::openOnCardTwo(const QString &kind)
{
    m_kind = kind;
    QByteArray all;
    for (int i = 1; i <= 3; ++i) {
        if (kind == QLatin1String("song")) {
            SongCard card;
            card.setText(SongCard::Titolo, QStringLiteral("Canzone %1").arg(i));
            card.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(i));
            card.setText(SongCard::Segnala, SongCard::flagText(i == 3));
            all += card.encode();
        } else {
            SingerCard card;
            card.setText(SingerCard::Nome, QStringLiteral("Cantante %1").arg(i));
            card.setText(SingerCard::Sesso, QStringLiteral("F"));
            card.setText(SingerCard::Cittadinanza, QStringLiteral("Italiana"));
            card.setText(SingerCard::Estremi, QStringLiteral("Una canzone"));
            all += card.encode();
        }
    }
    writeFile(archive(), all);
    if (kind == QLatin1String("song")) {
        auto *editor = new FrmCollection;
        editor->openCollection(archive(), QStringLiteral("Rock"));
        m_editor = editor;
    } else {
        m_editor = new FrmAnagrafica;
    }
    m_editor->showWorkWindow();
    m_editor->setWindowState(Qt::WindowNoState);
    m_editor->setGeometry(0, 0, 1016, 713);
    QApplication::setActiveWindow(m_editor);
    QTest::qWaitForWindowActive(m_editor);
    // A new card only looked at: moving on asks nothing.
    emit m_editor->cmdAvanti->clicked();
    emit m_editor->cmdAvanti->clicked();
    QCOMPARE(position(), QStringLiteral("2"));
    QVERIFY(!m_editor->cardChanged());
}

void TestUnsavedChanges::pickCardThree(const QString &way)
{
    m_desk->modalHandlers.enqueue([way](QDialog *d) {
        if (way == QLatin1String("statistics")) {
            auto *w = qobject_cast<FrmStatistiche *>(d);
            QVERIFY(w);
            // The cards differ only in their names: the first chart has them in one group.
            w->showGroup(0);
            QVERIFY(rowOf(w->lstRecords, 3) >= 0);
            w->lstRecords->setCurrentRow(rowOf(w->lstRecords, 3));
            QTest::mouseClick(w->btnApri, Qt::LeftButton);
            return;
        }
        auto *list = d->findChild<ResultList *>();
        QVERIFY(list);
        if (auto *search = qobject_cast<SearchWindow *>(d)) {
            search->filterFields.first()->setText(QStringLiteral("3"));
            search->btnCerca->click();
        }
        const int row = rowOf(list, 3);
        QVERIFY(row >= 0);
        list->setCurrentRow(row);
        doubleClickRow(list, row);
    });
}

void TestUnsavedChanges::leavingACard_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer"); // -1: no question
    QTest::addColumn<QString>("after"); // position shown after the move; "closed" when it closed

    struct Way {
        const char *name;
        const char *after;
        bool songOnly;
    };
    const Way ways[] = {
        {"cmdPrimo", "1", false},        {"cmdIndietro", "1", false},   {"cmdAvanti", "3", false},
        {"cmdUltimo", "3", false},       {"PgUp", "1", false},          {"PgDn", "3", false},
        {"Ctrl+Home", "1", false},       {"Ctrl+End", "3", false},      {"cmdNuovo", "", false},
        {"cmdDuplica", "", false},       {"search", "3", false},        {"flagged", "3", true},
        {"statistics", "3", false},      {"cmdEsci", "closed", false},  {"close", "closed", false},
    };
    for (const char *kind : {"song", "singer"}) {
        for (const Way &w : ways) {
            if (w.songOnly && qstrcmp(kind, "song") != 0)
                continue;
            const auto row = [&](const char *what) {
                return QStringLiteral("%1 %2 %3").arg(QLatin1String(kind), QLatin1String(w.name), QLatin1String(what));
            };
            QTest::newRow(qPrintable(row("looked at"))) << kind << w.name << false << -1 << w.after;
            QTest::newRow(qPrintable(row("Salva"))) << kind << w.name << true << int(Choice::Save) << w.after;
            QTest::newRow(qPrintable(row("Non salvare")))
                << kind << w.name << true << int(Choice::DontSave) << w.after;
            QTest::newRow(qPrintable(row("Annulla"))) << kind << w.name << true << int(Choice::Cancel) << "2";
        }
    }
}

void TestUnsavedChanges::leavingACard()
{
    QFETCH(QString, kind);
    QFETCH(QString, way);
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(QString, after);
    openOnCardTwo(kind);
    const QByteArray before = fileContent(archive());
    if (changed) {
        // Typed as a user does, into the first field.
        firstField()->setFocus();
        firstField()->selectAll();
        QTest::keyClicks(firstField(), kTyped);
        QVERIFY(m_editor->cardChanged());
    }
    if (answer >= 0)
        m_desk->saveAnswers.enqueue(Choice(answer));
    const bool picks = way == QLatin1String("search") || way == QLatin1String("flagged") ||
                       way == QLatin1String("statistics");
    if (picks)
        pickCardThree(way);
    m_desk->messages.clear();

    const auto press = [this](int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_editor, Qt::Key(key),
                        modifiers);
    };
    if (way == QLatin1String("PgUp"))
        press(Qt::Key_PageUp, Qt::NoModifier);
    else if (way == QLatin1String("PgDn"))
        press(Qt::Key_PageDown, Qt::NoModifier);
    else if (way == QLatin1String("Ctrl+Home"))
        press(Qt::Key_Home, Qt::ControlModifier);
    else if (way == QLatin1String("Ctrl+End"))
        press(Qt::Key_End, Qt::ControlModifier);
    else if (way == QLatin1String("search"))
        QTest::mouseClick(m_editor->cmdTrova, Qt::LeftButton);
    else if (way == QLatin1String("flagged"))
        QTest::mouseClick(named<QWidget>(m_editor, "cmdSegnala"), Qt::LeftButton);
    else if (way == QLatin1String("statistics"))
        QTest::mouseClick(named<QWidget>(m_editor, "cmdStatistiche"), Qt::LeftButton);
    else if (way == QLatin1String("close"))
        m_editor->close();
    else
        QTest::mouseClick(named<QWidget>(m_editor, qPrintable(way)), Qt::LeftButton);

    QCOMPARE(m_desk->saveQuestions, answer >= 0 ? QStringList{kQuestion} : QStringList());
    if (after == QLatin1String("closed")) {
        QVERIFY(!m_editor->isVisible());
    } else {
        QVERIFY(m_editor->isVisible());
        QCOMPARE(position(), after);
    }
    // The file holds the typed text only after Salva.
    if (answer == int(Choice::Save)) {
        QCOMPARE(storedName(2), kTyped);
        QVERIFY(m_desk->texts().contains(
            QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.")));
    } else {
        QCOMPARE(fileContent(archive()), before);
    }
    // Annulla keeps what was typed on screen; a copy keeps the texts it was made from.
    if (answer == int(Choice::Cancel) || (changed && way == QLatin1String("cmdDuplica")))
        QCOMPARE(firstField()->text(), kTyped);
    if (answer == int(Choice::Cancel))
        QVERIFY(m_editor->cardChanged());
}

// Salva from the question runs the same checks as the command: a card that cannot be saved
// stays on screen, changed, whichever way the user was leaving.
void TestUnsavedChanges::failedSaveStays_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("way");
    for (const char *kind : {"song", "singer"})
        for (const char *way : {"cmdAvanti", "cmdNuovo", "cmdEsci"})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(kind), QLatin1String(way))))
                << kind << way;
}

void TestUnsavedChanges::failedSaveStays()
{
    QFETCH(QString, kind);
    QFETCH(QString, way);
    openOnCardTwo(kind);
    const QByteArray before = fileContent(archive());
    firstField()->setText(QStringLiteral("   "));
    m_desk->saveAnswers.enqueue(Choice::Save);
    m_desk->messages.clear();
    QTest::mouseClick(named<QWidget>(m_editor, qPrintable(way)), Qt::LeftButton);
    QCOMPARE(m_desk->saveQuestions.size(), 1);
    QCOMPARE(m_desk->messages.size(), 1);
    QCOMPARE(m_desk->last().kind, Desktop::Kind::Warning);
    QVERIFY(m_editor->isVisible());
    QCOMPARE(position(), QStringLiteral("2"));
    QCOMPARE(firstField()->text(), QStringLiteral("   "));
    QCOMPARE(fileContent(archive()), before);

    // A save that fails on the disk stays too: the archive replaced by a folder. (A move
    // reads the archive before it asks, and reports the failure there.)
    if (way == QLatin1String("cmdAvanti"))
        return;
    firstField()->setText(kTyped);
    QVERIFY(QFile::remove(archive()));
    QVERIFY(QDir().mkdir(archive()));
    m_desk->saveAnswers.enqueue(Choice::Save);
    m_desk->messages.clear();
    QTest::mouseClick(named<QWidget>(m_editor, qPrintable(way)), Qt::LeftButton);
    QVERIFY(m_editor->isVisible());
    QCOMPARE(position(), QStringLiteral("2"));
    QCOMPARE(firstField()->text(), kTyped);
    QVERIFY(m_desk->last().text.startsWith(QStringLiteral("Attenzione: il sistema non permette")));
}

void TestUnsavedChanges::attachmentsCountAsChanges()
{
    openOnCardTwo(QStringLiteral("song"));
    m_desk->modalHandlers.enqueue([](QDialog *d) {
        named<QLineEdit>(d, "txtDesc02")->setText(QStringLiteral("Spartito"));
        QTest::mouseClick(named<QPushButton>(d, "btnApplica"), Qt::LeftButton);
    });
    QTest::mouseClick(m_editor->cmdFile, Qt::LeftButton);
    QVERIFY(m_editor->cardChanged());
    m_desk->saveAnswers.enqueue(Choice::Save);
    QTest::mouseClick(m_editor->cmdUltimo, Qt::LeftButton);
    QCOMPARE(position(), QStringLiteral("3"));
    const QByteArray all = fileContent(archive());
    QCOMPARE(SongCard::decode(all.mid(SongCard::kSize, SongCard::kSize)).text(SongCard::Desc02),
             QStringLiteral("Spartito"));

    // Annulla in the attachments window hands nothing back: nothing to ask.
    m_desk->modalHandlers.enqueue([](QDialog *d) {
        named<QLineEdit>(d, "txtDesc01")->setText(QStringLiteral("Altro"));
        QTest::mouseClick(named<QPushButton>(d, "btnAnnulla"), Qt::LeftButton);
    });
    QTest::mouseClick(m_editor->cmdFile, Qt::LeftButton);
    QVERIFY(!m_editor->cardChanged());
}

void TestUnsavedChanges::singerPhotoCountsAsAChange()
{
    openOnCardTwo(QStringLiteral("singer"));
    QImage picture(40, 60, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString chosen = m_folder->file(QStringLiteral("nuova.jpg"));
    QVERIFY(picture.save(chosen, "JPG"));
    m_desk->fileAnswers.enqueue(chosen);
    QTest::mouseClick(named<QWidget>(m_editor, "btnCaricaFoto"), Qt::LeftButton);
    QVERIFY(m_editor->cardChanged());
    m_desk->saveAnswers.enqueue(Choice::Cancel);
    QTest::mouseClick(m_editor->cmdAvanti, Qt::LeftButton);
    QCOMPARE(position(), QStringLiteral("2"));
    // Saved, the photo is the card's own again.
    emit m_editor->cmdSalva->clicked();
    QVERIFY(!m_editor->cardChanged());
    QTest::mouseClick(m_editor->cmdAvanti, Qt::LeftButton);
    QCOMPARE(position(), QStringLiteral("3"));
    QTest::mouseClick(m_editor->cmdIndietro, Qt::LeftButton);
    QCOMPARE(position(), QStringLiteral("2"));
    QVERIFY(!m_editor->cardChanged());
}

// The discography's entry panel: a song added or changed and not saved is asked about when the
// window closes, by either Chiudi button or the title bar.
void TestUnsavedChanges::discographySong_data()
{
    QTest::addColumn<QString>("start"); // "add" or "modify"
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("how"); // "cmdClose" or "close"
    for (const char *start : {"add", "modify"})
        for (const char *how : {"cmdClose", "close"}) {
            const QString base = QStringLiteral("%1 %2 ").arg(QLatin1String(start), QLatin1String(how));
            QTest::newRow(qPrintable(base + "looked at")) << start << false << -1 << how;
            QTest::newRow(qPrintable(base + "Salva")) << start << true << int(Choice::Save) << how;
            QTest::newRow(qPrintable(base + "Non salvare")) << start << true << int(Choice::DontSave) << how;
            QTest::newRow(qPrintable(base + "Annulla")) << start << true << int(Choice::Cancel) << how;
        }
}

void TestUnsavedChanges::discographySong()
{
    QFETCH(QString, start);
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(QString, how);
    DiscographySong stored;
    const char *texts[] = {"1971", "Emozioni", "Pop", "Mogol", "4:10"};
    for (int f = 0; f < 5; ++f)
        stored.setText(DiscographySong::Field(f), QString::fromLatin1(texts[f]));
    const QString path = Discography::path(qint64(4));
    writeFile(path, stored.encode());

    FrmFilmografiaAttori window(nullptr, 4, QStringLiteral("Battisti"));
    window.show();
    if (start == QLatin1String("add"))
        QTest::mouseClick(window.btnAggiungi, Qt::LeftButton);
    else {
        window.lstRecords->setCurrentRow(0);
        QTest::mouseClick(window.btnModifica, Qt::LeftButton);
    }
    QVERIFY(!window.songChanged());
    if (changed) {
        window.txtAnno->setText(QStringLiteral("1972"));
        window.txtTitolo->setText(QStringLiteral("Anna"));
        window.txtGenere->setText(QStringLiteral("Pop"));
        window.txtAutori->setText(QStringLiteral("Mogol"));
        window.txtDurata->setText(QStringLiteral("3:00"));
    }
    if (answer >= 0)
        m_desk->saveAnswers.enqueue(Choice(answer));
    if (how == QLatin1String("close"))
        window.close();
    else
        QTest::mouseClick(window.cmdClose, Qt::LeftButton);
    QCOMPARE(m_desk->saveQuestions.size(), answer >= 0 ? 1 : 0);
    if (how == QLatin1String("close")) {
        QCOMPARE(window.isVisible(), answer == int(Choice::Cancel));
    } else {
        // Chiudi on the song form goes back to the list, unless the user stays on the song.
        QVERIFY(window.isVisible());
        QCOMPARE(window.panCosti->isVisibleTo(&window), answer == int(Choice::Cancel));
    }
    const QByteArray file = fileContent(path);
    const bool added = start == QLatin1String("add");
    if (answer == int(Choice::Save)) {
        QCOMPARE(file.size(), (added ? 2 : 1) * DiscographySong::kSize);
        QCOMPARE(DiscographySong::decode(file.right(DiscographySong::kSize)).text(DiscographySong::Titolo),
                 QStringLiteral("Anna"));
    } else {
        QCOMPARE(file, stored.encode());
    }
    if (answer == int(Choice::Cancel)) {
        QCOMPARE(window.txtTitolo->text(), QStringLiteral("Anna"));
        m_desk->saveAnswers.enqueue(Choice::DontSave);
        window.close();
        QVERIFY(!window.isVisible());
    }
}

QTEST_MAIN(TestUnsavedChanges)
#include "tst_unsavedchanges.moc"
