#include "app/Preferences.h"
#include "ExpectedSheet.h"
#include "RecordingDesktop.h"
#include "TestFiles.h"
#include "XlsxReadBack.h"
#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "core/ProgramFolder.h"
#include "core/Text.h"
#include "output/FrmExpAnagrafica.h"
#include "output/FrmExpCollection.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "singers/FrmAnagrafica.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>

using Kind = Desktop::Kind;

// The two spreadsheet export windows: the grid they fill, the file they write byte for byte,
// their two questions and their failure message, and how the editors open them.
class TestExports : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void emptyCollectionGivesHeaderOnly();
    void threeCardsFixture();
    void xlsUnchanged();
    void gridShowsEveryCard();
    void gridReadsFieldsAsTheCards();
    void answers_data();
    void answers();
    void exportTwiceReplaces();
    void folderInTheWayGivesMessage();
    void failedExportKeepsPreviousFile();
    void unreadableArchiveLeavesEmptyGrid();
    void hintLine();
    void helpWindow();
    void emptySingerArchiveGivesHeaderOnly();
    void singerRowFollowsRecordOrder();
    void editorsOpenTheirExport_data();
    void editorsOpenTheirExport();

    // The choice of format.
    void formatList();
    void exportsInChosenFormat_data();
    void exportsInChosenFormat();
    void singerArchiveAsWorkbook();
    void cancelledSaveDialogWritesNothing();
    void neverReplacesAFileOfAnotherType_data();
    void neverReplacesAFileOfAnotherType();
    void failureInChosenFormat_data();
    void failureInChosenFormat();
    void realSaveDialogProposesNameAndType_data();
    void realSaveDialogProposesNameAndType();

    // Every field.
    void allColumnsOnlyBesideTheXls();
    void fullExportReadsBack_data();
    void fullExportReadsBack();
    void fullSingerExport();
    void realQuestionBox();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<RecordingDesktop> m_desk;
};

namespace
{

const QString kAskExport = QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a "
                                          "seconda del numero di schede presenti in "
                                          "archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kAskExportCsv = QStringLiteral("L'esportazione dei dati può richiedere diversi minuti a "
                                             "seconda del numero di schede presenti in "
                                             "archivio.\r\n\r\nSi vuole esportare i dati adesso?");
// The answers of the question after an export, in order.
const QStringList kOpenAnswers{QStringLiteral("Sì"), QStringLiteral("Apri la cartella"), QStringLiteral("No")};
constexpr int kOpenFile = 0;
constexpr int kOpenFolder = 1;
constexpr int kNo = 2;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The question after an export of `path`; `excel` false for a .csv.
QString askOpen(const QString &path, bool excel = true)
{
    return QStringLiteral("Le schede in archivio sono state esportate con successo nel file\r\n") + native(path) +
           (excel ? QStringLiteral("\r\n\r\nSi vuole aprire il file di Excel?")
                  : QStringLiteral("\r\n\r\nSi vuole aprire il file?"));
}

QString failed(const QString &path, bool excel = true)
{
    return QStringLiteral("Attenzione: il sistema non permette di esportare i dati nel file\n\r") + native(path) +
           (excel ? QStringLiteral("\n\r\n\rAccertarsi che il file di Excel non sia già aperto.")
                  : QStringLiteral("\n\r\n\rAccertarsi che il file non sia già aperto."));
}

using namespace ExpectedSheet;

const QByteArray kSongHeaders = th(400, "Titolo canzone") + th(300, "Cantante") + th(400, "Album") +
                                th(250, "Genere musicale") + th(350, "Autori") + th(250, "Nazione") +
                                th(180, "Anno") + th(400, "Premi e riconoscimenti") +
                                th(250, "Casa discografica") + th(200, "Durata") + th(300, "Sito Web") +
                                th(400, "Musica") + th(400, "Note");

const QByteArray kSingerHeaders =
    th(250, "Nome d'arte") + th(200, "Data di nascita") + th(250, "Cittadinanza") +
    th(250, "Luogo di nascita") + th(250, "Nome anagrafico") + th(300, "Esordio") +
    th(400, "Canzone capolavoro") + th(250, "Coniuge") + th(400, "Figli") + th(200, "Data decesso") +
    th(300, "Titolo di studio") + th(300, "Lingue conosciute") + th(300, "Social media") +
    th(300, "Band di appartenenza") + th(250, "Altezza") + th(250, "Peso") + th(250, "Occhi") +
    th(250, "Capelli") + th(300, "Impegni sociali") + th(300, "Altre attivit\xe0") +
    th(300, "Residenza attuale") + th(250, "Giudizio") + th(300, "Generi musicali") +
    th(300, "Premi e riconoscimenti") + th(350, "Note");

// A song card made byte by byte at the record's offsets, independently of the program's codec.
struct Song {
    QByteArray bytes = QByteArray(13344, '\0');
    Song &put(int offset, const QByteArray &text)
    {
        bytes.replace(offset, text.size(), text);
        return *this;
    }
};

// A singer card of counted texts, likewise by hand.
struct Singer {
    QByteArray bytes = QByteArray(5793, '\0');
    Singer &put(int offset, const QByteArray &text)
    {
        bytes[offset] = char(text.size());
        bytes.replace(offset + 1, text.size(), text);
        return *this;
    }
};

const int kSingerOffsets[] = {0,    51,   53,   64,   115,  166,  417,  668,  919,  1170, 1421,
                              1472, 1573, 1824, 2075, 2326, 2377, 2428, 2479, 2530, 2781, 3032,
                              3283, 3534, 3785, 4036, 4287, 4538, 4789, 5040, 5291, 5542};

QByteArray threeSongs()
{
    Song a, b, c;
    a.put(0, "  Volare  ")
        .put(121, "Domenico Modugno")
        .put(242, "Nel blu")
        .put(363, "Pop")
        .put(414, "Migliacci & Modugno")
        .put(665, "Italia")
        .put(716, "1958")
        .put(747, "Sanremo")
        .put(998, "Fonit")
        .put(1049, "3:35")
        .put(1080, "Penso che un sogno\r\ncos\xec")
        .put(6081, "I think")
        .put(11082, "https://example.org/?a=1&b=2")
        .put(11333, "Orchestra")
        .put(11584, "<live>")
        .put(11835, "S\xec")
        .put(11838, "volare.mp3")
        .put(12591, "Audio");
    b.put(0, "Citt\xe0 vuota").put(121, "Mina").put(11835, "No");
    c.put(0, "R&B <3").put(121, "\"Quoted\" singer").put(11584, "\tpi\xf9  spazi ");
    return a.bytes + b.bytes + c.bytes;
}

QByteArray threeSongsExport()
{
    return kOpen + "Collection Musicale" + kAfterName + kSongHeaders + "</tr>" + "<tr>" + td("Volare") +
           td("Domenico Modugno") + td("Nel blu") + td("Pop") + td("Migliacci &amp; Modugno") + td("Italia") +
           td("1958") + td("Sanremo") + td("Fonit") + td("3:35") + td("https://example.org/?a=1&amp;b=2") +
           td("Orchestra") + td("&lt;live&gt;") + "</tr>" + "<tr>" + td("Citt\xe0 vuota") + td("Mina") +
           td("") + td("") + td("") + td("") + td("") + td("") + td("") + td("") + td("") + td("") + td("") +
           "</tr>" + "<tr>" + td("R&amp;B &lt;3") + td("\"Quoted\" singer") + td("") + td("") + td("") +
           td("") + td("") + td("") + td("") + td("") + td("") + td("") + td("pi\xf9 &#32;spazi") + "</tr>" +
           kClose;
}

QString collectionPath()
{
    return ProgramFolder::file(QStringLiteral("Rock.mus"));
}

QString collectionExport()
{
    return ProgramFolder::file(QStringLiteral("Collection.xls"));
}

QString quoted(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

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

// Runs one export from a freshly opened collection window.
void exportCollection()
{
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    click(&window, QStringLiteral("cmdEsporta"));
}

// A proposed export: the program folder, the name, the date of the export and the suffix. The day
// was taken just before the export, which may have run past midnight.
void checkProposal(const QString &proposal, const QString &name, const QString &suffix, QDate day)
{
    QStringList expected;
    for (const QDate d : {day, QDate::currentDate()})
        expected << name + QLatin1Char(' ') + d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('.') + suffix;
    QVERIFY2(expected.contains(QFileInfo(proposal).fileName()), qPrintable(proposal));
}

// The grid's columns on screen, left to right.
QList<int> shownColumns(QTableView *grid)
{
    QList<int> shown;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            shown << c;
    return shown;
}

void moveOver(QWidget *w)
{
    const QPoint at(w->width() / 2, w->height() / 2);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

void TestExports::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_desk = std::make_unique<RecordingDesktop>();
}

void TestExports::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    m_desk.reset();
    m_folder.reset();
}

void TestExports::emptyCollectionGivesHeaderOnly()
{
    // The collection is missing: the window creates it empty and exports the header row.
    m_desk->confirmations << true;
    m_desk->choices << kNo;
    exportCollection();
    QVERIFY(QFileInfo(collectionPath()).isFile());
    QCOMPARE(QFileInfo(collectionPath()).size(), 0);
    QCOMPARE(fileContent(collectionExport()),
             kOpen + "Collection Musicale" + kAfterName + kSongHeaders + "</tr>" + kClose);
    QCOMPARE(m_desk->texts(), (QStringList{kAskExport, askOpen(collectionExport())}));
    QCOMPARE(m_desk->choiceAnswers, QList<QStringList>{kOpenAnswers});
    QCOMPARE(m_desk->messages.at(0).kind, Kind::Confirmation);
    QCOMPARE(m_desk->messages.at(1).kind, Kind::Confirmation);
    QVERIFY(m_desk->opened.isEmpty());
}

void TestExports::threeCardsFixture()
{
    writeFile(collectionPath(), threeSongs());
    m_desk->confirmations << true;
    m_desk->choices << kOpenFile;
    exportCollection();
    QCOMPARE(fileContent(collectionExport()), threeSongsExport());
    QCOMPARE(m_desk->opened, QStringList{quoted(collectionExport())});
    // The export never touches the collection.
    QCOMPARE(fileContent(collectionPath()), threeSongs());
}

void TestExports::xlsUnchanged()
{
    // A collection with memos, flags, attachments and every awkward character, and the .xls the
    // export wrote for it before the .xlsx and .csv learnt to carry every field.
    const QString data = QStringLiteral(CANTORIUM_TESTS_DIR "/output/data/");
    writeFile(collectionPath(), fileContent(data + QStringLiteral("fixture.mus")));
    m_desk->confirmations << true;
    m_desk->choices << kNo;
    // "Tutte le colonne" ticked for another format is not for the .xls.
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    window.cboFormato->setCurrentIndex(1);
    window.chkTutte->setChecked(true);
    window.cboFormato->setCurrentIndex(0);
    click(&window, QStringLiteral("cmdEsporta"));
    QCOMPARE(fileContent(collectionExport()), fileContent(data + QStringLiteral("fixture.xls")));
}

void TestExports::gridShowsEveryCard()
{
    // A trailing part of a record is not a card.
    writeFile(collectionPath(), threeSongs() + QByteArray(100, 'x'));
    FrmExpCollection window(nullptr, QStringLiteral(" ") + collectionPath());
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral(" Esporta collection musicale in Microsoft Excel"));
    auto *grid = child<QTableView>(&window, QStringLiteral("grdRecords"));
    QAbstractItemModel *model = grid->model();
    QCOMPARE(model->rowCount(), 3);
    // The grid shows the .xls columns; the others wait for "Tutte le colonne".
    const QList<int> shown = shownColumns(grid);
    QCOMPARE(shown.size(), 14);
    const QStringList headers{"N.",
                              "Titolo canzone",
                              "Cantante",
                              "Album",
                              "Genere musicale",
                              "Autori",
                              "Nazione",
                              "Anno",
                              "Premi e riconoscimenti",
                              "Casa discografica",
                              "Durata",
                              "Sito Web",
                              "Musica",
                              "Note"};
    const QList<int> widths{60, 300, 250, 300, 200, 300, 200, 150, 350, 250, 180, 250, 350, 350};
    for (int c = 0; c < 14; ++c) {
        QCOMPARE(model->headerData(shown.at(c), Qt::Horizontal).toString(), headers.at(c));
        QCOMPARE(grid->columnWidth(shown.at(c)), widths.at(c));
    }
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 21);
    QVERIFY(grid->alternatingRowColors());
    const auto at = [model, &shown](int r, int c) { return model->index(r, shown.at(c)).data().toString(); };
    QCOMPARE(at(0, 0), QStringLiteral("1"));
    QCOMPARE(at(2, 0), QStringLiteral("3"));
    QCOMPARE(at(0, 1), QStringLiteral("Volare"));
    QCOMPARE(at(1, 1), QStringLiteral("Città vuota"));
    QCOMPARE(at(2, 13), QStringLiteral("più  spazi"));
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
}

void TestExports::gridReadsFieldsAsTheCards()
{
    // Records made elsewhere: a field without its terminating zero, a length byte beyond the
    // capacity, control characters and high bytes at the edges.
    Song song;
    song.put(363, QByteArray(51, 'G'))
        .put(414, "\x01\x81"
                  "Autori\x9f \x1f");
    song.put(0, "\xa0Titolo\xa0").put(121, QByteArray(121, 'C'));
    Singer singer;
    singer.put(0, " Nome ").put(53, "01/02/2003");
    singer.bytes[53] = char(255); // says more than the field holds
    singer.put(64, "\x80uro\x85");
    writeFile(collectionPath(), song.bytes);
    writeFile(SingerArchive::path(), singer.bytes);

    FrmExpCollection songs(nullptr, collectionPath());
    songs.show();
    const SongCard songCard = SongCard::decode(song.bytes);
    const auto &songColumns = songs.model()->columns();
    for (int c = 1; c < songColumns.size(); ++c)
        QCOMPARE(songs.model()->cell(0, c), ctrim(songCard.text(songColumns.at(c).field)));
    QCOMPARE(songs.model()->cell(0, 4), QString(51, QLatin1Char('G')));

    FrmExpAnagrafica singers(nullptr);
    singers.show();
    const SingerCard singerCard = SingerCard::decode(singer.bytes);
    const auto &singerColumns = singers.model()->columns();
    for (int c = 1; c < singerColumns.size(); ++c)
        QCOMPARE(singers.model()->cell(0, c), ctrim(singerCard.text(singerColumns.at(c).field)));
    QCOMPARE(singers.model()->cell(0, 1), QStringLiteral("Nome"));
}

void TestExports::answers_data()
{
    QTest::addColumn<bool>("exportIt");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("opened"); // relative to the program folder, or empty

    QTest::newRow("no export") << false << kNo << QString();
    QTest::newRow("export, not opened") << true << kNo << QString();
    QTest::newRow("export and open") << true << kOpenFile << "Collection.xls";
    QTest::newRow("export and open the folder") << true << kOpenFolder << ".";
}

void TestExports::answers()
{
    QFETCH(bool, exportIt);
    QFETCH(int, choice);
    QFETCH(QString, opened);
    writeFile(collectionPath(), threeSongs());
    m_desk->confirmations << exportIt;
    if (exportIt)
        m_desk->choices << choice;
    exportCollection();
    QCOMPARE(QFile::exists(collectionExport()), exportIt);
    if (exportIt)
        QCOMPARE(fileContent(collectionExport()), threeSongsExport());
    const QString target = QDir::cleanPath(m_folder->file(opened));
    QCOMPARE(m_desk->opened, opened.isEmpty() ? QStringList() : QStringList{quoted(target)});
    QCOMPARE(m_desk->messages.size(), exportIt ? 2 : 1);
}

void TestExports::exportTwiceReplaces()
{
    writeFile(collectionPath(), threeSongs());
    m_desk->confirmations << true;
    m_desk->choices << kNo;
    exportCollection();
    const QByteArray first = fileContent(collectionExport());
    Song one;
    one.put(0, "Solo").put(121, "Lei");
    writeFile(collectionPath(), one.bytes);
    m_desk->confirmations << true;
    m_desk->choices << kNo;
    exportCollection();
    const QByteArray second = fileContent(collectionExport());
    QCOMPARE(second, kOpen + "Collection Musicale" + kAfterName + kSongHeaders + "</tr><tr>" + td("Solo") +
                         td("Lei") + QByteArray(td("")).repeated(11) + "</tr>" + kClose);
    QVERIFY(second.size() < first.size());
}

void TestExports::folderInTheWayGivesMessage()
{
    writeFile(collectionPath(), threeSongs());
    QVERIFY(QDir().mkdir(collectionExport()));
    m_desk->confirmations << true;
    exportCollection();
    QCOMPARE(m_desk->last().kind, Kind::Plain);
    QCOMPARE(m_desk->last().text, failed(collectionExport()));
    QCOMPARE(m_desk->messages.size(), 2);
    QVERIFY(QFileInfo(collectionExport()).isDir());
    QVERIFY(m_desk->opened.isEmpty());
}

void TestExports::failedExportKeepsPreviousFile()
{
    Song one;
    one.put(0, "Solo").put(121, "Lei");
    writeFile(collectionPath(), one.bytes);
    m_desk->confirmations << true;
    m_desk->choices << kNo;
    exportCollection();
    const QByteArray previous = fileContent(collectionExport());
    QVERIFY(!previous.isEmpty());

    // Many more cards, and a file-size limit under the new export's size: the write fails part way.
    QByteArray many;
    for (int i = 0; i < 200; ++i)
        many += threeSongs();
    writeFile(collectionPath(), many);
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    QCOMPARE(window.model()->rowCount(), 600);

    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8192;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    m_desk->confirmations << true;
    click(&window, QStringLiteral("cmdEsporta"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(m_desk->last().text, failed(collectionExport()));
    QCOMPARE(fileContent(collectionExport()), previous);
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("Collection.xls"), QStringLiteral("Rock.mus")}));
}

void TestExports::unreadableArchiveLeavesEmptyGrid()
{
    // A folder where the archive should be: no rows, no message, nothing created.
    QVERIFY(QDir().mkdir(SingerArchive::path()));
    FrmExpAnagrafica window(nullptr);
    window.show();
    QCOMPARE(window.model()->rowCount(), 0);
    QVERIFY(m_desk->messages.isEmpty());
    QVERIFY(QFileInfo(SingerArchive::path()).isDir());
}

void TestExports::hintLine()
{
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    auto *panInfo = child<QLabel>(&window, QStringLiteral("panInfo"));
    QCOMPARE(panInfo->text(), QStringLiteral("Esportazione archivio in Microsoft Excel."));
    const QList<std::pair<QString, QString>> hints{
        {QStringLiteral("cmdEsporta"), QStringLiteral("Esporta l'archivio in formato Microsoft Excel.")},
        {QStringLiteral("cmdGuida"),
         QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {QStringLiteral("cmdEsci"), QStringLiteral("Esci da questo ambiente di lavoro.")},
    };
    for (const auto &[name, hint] : hints) {
        moveOver(child(&window, name));
        QCOMPARE(panInfo->text(), hint);
        QCOMPARE(child(&window, name)->cursor().shape(), Qt::PointingHandCursor);
    }
    moveOver(child<QTableView>(&window, QStringLiteral("grdRecords"))->viewport());
    QCOMPARE(panInfo->text(), QString());
    moveOver(child(&window, QStringLiteral("cmdEsci")));
    moveOver(child(&window, QStringLiteral("shpInfo")));
    QCOMPARE(panInfo->text(), QString());
    QVERIFY(window.isVisible());
    click(&window, QStringLiteral("cmdEsci"));
    QVERIFY(!window.isVisible());
}

void TestExports::helpWindow()
{
    QString title, text;
    m_desk->modalHandlers.enqueue([&](QDialog *dialog) {
        title = child<QLabel>(dialog, QStringLiteral("lblTitolo"))->text();
        text = child<QPlainTextEdit>(dialog, QStringLiteral("txtGuida"))->toPlainText();
        dialog->reject();
    });
    FrmExpAnagrafica window(nullptr);
    window.show();
    click(&window, QStringLiteral("cmdGuida"));
    QCOMPARE(title, QStringLiteral("Esportazione archivio cantanti in Microsoft Excel."));
    QCOMPARE(text.split(QStringLiteral("\n\n")).size(), 3);
    QVERIFY(text.contains(QStringLiteral("XLS")));
}

void TestExports::emptySingerArchiveGivesHeaderOnly()
{
    m_desk->confirmations << true;
    m_desk->choices << kOpenFile;
    FrmExpAnagrafica window(nullptr);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral(" Esporta archivio cantanti in Microsoft Excel"));
    click(&window, QStringLiteral("cmdEsporta"));
    const QString path = ProgramFolder::file(QStringLiteral("Archivio_Cantanti.xls"));
    QCOMPARE(fileContent(path), kOpen + "Archivio Cantanti" + kAfterName + kSingerHeaders + "</tr>" + kClose);
    QCOMPARE(m_desk->opened, QStringList{quoted(path)});
    QVERIFY(QFileInfo(SingerArchive::path()).isFile());
}

void TestExports::singerRowFollowsRecordOrder()
{
    // Every field holds its own index; the sex (1) and the attachments (26-31) never appear.
    Singer card;
    for (int i = 0; i < 32; ++i)
        card.put(kSingerOffsets[i], " F" + QByteArray::number(i) + " ");
    card.put(kSingerOffsets[1], "M");
    writeFile(SingerArchive::path(), card.bytes + card.bytes);
    m_desk->confirmations << true;
    m_desk->choices << kNo;
    FrmExpAnagrafica window(nullptr);
    window.show();
    QCOMPARE(window.model()->rowCount(), 2);
    QCOMPARE(shownColumns(window.grdRecords).size(), 26);
    QCOMPARE(window.model()->index(1, 0).data().toString(), QStringLiteral("2"));
    QCOMPARE(window.model()->index(0, 1).data().toString(), QStringLiteral("F0"));
    click(&window, QStringLiteral("cmdEsporta"));
    QByteArray row = "<tr>" + td("F0");
    for (int i = 2; i <= 25; ++i)
        row += td("F" + QByteArray::number(i));
    row += "</tr>";
    QCOMPARE(fileContent(ProgramFolder::file(QStringLiteral("Archivio_Cantanti.xls"))),
             kOpen + "Archivio Cantanti" + kAfterName + kSingerHeaders + "</tr>" + row + row + kClose);
}

void TestExports::editorsOpenTheirExport_data()
{
    QTest::addColumn<bool>("songs");
    QTest::newRow("song editor") << true;
    QTest::newRow("singer editor") << false;
}

void TestExports::editorsOpenTheirExport()
{
    QFETCH(bool, songs);
    std::unique_ptr<QWidget> editor;
    QString expected;
    int rows = 0;
    if (songs) {
        writeFile(collectionPath(), threeSongs());
        auto *e = new FrmCollection;
        e->openCollection(collectionPath(), QStringLiteral("Rock"));
        editor.reset(e);
        expected = QStringLiteral("frmExpCollection");
        rows = 3;
    } else {
        Singer card;
        card.put(0, "Mina").put(51, "F");
        writeFile(SingerArchive::path(), card.bytes);
        editor.reset(new FrmAnagrafica);
        expected = QStringLiteral("frmExpAnagrafica");
        rows = 1;
    }
    editor->show();
    QString opened;
    int shown = -1;
    m_desk->modalHandlers.enqueue([&](QDialog *dialog) {
        opened = dialog->objectName();
        shown = child<QTableView>(dialog, QStringLiteral("grdRecords"))->model()->rowCount();
        QCOMPARE(dialog->parentWidget(), editor.get());
        click(dialog, QStringLiteral("cmdEsci"));
    });
    click(editor.get(), QStringLiteral("cmdEsporta"));
    QCOMPARE(opened, expected);
    QCOMPARE(shown, rows);
}

namespace
{

const QStringList kFormats{QStringLiteral("Microsoft Excel (.xls)"),
                           QStringLiteral("Cartella di lavoro di Excel (.xlsx)"),
                           QStringLiteral("Testo separato da punto e virgola (.csv)")};

const QStringList kSongHeaderTexts{
    "Titolo canzone",         "Cantante",          "Album",  "Genere musicale", "Autori", "Nazione", "Anno",
    "Premi e riconoscimenti", "Casa discografica", "Durata", "Sito Web",        "Musica", "Note"};

// The three cards as the .csv file holds them: UTF-8 after a byte-order mark, every field quoted.
const QByteArray kThreeSongsCsv =
    "\xEF\xBB\xBF\"Titolo canzone\";\"Cantante\";\"Album\";\"Genere musicale\";\"Autori\";\"Nazione\";"
    "\"Anno\";\"Premi e riconoscimenti\";\"Casa discografica\";\"Durata\";\"Sito "
    "Web\";\"Musica\";\"Note\"\r\n"
    "\"Volare\";\"Domenico Modugno\";\"Nel blu\";\"Pop\";\"Migliacci & Modugno\";\"Italia\";\"1958\";"
    "\"Sanremo\";\"Fonit\";\"3:35\";\"https://example.org/?a=1&b=2\";\"Orchestra\";\"<live>\"\r\n"
    "\"Citt\xc3\xa0 vuota\";\"Mina\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\"\r\n"
    "\"R&B <3\";\"\"\"Quoted\"\" singer\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"pi\xc3\xb9  "
    "spazi\"\r\n";

// The same cards as the worksheet's rows; a row ends at its last written cell.
const QList<QStringList> kThreeSongsRows{
    {"Volare", "Domenico Modugno", "Nel blu", "Pop", "Migliacci & Modugno", "Italia", "1958", "Sanremo",
     "Fonit", "3:35", "https://example.org/?a=1&b=2", "Orchestra", "<live>"},
    {"Città vuota", "Mina"},
    {"R&B <3", "\"Quoted\" singer", "", "", "", "", "", "", "", "", "", "", "più  spazi"}};

// Picks a format in the window's list as a user does, with the keyboard on the closed list.
void chooseFormat(QWidget *window, int index)
{
    auto *list = child<QComboBox>(window, QStringLiteral("cboFormato"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), index);
}

} // namespace

void TestExports::formatList()
{
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    auto *list = child<QComboBox>(&window, QStringLiteral("cboFormato"));
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    QCOMPARE(items, kFormats);
    QCOMPARE(list->currentIndex(), 0); // the .xls stays the default
    auto *caption = child<QLabel>(&window, QStringLiteral("lblFormato"));
    QCOMPARE(caption->text(), QStringLiteral("Formato del file:"));
    QCOMPARE(caption->buddy(), list);
    QVERIFY(list->isVisible());
    QVERIFY(!list->geometry().intersects(child(&window, QStringLiteral("grdRecords"))->geometry()));
    moveOver(list);
    QCOMPARE(child<QLabel>(&window, QStringLiteral("panInfo"))->text(),
             QStringLiteral("Sceglie il formato del file da esportare."));
}

void TestExports::exportsInChosenFormat_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::newRow("xlsx") << 1 << "xlsx"
                          << "Selezionare la cartella in cui si desidera salvare il file Excel."
                          << "Cartella di lavoro di Excel";
    QTest::newRow("csv") << 2 << "csv"
                         << "Selezionare la cartella in cui si desidera salvare il file CSV."
                         << "Testo separato da punto e virgola";
}

void TestExports::exportsInChosenFormat()
{
    QFETCH(int, index);
    QFETCH(QString, suffix);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    if (suffix == QLatin1String("xlsx"))
        REQUIRE_UNZIP();
    const bool csv = suffix == QLatin1String("csv");
    writeFile(collectionPath(), threeSongs());
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("copie")));
    const QString chosen = m_folder->file(QStringLiteral("copie/Rock.") + suffix);
    m_desk->confirmations << true;
    m_desk->choices << kOpenFile;
    m_desk->fileAnswers << chosen;

    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    chooseFormat(&window, index);
    const QDate day = QDate::currentDate();
    click(&window, QStringLiteral("cmdEsporta"));

    // The dialog proposes the collection's name and the date, with the format's suffix and type, in
    // the user's home at first; the next export starts where this one went.
    QCOMPARE(m_desk->dialogProposals.size(), 1);
    QCOMPARE(QFileInfo(m_desk->dialogProposals.first()).absolutePath(), QDir::homePath());
    checkProposal(m_desk->dialogProposals.first(), QStringLiteral("Rock"), suffix, day);
    QCOMPARE(Preferences::startFolder(QStringLiteral("esporta")), m_folder->file(QStringLiteral("copie")));
    QCOMPARE(m_desk->dialogTitles, QStringList{title});
    QCOMPARE(m_desk->dialogFilters, (QList<FileFilters>{{{filter, {QStringLiteral("*.") + suffix}}}}));
    QCOMPARE(m_desk->dialogSuffixes, QStringList{suffix});
    QCOMPARE(m_desk->texts(), (QStringList{csv ? kAskExportCsv : kAskExport, askOpen(chosen, !csv)}));
    QCOMPARE(m_desk->opened, QStringList{quoted(chosen)});
    // Only the chosen file is written; the .xls and the collection stay as they were.
    QVERIFY(!QFile::exists(collectionExport()));
    QCOMPARE(fileContent(collectionPath()), threeSongs());
    if (suffix == QLatin1String("csv")) {
        QCOMPARE(fileContent(chosen), kThreeSongsCsv);
        return;
    }
    const XlsxReadBack::Sheet sheet = XlsxReadBack::sheet(chosen);
    QVERIFY(sheet.wellFormed);
    QCOMPARE(sheet.rows.size(), 4);
    QCOMPARE(sheet.row(0), kSongHeaderTexts);
    for (int r = 0; r < 3; ++r)
        QCOMPARE(sheet.row(r + 1), kThreeSongsRows.at(r));
    QCOMPARE(XlsxReadBack::part(chosen, QStringLiteral("xl/workbook.xml"))
                 .count("<sheet name=\"Collection Musicale\""),
             1);
    QCOMPARE(sheet.autoFilter, QStringLiteral("A1:M4"));
    const QList<int> widths{400, 300, 400, 250, 350, 250, 180, 400, 250, 200, 300, 400, 400};
    QCOMPARE(sheet.widths.size(), widths.size());
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(XlsxReadBack::pixels(sheet.widths.at(c)), widths.at(c));
}

void TestExports::singerArchiveAsWorkbook()
{
    REQUIRE_UNZIP();
    Singer card;
    for (int i = 0; i < 32; ++i)
        card.put(kSingerOffsets[i], " F" + QByteArray::number(i) + " ");
    card.put(kSingerOffsets[1], "M")
        .put(kSingerOffsets[20], "Attivit\xe0 \x80 \xab"
                                 "1\xbb");
    writeFile(SingerArchive::path(), card.bytes);
    const QString chosen = ProgramFolder::file(QStringLiteral("Archivio_Cantanti.xlsx"));
    m_desk->confirmations << true;
    m_desk->choices << kNo;
    m_desk->fileAnswers << chosen;
    FrmExpAnagrafica window(nullptr);
    window.show();
    chooseFormat(&window, 1);
    const QDate day = QDate::currentDate();
    click(&window, QStringLiteral("cmdEsporta"));
    checkProposal(m_desk->dialogProposals.value(0), QStringLiteral("Archivio cantanti"), QStringLiteral("xlsx"),
                  day);
    QVERIFY(m_desk->opened.isEmpty());
    const XlsxReadBack::Sheet sheet = XlsxReadBack::sheet(chosen);
    QCOMPARE(XlsxReadBack::part(chosen, QStringLiteral("xl/workbook.xml"))
                 .count("<sheet name=\"Archivio Cantanti\""),
             1);
    QCOMPARE(sheet.row(0).size(), 25);
    QCOMPARE(sheet.row(0).at(19), QStringLiteral("Altre attività"));
    QStringList expected;
    for (int i = 0; i <= 25; ++i)
        if (i != 1)
            expected << (i == 20 ? QStringLiteral("Attività € «1»") : QStringLiteral("F%1").arg(i));
    QCOMPARE(sheet.row(1), expected);
    QCOMPARE(XlsxReadBack::pixels(sheet.widths.at(0)), 250);
    QCOMPARE(XlsxReadBack::pixels(sheet.widths.at(24)), 350);
}

void TestExports::cancelledSaveDialogWritesNothing()
{
    writeFile(collectionPath(), threeSongs());
    m_desk->confirmations << true;
    m_desk->fileAnswers << QString();
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    chooseFormat(&window, 2);
    click(&window, QStringLiteral("cmdEsporta"));
    QCOMPARE(m_desk->texts(), QStringList{kAskExportCsv});
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{QStringLiteral("Rock.mus")});
}

void TestExports::neverReplacesAFileOfAnotherType_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("the collection itself") << "Rock.mus";
    QTest::newRow("the singer archive") << "Archivio_Cantanti.pro";
    QTest::newRow("the password store") << "unins000.dll";
}

void TestExports::neverReplacesAFileOfAnotherType()
{
    QFETCH(QString, name);
    writeFile(collectionPath(), threeSongs());
    const QString target = m_folder->file(name);
    if (!QFile::exists(target))
        writeFile(target, "keep me");
    const QByteArray before = fileContent(target);
    m_desk->confirmations << true;
    m_desk->fileAnswers << target;
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    chooseFormat(&window, 2);
    click(&window, QStringLiteral("cmdEsporta"));
    QCOMPARE(m_desk->texts(), (QStringList{kAskExportCsv, failed(target, false)}));
    QCOMPARE(fileContent(target), before);
}

void TestExports::failureInChosenFormat_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("sizeLimit"); // otherwise a folder stands where the file goes
    QTest::newRow("xlsx, folder in the way") << 1 << false;
    QTest::newRow("xlsx, disk full") << 1 << true;
    QTest::newRow("csv, folder in the way") << 2 << false;
    QTest::newRow("csv, disk full") << 2 << true;
}

void TestExports::failureInChosenFormat()
{
    QFETCH(int, index);
    QFETCH(bool, sizeLimit);
    const QString suffix = index == 1 ? QStringLiteral("xlsx") : QStringLiteral("csv");
    const QString chosen = ProgramFolder::file(QStringLiteral("Collection.") + suffix);
    QByteArray previous;
    if (sizeLimit) {
        // A first export of one card, then many more cards and a file-size limit under the new size.
        Song one;
        one.put(0, "Solo").put(121, "Lei");
        writeFile(collectionPath(), one.bytes);
        m_desk->confirmations << true;
        m_desk->choices << kNo;
        m_desk->fileAnswers << chosen;
        FrmExpCollection first(nullptr, collectionPath());
        first.show();
        chooseFormat(&first, index);
        click(&first, QStringLiteral("cmdEsporta"));
        previous = fileContent(chosen);
        QVERIFY(!previous.isEmpty());
        QByteArray many;
        for (int i = 0; i < 200; ++i)
            many += threeSongs();
        writeFile(collectionPath(), many);
    } else {
        writeFile(collectionPath(), threeSongs());
        QVERIFY(QDir().mkdir(chosen));
    }
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    chooseFormat(&window, index);
    m_desk->messages.clear();
    m_desk->confirmations << true;
    m_desk->fileAnswers << chosen;
    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (sizeLimit) {
        struct rlimit small = saved;
        small.rlim_cur = previous.size() + 2048;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    click(&window, QStringLiteral("cmdEsporta"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    const bool csv = index == 2;
    QCOMPARE(m_desk->texts(), (QStringList{csv ? kAskExportCsv : kAskExport, failed(chosen, !csv)}));
    QCOMPARE(m_desk->last().kind, Kind::Plain);
    QVERIFY(m_desk->opened.isEmpty());
    if (sizeLimit)
        QCOMPARE(fileContent(chosen), previous);
    else
        QVERIFY(QFileInfo(chosen).isDir());
    QStringList expected{QStringLiteral("Rock.mus")};
    if (sizeLimit) // the first export's file, and the folder it went to remembered for the next
        expected = QStringList{QString::fromLatin1(Preferences::kFileName), QStringLiteral("Collection.") + suffix,
                               QStringLiteral("Rock.mus")};
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), expected);
}

void TestExports::realSaveDialogProposesNameAndType_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("entry");
    QTest::newRow("xlsx") << 1 << "xlsx"
                          << "Cartella di lavoro di Excel (*.xlsx)";
    QTest::newRow("csv") << 2 << "csv"
                         << "Testo separato da punto e virgola (*.csv)";
}

void TestExports::realSaveDialogProposesNameAndType()
{
    QFETCH(int, index);
    QFETCH(QString, suffix);
    QFETCH(QString, entry);
    // What the command asks of the desktop, in the folder of the last export ...
    Preferences::rememberFolder(QStringLiteral("esporta"), m_folder->path());
    m_desk->confirmations << true;
    m_desk->fileAnswers << QString();
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    chooseFormat(&window, index);
    click(&window, QStringLiteral("cmdEsporta"));
    QCOMPARE(m_desk->dialogTitles.size(), 1);

    // ... is the dialog the real desktop shows.
    QFileDialog dialog;
    setUpFileDialog(dialog, true, m_desk->dialogTitles.first(), m_desk->dialogProposals.first(),
                    m_desk->dialogFilters.first(), m_desk->dialogSuffixes.first());
    dialog.show();
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog.nameFilters(), QStringList{entry});
    QCOMPARE(dialog.selectedNameFilter(), entry);
    QCOMPARE(dialog.defaultSuffix(), suffix);
    QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(m_folder->path()).canonicalPath());
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    QCOMPARE(edit->text(), QFileInfo(m_desk->dialogProposals.first()).fileName());
    QVERIFY(edit->text().startsWith(QStringLiteral("Rock 2")));
    dialog.close();
}

namespace
{

const QStringList kAllSongHeaders{
    "Titolo canzone", "Cantante", "Album", "Genere musicale", "Autori", "Nazione", "Anno",
    "Premi e riconoscimenti", "Casa discografica", "Durata", "Testo canzone", "Traduzione", "Sito Web", "Musica",
    "Note", "Segnalata", "Allegato 1", "Allegato 2", "Allegato 3", "Descrizione allegato 1",
    "Descrizione allegato 2", "Descrizione allegato 3"};

// How a field of a record reads in an .xlsx or .csv cell, worked out from its bytes: up to the first
// zero (or the length byte), Windows-1252, every line break one LF, trimmed.
QString expectedCell(const char *at, int width, bool counted)
{
    int n = width;
    if (counted) {
        n = qMin(int(static_cast<unsigned char>(*at)), width - 1);
        ++at;
    } else if (const void *zero = memchr(at, 0, size_t(width))) {
        n = int(static_cast<const char *>(zero) - at);
    }
    QString text = Ansi::toUnicode(at, n);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return ctrim(text);
}

const int kSongOffsets[] = {0,     121,   242,   363,   414,   665,   716,   747,   998,   1049,  1080, 6081,
                            11082, 11333, 11584, 11835, 11838, 12089, 12340, 12591, 12842, 13093, 13344};

QList<QStringList> expectedSongs(const QByteArray &file)
{
    QList<QStringList> rows{kAllSongHeaders};
    for (qsizetype r = 0; r + 13344 <= file.size(); r += 13344) {
        QStringList row;
        for (int f = 0; f < 22; ++f)
            row << expectedCell(file.constData() + r + kSongOffsets[f], kSongOffsets[f + 1] - kSongOffsets[f], false);
        rows << row;
    }
    return rows;
}

// A .csv file read as a spreadsheet program reads it: ";" between fields, fields between double
// quotes with their quotes doubled, CR LF after each row.
QList<QStringList> readCsv(const QByteArray &bytes)
{
    QList<QStringList> rows;
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return rows;
    const QString text = QString::fromUtf8(bytes.mid(3));
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))) {
            row << field;
            field.clear();
            rows << row;
            row.clear();
            ++i;
        } else {
            return {}; // not a well-formed file
        }
    }
    return rows;
}

// Every row of a sheet read back, its empty cells at the end included.
QList<QStringList> readXlsx(const QString &path, int width)
{
    const XlsxReadBack::Sheet sheet = XlsxReadBack::sheet(path);
    if (!sheet.wellFormed)
        return {};
    QList<QStringList> rows;
    for (int r = 0; r < sheet.rows.size(); ++r) {
        QStringList row = sheet.row(r);
        while (row.size() < width)
            row << QString();
        rows << row;
    }
    return rows;
}

// Exports the window's archive in `index`'s format with every field to `path`, saying no to opening it.
void exportAll(ExportWindow &window, int index, const QString &path, RecordingDesktop &desk)
{
    desk.confirmations << true;
    desk.choices << kNo;
    desk.fileAnswers << path;
    window.show();
    chooseFormat(&window, index);
    QTest::mouseClick(window.chkTutte, Qt::LeftButton, {}, QPoint(8, window.chkTutte->height() / 2));
    QVERIFY(window.allColumns());
    click(&window, QStringLiteral("cmdEsporta"));
}

} // namespace

void TestExports::allColumnsOnlyBesideTheXls()
{
    writeFile(collectionPath(), threeSongs());
    FrmExpCollection window(nullptr, collectionPath());
    window.show();
    auto *all = child<QCheckBox>(&window, QStringLiteral("chkTutte"));
    QCOMPARE(all->text(), QStringLiteral("Tutte le colonne"));
    QVERIFY(all->isVisible());
    QVERIFY(!all->isEnabled()); // the .xls keeps its columns
    QVERIFY(!all->geometry().intersects(child(&window, QStringLiteral("grdRecords"))->geometry()));
    QVERIFY(!all->geometry().intersects(window.cboFormato->geometry()));
    for (int index : {1, 2}) {
        chooseFormat(&window, index);
        QVERIFY(all->isEnabled());
        all->setChecked(true);
        // Every field of the card on screen, in record order after the position.
        QList<int> shown = shownColumns(window.grdRecords);
        QCOMPARE(shown.size(), 1 + SongCard::FieldCount);
        QStringList headers;
        for (int c = 1; c < shown.size(); ++c)
            headers << window.model()->headerData(shown.at(c), Qt::Horizontal).toString();
        QCOMPARE(headers, kAllSongHeaders);
        QCOMPARE(window.model()->index(0, shown.at(11)).data().toString(), QStringLiteral("Penso che un sogno\ncosì"));
        QCOMPARE(window.model()->index(0, shown.at(16)).data().toString(), QStringLiteral("Sì"));
        QCOMPARE(window.model()->index(0, shown.at(17)).data().toString(), QStringLiteral("volare.mp3"));
        all->setChecked(false);
        QCOMPARE(shownColumns(window.grdRecords).size(), 14);
    }
    moveOver(all);
    QCOMPARE(child<QLabel>(&window, QStringLiteral("panInfo"))->text(),
             QStringLiteral("Esporta ogni campo della scheda, non solo le colonne del file XLS."));
}

void TestExports::fullExportReadsBack_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("xlsx") << 1;
    QTest::newRow("csv") << 2;
}

void TestExports::fullExportReadsBack()
{
    QFETCH(int, index);
    if (index == 1)
        REQUIRE_UNZIP();
    // The fixture (lyrics with CR LF, lone line breaks, tabs, &<>", 5,000-byte memos, flags,
    // attachments, "0042", "=1+1", "_x0041_"), and a card typed with names outside Windows-1252 and
    // Unicode spaces, exported as the card stores them.
    SongCard typed;
    typed.setText(SongCard::Titolo, QStringLiteral("Dvořák\u2003東京 — Ελλάδα"));
    typed.setText(SongCard::Cantante, QStringLiteral("\u00A0Björk\u00A0"));
    typed.setText(SongCard::Testo, QStringLiteral("Ω riga\n\n\tseconda \"riga\" & <fine>"));
    typed.setText(SongCard::Segnala, SongCard::flagText(true));
    typed.setText(SongCard::Desc03, QStringLiteral("Descrizione 🎵"));
    const QByteArray file =
        fileContent(QStringLiteral(CANTORIUM_TESTS_DIR "/output/data/fixture.mus")) + typed.encode();
    QCOMPARE(file.size(), 5 * SongCard::kSize);
    writeFile(collectionPath(), file);
    const QString chosen = m_folder->file(index == 1 ? QStringLiteral("Tutto.xlsx") : QStringLiteral("Tutto.csv"));
    FrmExpCollection window(nullptr, collectionPath());
    exportAll(window, index, chosen, *m_desk);

    const QList<QStringList> rows =
        index == 1 ? readXlsx(chosen, SongCard::FieldCount) : readCsv(fileContent(chosen));
    const QList<QStringList> expected = expectedSongs(file);
    QCOMPARE(rows.size(), expected.size());
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < SongCard::FieldCount; ++c)
            QVERIFY2(rows.at(r).value(c) == expected.at(r).at(c),
                     qPrintable(QStringLiteral("row %1, column %2: %3").arg(r).arg(c).arg(rows.at(r).value(c))));
    // The cells as a user reads them: whole lyrics, the typed card as it was stored.
    // 5,000 bytes of lyrics: 92 CR LF, each one line break, and a trailing space trimmed.
    QCOMPARE(rows.at(3).at(10).count(QLatin1Char('\n')), 92);
    QCOMPARE(rows.at(3).at(10).size(), 5000 - 92 - 1);
    QCOMPARE(rows.at(5).at(0), SongCard::decode(typed.encode()).text(SongCard::Titolo));
    QCOMPARE(rows.at(5).at(1), QStringLiteral("\u00A0Björk\u00A0")); // not a code up to U+0020: kept
    QCOMPARE(rows.at(5).at(10), QStringLiteral("O riga\n\n\tseconda \"riga\" & <fine>"));
    QCOMPARE(rows.at(2).at(15), QStringLiteral("No"));
    QCOMPARE(m_desk->texts().last(), askOpen(chosen, index == 1));
    QCOMPARE(fileContent(collectionPath()), file);
}

void TestExports::fullSingerExport()
{
    REQUIRE_UNZIP();
    Singer card;
    for (int i = 0; i < 32; ++i)
        card.put(kSingerOffsets[i], " F" + QByteArray::number(i) + " ");
    card.put(kSingerOffsets[1], "M").put(kSingerOffsets[26], "foto & \"note\".jpg");
    writeFile(SingerArchive::path(), card.bytes);
    const QString chosen = m_folder->file(QStringLiteral("Cantanti.xlsx"));
    FrmExpAnagrafica window(nullptr);
    exportAll(window, 1, chosen, *m_desk);
    const QList<QStringList> rows = readXlsx(chosen, 32);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).mid(0, 3), (QStringList{"Nome d'arte", "Sesso", "Data di nascita"}));
    QCOMPARE(rows.at(0).mid(25), (QStringList{"Note", "Allegato 1", "Allegato 2", "Allegato 3",
                                              "Descrizione allegato 1", "Descrizione allegato 2",
                                              "Descrizione allegato 3"}));
    QStringList expected;
    for (int i = 0; i < 32; ++i)
        expected << expectedCell(card.bytes.constData() + kSingerOffsets[i],
                                 (i == 31 ? 5793 : kSingerOffsets[i + 1]) - kSingerOffsets[i], true);
    QCOMPARE(rows.at(1), expected);
    QCOMPARE(rows.at(1).at(1), QStringLiteral("M"));
    QCOMPARE(rows.at(1).at(26), QStringLiteral("foto & \"note\".jpg"));
}

void TestExports::realQuestionBox()
{
    // The desktop's own box: the answers in order, the first the default, Esc the last; a name
    // with markup shown as written.
    installDesktop(nullptr);
    const QString text = QStringLiteral("Esportato nel file\r\n/tmp/<b>Rock</b>.xlsx\r\n\r\nSi vuole aprire il file?");
    const QStringList answers = kOpenAnswers;
    QStringList seen;
    QString shownText;
    auto answerWith = [&](std::function<void(QMessageBox *)> act) {
        QTimer::singleShot(0, [&, act] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen.clear();
            for (QAbstractButton *b : box->buttons())
                seen << b->text();
            shownText = box->text();
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->defaultButton()->text(), answers.first());
            act(box);
        });
        return desktop().choose(text, answers);
    };
    const auto clickOn = [](const QString &label) {
        return [label](QMessageBox *box) {
            for (QAbstractButton *b : box->buttons())
                if (b->text() == label)
                    b->click();
        };
    };
    QCOMPARE(answerWith(clickOn(QStringLiteral("Apri la cartella"))), 1);
    QCOMPARE(answerWith(clickOn(QStringLiteral("Sì"))), 0);
    QCOMPARE(answerWith(clickOn(QStringLiteral("No"))), 2);
    QCOMPARE(answerWith([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); }), 2);
    QCOMPARE(answerWith([](QMessageBox *box) { box->close(); }), 2);
    QCOMPARE(answerWith([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); }), 0);
    seen.sort();
    QStringList sorted = answers;
    sorted.sort();
    QCOMPARE(seen, sorted);
    QCOMPARE(shownText, QStringLiteral("Esportato nel file\n/tmp/<b>Rock</b>.xlsx\n\nSi vuole aprire il file?"));
    installDesktop(m_desk.get());
}

QTEST_MAIN(TestExports)
#include "tst_exports.moc"
