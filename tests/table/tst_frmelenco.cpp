#include "TestFiles.h"

#include "app/Look.h"
#include "core/RecordFile.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "table/FrmElenco.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace
{

SongCard song(const QString &title, const QString &singer, const QString &lyrics = QString())
{
    SongCard c;
    c.setText(SongCard::Titolo, title);
    c.setText(SongCard::Cantante, singer);
    c.setText(SongCard::Testo, lyrics);
    return c;
}

void append(const QString &path, const QList<SongCard> &cards)
{
    RecordFile file(path, SongCard::kSize);
    for (const SongCard &c : cards)
        file.append(c.encode());
}

template <typename T> T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

// Types text as the keyboard would, one key event per character.
void type(QWidget *field, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, field, Qt::Key_unknown, c, Qt::NoModifier);
}

QString count(FrmElenco &w)
{
    return child<QLabel>(&w, "lblConteggio")->text();
}

int yellowPixels(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == Look::kYellow;
    return n;
}

} // namespace

class TestFrmElenco : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void countLine_data();
    void countLine();
    void typingFiltersAndEscClears();
    void enterAndDoubleClickPickPositions();
    void fieldChoiceAndDuplicates();
    void sortAndColumnsRemembered();
    void anotherCopyWritesWhileOpen();
    void singerArchiveAndUnreadableFile();

private:
    QTemporaryDir *m_dir = nullptr;
    QString m_path;
};

void TestFrmElenco::init()
{
    delete m_dir;
    m_dir = new QTemporaryDir;
    m_path = m_dir->filePath(QStringLiteral("Italiane.mus"));
    QSettings().clear();
    append(m_path, {song(QStringLiteral("Perché no"), QStringLiteral("Lucio Battisti"), QStringLiteral("e penso a te")),
                    song(QStringLiteral("Emozioni"), QStringLiteral("Lucio Battisti"), QStringLiteral("capire tu non puoi")),
                    song(QStringLiteral("CITTÀ VUOTA"), QStringLiteral("Mina"), QStringLiteral("è più di un anno")),
                    song(QStringLiteral("Volare"), QStringLiteral("Domenico Modugno"), QStringLiteral("penso che un sogno così")),
                    song(QStringLiteral("Emozioni (live)"), QStringLiteral("Lucio Battisti"))});
}

void TestFrmElenco::countLine_data()
{
    QTest::addColumn<qsizetype>("shown");
    QTest::addColumn<qsizetype>("total");
    QTest::addColumn<QString>("line");
    QTest::newRow("thousands") << qsizetype(37) << qsizetype(10000) << QStringLiteral("37 schede su 10.000");
    QTest::newRow("one") << qsizetype(1) << qsizetype(340) << QStringLiteral("1 scheda su 340");
    QTest::newRow("none") << qsizetype(0) << qsizetype(0) << QStringLiteral("0 schede su 0");
    QTest::newRow("millions") << qsizetype(1234567) << qsizetype(1234567) << QStringLiteral("1.234.567 schede su 1.234.567");
}

void TestFrmElenco::countLine()
{
    QFETCH(qsizetype, shown);
    QFETCH(qsizetype, total);
    QFETCH(QString, line);
    QCOMPARE(FrmElenco::countLine(shown, total), line);
}

void TestFrmElenco::typingFiltersAndEscClears()
{
    FrmElenco w(m_path, ArchiveKind::Songs);
    w.resize(1366, 768);
    w.show();
    QTRY_VERIFY(w.isReady());
    auto *search = child<QLineEdit>(&w, "txtCerca");
    auto *grid = child<QTableView>(&w, "grdElenco");
    QCOMPARE(count(w), QStringLiteral("5 schede su 5"));
    QCOMPARE(yellowPixels(grid->viewport()), 0);

    type(search, QStringLiteral("citta"));
    QCOMPARE(count(w), QStringLiteral("1 scheda su 5"));
    QCOMPARE(w.positionsShown(), QList<qint64>{3});
    // The hit is painted on the cell.
    QVERIFY(yellowPixels(grid->viewport()) > 20);

    search->clear();
    type(search, QStringLiteral("BATTISTI emozioni"));
    QCOMPARE(w.positionsShown(), (QList<qint64>{2, 5}));
    QCOMPARE(count(w), QStringLiteral("2 schede su 5"));
    type(search, QStringLiteral(" xyz"));
    QCOMPARE(count(w), QStringLiteral("0 schede su 5"));

    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(search->text().isEmpty());
    QCOMPARE(count(w), QStringLiteral("5 schede su 5"));
    QCOMPARE(w.positionsShown().size(), 5);
    QCOMPARE(yellowPixels(grid->viewport()), 0);
}

void TestFrmElenco::enterAndDoubleClickPickPositions()
{
    FrmElenco w(m_path, ArchiveKind::Songs);
    w.show();
    QTRY_VERIFY(w.isReady());
    QSignalSpy picked(&w, &FrmElenco::cardPicked);
    auto *search = child<QLineEdit>(&w, "txtCerca");
    auto *grid = child<QTableView>(&w, "grdElenco");
    type(search, QStringLiteral("volare"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.takeFirst().at(0).toLongLong(), 4);

    QTest::keyClick(search, Qt::Key_Escape);
    // Sorted by title: Città vuota, Emozioni, Emozioni (live), Perché no, Volare.
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 0));
    QTest::keyClick(grid, Qt::Key_Enter);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.takeFirst().at(0).toLongLong(), 2);
    const QRect cell = grid->visualRect(grid->model()->index(3, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.takeFirst().at(0).toLongLong(), 1);

    // Several rows selected: their positions, in table order.
    grid->selectAll();
    QCOMPARE(w.selectedPositions(), (QList<qint64>{3, 2, 5, 1, 4}));
    QCOMPARE(w.positionsShown(), (QList<qint64>{3, 2, 5, 1, 4}));
}

void TestFrmElenco::fieldChoiceAndDuplicates()
{
    FrmElenco w(m_path, ArchiveKind::Songs);
    w.show();
    QTRY_VERIFY(w.isReady());
    auto *search = child<QLineEdit>(&w, "txtCerca");
    auto *fields = child<QComboBox>(&w, "cboCampi");
    type(search, QStringLiteral("penso"));
    QCOMPARE(w.positionsShown(), (QList<qint64>{1, 4}));
    fields->setCurrentIndex(1); // title and singer
    QVERIFY(w.positionsShown().isEmpty());
    fields->setCurrentIndex(2); // lyrics
    QCOMPARE(w.positionsShown(), (QList<qint64>{1, 4}));
    search->clear();
    fields->setCurrentIndex(0);

    child<QCheckBox>(&w, "chkDoppioni")->setChecked(true);
    QCOMPARE(w.positionsShown(), (QList<qint64>{2, 5}));
    QCOMPARE(count(w), QStringLiteral("2 schede su 5"));
    type(search, QStringLiteral("live"));
    QCOMPARE(w.positionsShown(), QList<qint64>{5});
    child<QCheckBox>(&w, "chkDoppioni")->setChecked(false);
    QCOMPARE(w.positionsShown(), QList<qint64>{5});
}

void TestFrmElenco::sortAndColumnsRemembered()
{
    {
        FrmElenco w(m_path, ArchiveKind::Songs);
        w.show();
        QTRY_VERIFY(w.isReady());
        auto *grid = child<QTableView>(&w, "grdElenco");
        grid->sortByColumn(1, Qt::DescendingOrder);
        QCOMPARE(w.positionsShown(), (QList<qint64>{3, 1, 2, 5, 4}));
        grid->setColumnWidth(0, 333);
        grid->horizontalHeader()->moveSection(2, 0);
        w.close();
    }
    FrmElenco again(m_path, ArchiveKind::Songs);
    again.show();
    QTRY_VERIFY(again.isReady());
    auto *grid = child<QTableView>(&again, "grdElenco");
    QCOMPARE(grid->horizontalHeader()->sortIndicatorSection(), 1);
    QCOMPARE(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(grid->columnWidth(0), 333);
    QCOMPARE(grid->horizontalHeader()->logicalIndex(0), 2);
    QCOMPARE(again.positionsShown(), (QList<qint64>{3, 1, 2, 5, 4}));
}

void TestFrmElenco::anotherCopyWritesWhileOpen()
{
    FrmElenco w(m_path, ArchiveKind::Songs);
    w.show();
    QTRY_VERIFY(w.isReady());
    QSignalSpy ready(&w, &FrmElenco::ready);
    auto *search = child<QLineEdit>(&w, "txtCerca");
    {
        RecordFile other(m_path, SongCard::kSize);
        other.write(4, song(QStringLiteral("Nel blu dipinto di blu"), QStringLiteral("Domenico Modugno")).encode());
        other.append(song(QStringLiteral("Il cielo in una stanza"), QStringLiteral("Mina")).encode());
    }
    type(search, QStringLiteral("mina"));
    // The rows follow the file as soon as it has been read again.
    QTRY_COMPARE(w.positionsShown(), (QList<qint64>{3, 6}));
    QCOMPARE(count(w), QStringLiteral("2 schede su 6"));
    search->clear();
    type(search, QStringLiteral("volare"));
    QVERIFY(w.positionsShown().isEmpty());

    // A save of this program shows at once.
    {
        RecordFile own(m_path, SongCard::kSize);
        own.write(1, song(QStringLiteral("Volare via"), QStringLiteral("Lucio Battisti")).encode());
    }
    w.updateCard(1);
    search->clear();
    type(search, QStringLiteral("volare"));
    QCOMPARE(w.positionsShown(), QList<qint64>{1});
}

void TestFrmElenco::singerArchiveAndUnreadableFile()
{
    const QString path = m_dir->filePath(QStringLiteral("Archivio_Cantanti.pro"));
    SingerCard s;
    s.setText(SingerCard::Nome, QStringLiteral("Mina"));
    s.setText(SingerCard::Indirizzo, QStringLiteral("Anna Maria Mazzini"));
    s.setText(SingerCard::DataNasc, QStringLiteral("25/03/1940"));
    writeFile(path, s.encode() + QByteArray(SingerCard::kSize, '\x03'));
    FrmElenco w(path, ArchiveKind::Singers);
    w.show();
    QTRY_VERIFY(w.isReady());
    auto *grid = child<QTableView>(&w, "grdElenco");
    QCOMPARE(child<QComboBox>(&w, "cboCampi")->count(), 2);
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(0, 3).data().toString(), QStringLiteral("1940"));
    QVERIFY(grid->model()->index(1, 0).data().toString().startsWith(QStringLiteral("Scheda illeggibile")));
    type(child<QLineEdit>(&w, "txtCerca"), QStringLiteral("mazzini"));
    QCOMPARE(count(w), QStringLiteral("1 scheda su 2"));

    // A folder where the file should be: nothing to read, said plainly.
    const QString folder = m_dir->filePath(QStringLiteral("Cartella.mus"));
    QVERIFY(QDir().mkpath(folder));
    FrmElenco none(folder, ArchiveKind::Songs);
    none.show();
    QTRY_VERIFY(none.isReady());
    QCOMPARE(count(none), QStringLiteral("0 schede su 0"));
    QVERIFY(child<QLabel>(&none, "lblStato")->text().startsWith(QStringLiteral("Attenzione: ")));

    // A FIFO by the archive's name holds no cards and never blocks the window.
    const QString fifo = m_dir->filePath(QStringLiteral("Tubo.mus"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    FrmElenco pipe(fifo, ArchiveKind::Songs);
    pipe.show();
    QTRY_VERIFY(pipe.isReady());
    QCOMPARE(count(pipe), QStringLiteral("0 schede su 0"));
}

QTEST_MAIN(TestFrmElenco)
#include "tst_frmelenco.moc"
