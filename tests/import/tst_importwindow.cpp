#include "FileSizeLimit.h"
#include "RecordingDesktop.h"
#include "TestFiles.h"
#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "core/RecordFile.h"
#include "import/FrmImportaBrani.h"
#include "import/ImportHelp.h"
#include "import/ImportModel.h"
#include "records/AudioFile.h"
#include "records/SongCard.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolTip>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

using Kind = Desktop::Kind;

// The import window driven for real: reading a folder of real and hostile audio files off the
// interface thread, the preview grid and its check boxes, the batch append and its failures,
// cancelling, and the song editor's command that opens it.
class TestImportWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void texts_data();
    void texts();
    void countsMeetTheirNouns_data();
    void countsMeetTheirNouns();
    void boxAndFileStayInViewWithTheirMarks();
    void readsFolderIntoThePreview();
    void subfoldersCanBeLeftOut();
    void checkBoxesAndCounts();
    void importAppendsTheCheckedCards();
    void cancelAddsNothing_data();
    void cancelAddsNothing();
    void failedAppendLeavesTheCollection_data();
    void failedAppendLeavesTheCollection();
    void folderWarnings_data();
    void folderWarnings();
    void browseUsesTheFolderDialog();
    void realFolderDialog();
    void helpWindow();
    void editorOpensTheImport_data();
    void editorOpensTheImport();

private:
    QString collection() const { return m_program->file(QStringLiteral("Pop.mus")); }
    QString music() const { return m_music->path(); }
    // Reads `folder` in a fresh window, waits for the reading to end.
    FrmImportaBrani *readWindow(const QString &folder, bool subfolders = true);

    std::unique_ptr<TempProgramFolder> m_program;
    std::unique_ptr<QTemporaryDir> m_music;
    std::unique_ptr<RecordingDesktop> m_desk;
    std::unique_ptr<FrmImportaBrani> m_window;
};

namespace
{

template <typename T = QWidget> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

QString fixture(const QString &name)
{
    return QStringLiteral(CANTORIUM_TESTS_DIR "/records/audio/") + name;
}

void copyFixture(const QString &name, const QString &to)
{
    QVERIFY(QDir().mkpath(QFileInfo(to).path()));
    QVERIFY2(QFile::copy(fixture(name), to), qPrintable(to));
}

QByteArray songRecord(const QString &title, const QString &singer)
{
    SongCard card;
    card.setText(SongCard::Titolo, title);
    card.setText(SongCard::Cantante, singer);
    card.setText(SongCard::Segnala, QStringLiteral("No"));
    return card.encode();
}

int rowOf(const ImportModel *model, const QString &relative)
{
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->rows().at(r).relative == relative)
            return r;
    return -1;
}

} // namespace

void TestImportWindow::init()
{
    m_program = std::make_unique<TempProgramFolder>();
    m_music = std::make_unique<QTemporaryDir>();
    m_desk = std::make_unique<RecordingDesktop>();

    // The music folder: one file of each family, one in a subfolder, and the hostile ones.
    for (const char *name : {"id3v2.mp3", "id3v1.mp3", "vorbis.flac", "vorbis.ogg", "opus.opus", "mp4.m4a",
                             "asf.wma", "riff.wav", "aiff.aiff", "ape.wv", "testo.mp3", "troncato.flac",
                             "vuoto.mp3"})
        copyFixture(QString::fromLatin1(name), m_music->filePath(QString::fromLatin1(name)));
    copyFixture(QStringLiteral("id3v2.mp3"), m_music->filePath(QStringLiteral("Live/Caruso dal vivo.mp3")));
    copyFixture(QStringLiteral("vorbis.ogg"), m_music->filePath(QStringLiteral("Чайка – 東京.ogg")));
    writeFile(m_music->filePath(QStringLiteral("copertina.jpg")), "not a picture either");
    QVERIFY(QFile::link(m_music->filePath(QStringLiteral("giro.mp3")), m_music->filePath(QStringLiteral("anello.mp3"))));
    QVERIFY(QFile::link(m_music->filePath(QStringLiteral("anello.mp3")), m_music->filePath(QStringLiteral("giro.mp3"))));
    QVERIFY(QFile::link(m_music->path(), m_music->filePath(QStringLiteral("Live/indietro")))); // a folder loop
    QCOMPARE(::mkfifo(QFile::encodeName(m_music->filePath(QStringLiteral("tubo.flac"))).constData(), 0600), 0);

    // The collection already holds Caruso, written in other letters and with blanks.
    writeFile(collection(), songRecord(QStringLiteral(" CARUSO "), QStringLiteral("lucio DALLA")));
}

void TestImportWindow::cleanup()
{
    m_window.reset();
    VERIFY_DESKTOP_CLEAN(*m_desk);
    m_desk.reset();
    m_music.reset();
    m_program.reset();
}

FrmImportaBrani *TestImportWindow::readWindow(const QString &folder, bool subfolders)
{
    m_window = std::make_unique<FrmImportaBrani>(nullptr, collection());
    m_window->show();
    child<QLineEdit>(m_window.get(), QStringLiteral("txtCartella"))->setText(folder);
    child<QCheckBox>(m_window.get(), QStringLiteral("chkSottocartelle"))->setChecked(subfolders);
    QTest::mouseClick(child(m_window.get(), QStringLiteral("cmdLeggi")), Qt::LeftButton);
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!m_window->isReading(), 60000); }();
    return m_window.get();
}

void TestImportWindow::texts_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("progress");
    QTest::newRow("none") << 0 << 0 << "letti 0 file su 0";
    QTest::newRow("thousands") << 1234 << 3000 << "letti 1.234 file su 3.000";
    QTest::newRow("millions") << 999 << 1000000 << "letti 999 file su 1.000.000";
}

void TestImportWindow::texts()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(QString, progress);
    QCOMPARE(FrmImportaBrani::progressText(done, total), progress);
    QCOMPARE(FrmImportaBrani::addedText(1), QStringLiteral("È stata aggiunta 1 scheda alla collection."));
    QCOMPARE(FrmImportaBrani::addedText(1500), QStringLiteral("Sono state aggiunte 1.500 schede alla collection."));
}

void TestImportWindow::countsMeetTheirNouns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one checked") << FrmImportaBrani::countText(1, 19) << "1 brano spuntato su 19";
    QTest::newRow("none checked") << FrmImportaBrani::countText(0, 1) << "0 brani spuntati su 1";
    QTest::newRow("many checked") << FrmImportaBrani::countText(1200, 1500) << "1.200 brani spuntati su 1.500";
    QTest::newRow("one read") << FrmImportaBrani::progressText(1, 1) << "letto 1 file su 1";
    QTest::newRow("one ignored") << FrmImportaBrani::ignoredText(1) << "1 file ignorato (non audio)";
    QTest::newRow("many ignored") << FrmImportaBrani::ignoredText(3) << "3 file ignorati (non audio)";
}

void TestImportWindow::countsMeetTheirNouns()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestImportWindow::boxAndFileStayInViewWithTheirMarks()
{
    FrmImportaBrani *w = readWindow(music());
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // Room for a title bar on a 1366x768 screen.
    QVERIFY(w->width() <= 1366 && w->height() <= 740);
    auto *grid = child<QTableView>(w, QStringLiteral("grdBrani"));
    auto *frozen = child<QTableView>(w, QStringLiteral("grdFissi"));
    const ImportModel *model = w->model();
    const int wma = rowOf(model, QStringLiteral("asf.wma"));
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    grid->scrollTo(model->index(wma, ImportModel::columnOf(SongCard::Note)));
    QApplication::processEvents();
    // The frozen columns cover the grid's left edge, on the same rows.
    QVERIFY(frozen->isVisible());
    for (int c = 0; c < model->columnCount(); ++c)
        QCOMPARE(frozen->isColumnHidden(c), c != ImportModel::Check && c != ImportModel::File);
    const QRect file = frozen->visualRect(model->index(wma, ImportModel::File));
    QVERIFY(frozen->viewport()->rect().contains(file));
    QCOMPARE(frozen->viewport()->mapTo(grid, file.topLeft()).y(),
             grid->viewport()->mapTo(grid, grid->visualRect(model->index(wma, ImportModel::columnOf(SongCard::Note))).topLeft()).y());
    QVERIFY(file.width() >= grid->columnWidth(ImportModel::File) - 1); // less the grid line

    // A click on the frozen box ticks the row.
    const bool before = model->isChecked(wma);
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, Qt::NoModifier,
                      frozen->visualRect(model->index(wma, ImportModel::Check)).center());
    QCOMPARE(model->isChecked(wma), !before);

    // The row's marks in the tip of its file name.
    QHelpEvent tip(QEvent::ToolTip, file.center(), frozen->viewport()->mapToGlobal(file.center()));
    QApplication::sendEvent(frozen->viewport(), &tip);
    QVERIFY2(QToolTip::text().contains(QStringLiteral("lettere sostituite: Titolo, Album, Testo")),
             qPrintable(QToolTip::text()));
    QVERIFY(QToolTip::text().contains(QStringLiteral("asf.wma")));
    QToolTip::hideText();

    // No state cut short.
    const QFontMetrics metrics(grid->font());
    for (int r = 0; r < model->rowCount(); ++r)
        QVERIFY(metrics.horizontalAdvance(ImportModel::stateText(model->rows().at(r))) <
                grid->columnWidth(ImportModel::Stato));

    // The unreadable files: more than four lines in view.
    const auto *list = child<QListWidget>(w, QStringLiteral("lstScartati"));
    QVERIFY(list->count() >= 5);
    QVERIFY(list->viewport()->height() >= 5 * list->sizeHintForRow(0));
}

void TestImportWindow::readsFolderIntoThePreview()
{
    FrmImportaBrani *w = readWindow(music());
    const ImportModel *model = w->model();
    // Ten families, the subfolder's copy and the oddly named copy; the folder loop adds nothing.
    QCOMPARE(model->rowCount(), 12);
    QCOMPARE(child<QLabel>(w, QStringLiteral("lblProgresso"))->text(), QStringLiteral("letti 18 file su 18; 1 file ignorato (non audio)"));
    const auto *bar = child<QProgressBar>(w, QStringLiteral("prbLettura"));
    QCOMPARE(bar->value(), bar->maximum());

    // The same title and singer as a card of the collection: unchecked and marked, wherever it lies.
    for (const QString &name : {QStringLiteral("id3v2.mp3"), QStringLiteral("Live/Caruso dal vivo.mp3")}) {
        const int r = rowOf(model, name);
        QVERIFY2(r >= 0, qPrintable(name));
        QVERIFY(model->rows().at(r).present);
        QVERIFY(!model->isChecked(r));
        QVERIFY(model->data(model->index(r, ImportModel::Stato), Qt::DisplayRole).toString().contains(
            QStringLiteral("già presente")));
    }
    // The second copy of Città vuota repeats the first.
    const int first = rowOf(model, QStringLiteral("vorbis.ogg"));
    const int copy = rowOf(model, QStringLiteral("Чайка – 東京.ogg"));
    QVERIFY(first >= 0 && copy >= 0);
    QVERIFY(first < copy);
    QVERIFY(model->isChecked(first));
    QVERIFY(!model->isChecked(copy));
    QCOMPARE(model->data(model->index(copy, ImportModel::Stato), Qt::DisplayRole).toString(),
             QStringLiteral("ripetuto nella cartella"));

    // Letters the code page lacks: marked and shown as they will be stored.
    const int wma = rowOf(model, QStringLiteral("asf.wma"));
    QCOMPARE(model->data(model->index(wma, ImportModel::columnOf(SongCard::Titolo)), Qt::DisplayRole).toString(), QStringLiteral("Sarki"));
    QVERIFY(model->data(model->index(wma, ImportModel::columnOf(SongCard::Titolo)), Qt::BackgroundRole).isValid());
    QVERIFY(!model->data(model->index(wma, ImportModel::columnOf(SongCard::Genere)), Qt::BackgroundRole).isValid());
    QCOMPARE(model->data(model->index(wma, ImportModel::Stato), Qt::DisplayRole).toString(),
             QStringLiteral("lettere sostituite: Titolo, Album, Testo"));
    QVERIFY(model->isChecked(wma));

    QCOMPARE(child<QLabel>(w, QStringLiteral("lblConteggio"))->text(), QStringLiteral("9 brani spuntati su 12"));

    // Every file that could not be read is listed with its reason; the picture is left alone.
    QStringList unread;
    const auto *list = child<QListWidget>(w, QStringLiteral("lstScartati"));
    for (int i = 0; i < list->count(); ++i)
        unread << list->item(i)->text();
    unread.sort();
    const QString dash = QStringLiteral(" — ");
    QStringList expected{QStringLiteral("anello.mp3") + dash + AudioFile::kBrokenLink,
                         QStringLiteral("giro.mp3") + dash + AudioFile::kBrokenLink,
                         QStringLiteral("testo.mp3") + dash + AudioFile::kNotAudio,
                         QStringLiteral("troncato.flac") + dash + AudioFile::kNotAudio,
                         QStringLiteral("tubo.flac") + dash + AudioFile::kNotAFile,
                         QStringLiteral("vuoto.mp3") + dash + AudioFile::kEmpty};
    expected.sort();
    QCOMPARE(unread, expected);
    QCOMPARE(child<QLabel>(w, QStringLiteral("lblScartati"))->text(), QStringLiteral("File non letti: 6"));
    QVERIFY(child(w, QStringLiteral("cmdImporta"))->isEnabled());
}

void TestImportWindow::subfoldersCanBeLeftOut()
{
    const ImportModel *model = readWindow(music(), false)->model();
    QCOMPARE(model->rowCount(), 11);
    QCOMPARE(rowOf(model, QStringLiteral("Live/Caruso dal vivo.mp3")), -1);
}

void TestImportWindow::checkBoxesAndCounts()
{
    FrmImportaBrani *w = readWindow(music());
    auto *grid = child<QTableView>(w, QStringLiteral("grdBrani"));
    auto *count = child<QLabel>(w, QStringLiteral("lblConteggio"));
    const ImportModel *model = w->model();
    const int present = rowOf(model, QStringLiteral("id3v2.mp3"));
    const int flac = rowOf(model, QStringLiteral("vorbis.flac"));

    // A click on the check cell of the grid, as the user does it.
    auto clickCheck = [&](int row) {
        grid->scrollTo(model->index(row, 0));
        const QRect cell = grid->visualRect(model->index(row, ImportModel::Check));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    };
    clickCheck(present);
    QVERIFY(model->isChecked(present));
    QCOMPARE(count->text(), QStringLiteral("10 brani spuntati su 12"));
    clickCheck(flac);
    QVERIFY(!model->isChecked(flac));
    QCOMPARE(count->text(), QStringLiteral("9 brani spuntati su 12"));

    QTest::mouseClick(child(w, QStringLiteral("cmdNessuno")), Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("0 brani spuntati su 12"));
    QTest::mouseClick(child(w, QStringLiteral("cmdImporta")), Qt::LeftButton);
    QCOMPARE(m_desk->last().kind, Kind::Warning);
    QCOMPARE(m_desk->last().text, FrmImportaBrani::kNothingChecked);
    QCOMPARE(fileContent(collection()).size(), SongCard::kSize);
    QVERIFY(w->isVisible());

    QTest::mouseClick(child(w, QStringLiteral("cmdTutti")), Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("12 brani spuntati su 12"));
}

void TestImportWindow::importAppendsTheCheckedCards()
{
    FrmImportaBrani *w = readWindow(music());
    const ImportModel *model = w->model();
    const QList<SongCard> expected = model->checkedCards();
    QCOMPARE(expected.size(), 9);
    QTest::mouseClick(child(w, QStringLiteral("cmdImporta")), Qt::LeftButton);

    QCOMPARE(m_desk->texts(), QStringList{QStringLiteral("Sono state aggiunte 9 schede alla collection.")});
    QCOMPARE(m_desk->last().kind, Kind::Information);
    QVERIFY(!w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Accepted));
    QCOMPARE(w->added(), qint64(9));
    QCOMPARE(w->firstAdded(), qint64(2));

    // On disk: the old card, then the checked rows in grid order, as the grid showed them.
    RecordFile file(collection(), SongCard::kSize);
    QCOMPARE(file.count(), qint64(10));
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(SongCard::decode(file.read(i + 2)), expected.at(i));
    // The audio files stay as they were.
    QCOMPARE(fileContent(m_music->filePath(QStringLiteral("id3v2.mp3"))), fileContent(fixture(QStringLiteral("id3v2.mp3"))));
}

void TestImportWindow::cancelAddsNothing_data()
{
    QTest::addColumn<bool>("whileReading");
    QTest::newRow("after reading") << false;
    QTest::newRow("while reading") << true;
}

void TestImportWindow::cancelAddsNothing()
{
    QFETCH(bool, whileReading);
    const QByteArray before = fileContent(collection());
    if (whileReading) {
        // Enough files that the reading is still going when Annulla is pressed.
        QTemporaryDir many;
        for (int i = 0; i < 400; ++i)
            copyFixture(QStringLiteral("id3v2.mp3"), many.filePath(QStringLiteral("brano %1.mp3").arg(i)));
        m_window = std::make_unique<FrmImportaBrani>(nullptr, collection());
        m_window->show();
        child<QLineEdit>(m_window.get(), QStringLiteral("txtCartella"))->setText(many.path());
        QTest::mouseClick(child(m_window.get(), QStringLiteral("cmdLeggi")), Qt::LeftButton);
        QVERIFY(m_window->isReading());
        QVERIFY(!child(m_window.get(), QStringLiteral("cmdImporta"))->isEnabled());
        QVERIFY(child(m_window.get(), QStringLiteral("cmdAnnulla"))->isEnabled());
    } else {
        readWindow(music());
    }
    QTest::mouseClick(child(m_window.get(), QStringLiteral("cmdAnnulla")), Qt::LeftButton);
    QVERIFY(!m_window->isReading());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_window->result(), int(QDialog::Rejected));
    QCOMPARE(m_window->added(), qint64(0));
    QCOMPARE(fileContent(collection()), before);
    QVERIFY(m_desk->messages.isEmpty());
}

void TestImportWindow::failedAppendLeavesTheCollection_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("collection taken away, a folder in its place") << "folder";
    QTest::newRow("size limit in the middle of the batch") << "limit";
}

void TestImportWindow::failedAppendLeavesTheCollection()
{
    QFETCH(QString, failure);
    FrmImportaBrani *w = readWindow(music());
    const QByteArray before = fileContent(collection());
    if (failure == QLatin1String("folder")) {
        QVERIFY(QFile::remove(collection()));
        QVERIFY(QDir().mkdir(collection()));
        QTest::mouseClick(child(w, QStringLiteral("cmdImporta")), Qt::LeftButton);
    } else {
        FileSizeLimit limit(before.size() + 3 * SongCard::kSize + 100);
        QTest::mouseClick(child(w, QStringLiteral("cmdImporta")), Qt::LeftButton);
    }
    QCOMPARE(m_desk->last().kind, Kind::Error);
    QCOMPARE(m_desk->last().text, FrmImportaBrani::kAppendFailed);
    QVERIFY(w->isVisible());
    QCOMPARE(w->added(), qint64(0));
    if (failure == QLatin1String("limit")) {
        QCOMPARE(fileContent(collection()), before);
        // With room again, the same press adds them all.
        QTest::mouseClick(child(w, QStringLiteral("cmdImporta")), Qt::LeftButton);
        QCOMPARE(m_desk->last().text, QStringLiteral("Sono state aggiunte 9 schede alla collection."));
        QCOMPARE(fileContent(collection()).size(), 10 * SongCard::kSize);
    }
}

void TestImportWindow::folderWarnings_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty") << "  " << FrmImportaBrani::kNoFolder;
    QTest::newRow("missing") << "/nessuna/cartella/qui" << FrmImportaBrani::kMissingFolder;
    QTest::newRow("a file") << CANTORIUM_TESTS_DIR "/records/audio/id3v2.mp3" << FrmImportaBrani::kMissingFolder;
}

void TestImportWindow::folderWarnings()
{
    QFETCH(QString, folder);
    QFETCH(QString, warning);
    m_window = std::make_unique<FrmImportaBrani>(nullptr, collection());
    m_window->show();
    child<QLineEdit>(m_window.get(), QStringLiteral("txtCartella"))->setText(folder);
    QTest::mouseClick(child(m_window.get(), QStringLiteral("cmdLeggi")), Qt::LeftButton);
    QVERIFY(!m_window->isReading());
    QCOMPARE(m_desk->texts(), QStringList{warning});
    QCOMPARE(m_desk->last().kind, Kind::Warning);
}

void TestImportWindow::browseUsesTheFolderDialog()
{
    m_window = std::make_unique<FrmImportaBrani>(nullptr, collection());
    m_window->show();
    m_desk->fileAnswers.enqueue(QString()); // cancelled: nothing happens
    m_desk->fileAnswers.enqueue(music());
    QTest::mouseClick(child(m_window.get(), QStringLiteral("cmdSfoglia")), Qt::LeftButton);
    QVERIFY(!m_window->isReading());
    QTest::mouseClick(child(m_window.get(), QStringLiteral("cmdSfoglia")), Qt::LeftButton);
    QCOMPARE(m_desk->dialogTitles.last(), QStringLiteral("Scegli la cartella dei file audio"));
    QCOMPARE(child<QLineEdit>(m_window.get(), QStringLiteral("txtCartella"))->text(), music());
    // A chosen folder is read at once.
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isReading(), 60000);
    QCOMPARE(m_window->model()->rowCount(), 12);
}

void TestImportWindow::realFolderDialog()
{
    QFileDialog dialog;
    setUpFolderDialog(dialog, QStringLiteral("Scegli la cartella dei file audio"), music());
    QCOMPARE(dialog.fileMode(), QFileDialog::Directory);
    QVERIFY(dialog.testOption(QFileDialog::ShowDirsOnly));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Scegli la cartella dei file audio"));
    QCOMPARE(QFileInfo(dialog.directory().absolutePath()).canonicalFilePath(), QFileInfo(music()).canonicalFilePath());
    // The real dialog answers with the folder the user accepts.
    QTimer::singleShot(0, &dialog, [&] {
        dialog.selectFile(m_music->filePath(QStringLiteral("Live")));
        static_cast<QDialog &>(dialog).accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).fileName(), QStringLiteral("Live"));
}

void TestImportWindow::helpWindow()
{
    m_window = std::make_unique<FrmImportaBrani>(nullptr, collection());
    m_window->show();
    QString title, text;
    m_desk->modalHandlers.enqueue([&](QDialog *dialog) {
        title = child<QLabel>(dialog, QStringLiteral("lblTitolo"))->text();
        text = child<QPlainTextEdit>(dialog, QStringLiteral("txtGuida"))->toPlainText();
        dialog->reject();
    });
    QTest::mouseClick(child(m_window.get(), QStringLiteral("cmdGuida")), Qt::LeftButton);
    QCOMPARE(title, QString::fromUtf8(kImportHelpTitle));
    QCOMPARE(text.split(QStringLiteral("\n\n")), importHelpParagraphs());
}

void TestImportWindow::editorOpensTheImport_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("import");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("position");
    QTest::newRow("untouched new card shows the first imported") << "" << true << "Albachiara" << "2";
    QTest::newRow("a card being typed is asked about; Annulla keeps it")
        << "Mia canzone" << true << "Mia canzone" << "";
    QTest::newRow("cancelled: nothing changes") << "" << false << "" << "";
}

void TestImportWindow::editorOpensTheImport()
{
    QFETCH(QString, typed);
    QFETCH(bool, import);
    QFETCH(QString, title);
    QFETCH(QString, position);
    FrmCollection editor;
    editor.openCollection(collection(), QStringLiteral("Pop"));
    editor.show();
    child<QLineEdit>(&editor, QStringLiteral("txtTitolo"))->setText(typed);
    QString windowName, collectionShown;
    m_desk->modalHandlers.enqueue([&](QDialog *dialog) {
        windowName = dialog->objectName();
        if (!import) {
            QTest::mouseClick(child(dialog, QStringLiteral("cmdAnnulla")), Qt::LeftButton);
            return;
        }
        child<QLineEdit>(dialog, QStringLiteral("txtCartella"))->setText(music());
        child<QCheckBox>(dialog, QStringLiteral("chkSottocartelle"))->setChecked(false);
        QTest::mouseClick(child(dialog, QStringLiteral("cmdLeggi")), Qt::LeftButton);
        auto *w = static_cast<FrmImportaBrani *>(dialog);
        QTRY_VERIFY_WITH_TIMEOUT(!w->isReading(), 60000);
        QTest::mouseClick(child(dialog, QStringLiteral("cmdImporta")), Qt::LeftButton);
    });
    const bool asked = import && !typed.isEmpty();
    if (asked)
        m_desk->saveAnswers.enqueue(Desktop::SaveChoice::Cancel);
    QTest::mouseClick(child(&editor, QStringLiteral("cmdImportaBrani")), Qt::LeftButton);
    QCOMPARE(m_desk->saveQuestions.size(), asked ? 1 : 0);
    QCOMPARE(windowName, QStringLiteral("frmImportaBrani"));
    QCOMPARE(child<QLineEdit>(&editor, QStringLiteral("txtTitolo"))->text(), title);
    QCOMPARE(child<QLabel>(&editor, QStringLiteral("lblPosizione"))->text(), position);
    QCOMPARE(fileContent(collection()).size(), (import ? 10 : 1) * SongCard::kSize);
}

QTEST_MAIN(TestImportWindow)
#include "tst_importwindow.moc"
