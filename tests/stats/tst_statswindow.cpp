// The statistics window driven for real: clicks on bars and slices, opening a card, saving and
// printing a chart, and the editors' commands that open it.
#include "Named.h"
#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "app/ArchiveMessages.h"
#include "app/FrmGuida.h"
#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "core/AtomicFile.h"
#include "lists/ResultList.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "singers/FrmAnagrafica.h"
#include "stats/FrmStatistiche.h"

#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>

#include <cmath>
#include <memory>

namespace
{

SongCard song(const QString &titolo, const QString &genere, const QString &anno)
{
    SongCard c;
    c.setText(SongCard::Titolo, titolo);
    c.setText(SongCard::Cantante, QStringLiteral("Cantante"));
    c.setText(SongCard::Genere, genere);
    c.setText(SongCard::Anno, anno);
    c.setText(SongCard::Segnala, QStringLiteral("No"));
    return c;
}

// Rock: cards 1, 3, 5 (spelled three ways); Pop: 2, 6; Jazz: 4.
QByteArray collection()
{
    QByteArray all;
    const SongCard cards[] = {
        song(QStringLiteral("Uno"), QStringLiteral("Rock"), QStringLiteral("1971")),
        song(QStringLiteral("Due"), QStringLiteral("Pop"), QStringLiteral("1985")),
        song(QStringLiteral("Tre"), QStringLiteral("rock "), QStringLiteral("1979")),
        song(QStringLiteral("Quattro"), QStringLiteral("Jazz"), QString()),
        song(QStringLiteral("Cinque"), QStringLiteral("ROCK"), QStringLiteral("1968")),
        song(QStringLiteral("Sei"), QStringLiteral("pop"), QStringLiteral("1990")),
    };
    for (const SongCard &c : cards)
        all += c.encode();
    return all;
}

QStringList positionsListed(const ResultList *list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << QString::number(list->position(row));
    out.sort();
    return out;
}

// Clicks the bar of group `row` where the chart draws it.
void clickBar(FrmStatistiche &w, int row)
{
    QChart *chart = w.chtGrafico->chart();
    auto *series = qobject_cast<QHorizontalBarSeries *>(chart->series().constFirst());
    QVERIFY(series);
    const QBarSet *set = series->barSets().constFirst();
    const int index = int(set->count()) - 1 - row; // the first group is drawn at the top
    const QPointF inChart = chart->mapToPosition(QPointF(set->at(index) / 2, index), series);
    const QPoint inView = w.chtGrafico->mapFromScene(chart->mapToScene(inChart));
    QTest::mouseClick(w.chtGrafico->viewport(), Qt::LeftButton, Qt::NoModifier, inView);
}

void doubleClickRow(ResultList *list, int row)
{
    const QRect place = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

} // namespace

class TestStatsWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tableListsTheExactCounts();
    void switchedChartPaintsAsAFreshOne();
    void clickOnBarListsItsCards_data();
    void clickOnBarListsItsCards();
    void clickOnSliceListsItsCards();
    void openingALineHandsBackItsPosition();
    void runTellsEmptyAndUnreadableArchives();
    void saveWritesEachFormat_data();
    void saveWritesEachFormat();
    void saveFailuresLeaveTheOldFile();
    void printHandsOverOnePage();
    void realSaveDialogFollowsTheChosenType();
    void helpPage();
    void songEditorCommandLoadsThePickedCard();
    void singerEditorCommandCountsPhotos();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<RecordingDesktop> m_desktop;
    QString m_path;
};

void TestStatsWindow::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_desktop = std::make_unique<RecordingDesktop>();
    m_path = m_folder->file(QStringLiteral("Prova.mus"));
    writeFile(m_path, collection());
}

void TestStatsWindow::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desktop);
    m_desktop.reset();
    m_folder.reset();
}

void TestStatsWindow::tableListsTheExactCounts()
{
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    QCOMPARE(w.cboGrafico->count(), 5);
    QTableWidget *t = w.grdConteggi;
    QCOMPARE(t->rowCount(), 3);
    QStringList rows;
    for (int r = 0; r < t->rowCount(); ++r)
        rows << t->item(r, 0)->text() + QLatin1Char('|') + t->item(r, 1)->text() + QLatin1Char('|') +
                    t->item(r, 2)->text();
    QCOMPARE(rows, (QStringList{QStringLiteral("Rock|3|50,0 %"), QStringLiteral("Pop|2|33,3 %"),
                                QStringLiteral("Jazz|1|16,7 %")}));
    w.cboGrafico->setCurrentIndex(1); // decades, oldest first
    QCOMPARE(t->item(0, 0)->text(), QStringLiteral("1960-1969"));
    QCOMPARE(t->item(t->rowCount() - 1, 0)->text(), QStringLiteral("Senza anno"));
    QCOMPARE(w.chtGrafico->chart()->title(), QStringLiteral("Canzoni per decennio"));
}

void TestStatsWindow::switchedChartPaintsAsAFreshOne()
{
    // Nothing of the chart shown before (axis names, ticks) may stay on screen after a switch.
    const auto picture = [this](bool switched) {
        FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
        if (!switched)
            w.cboGrafico->setCurrentIndex(1);
        w.show();
        w.grab(); // painted once as it opened
        if (switched)
            w.cboGrafico->setCurrentIndex(1);
        QCoreApplication::processEvents();
        return w.chtGrafico->grab().toImage();
    };
    const QImage fresh = picture(false);
    const QImage switched = picture(true);
    QCOMPARE(switched.size(), fresh.size());
    QVERIFY(switched == fresh);
}

void TestStatsWindow::clickOnBarListsItsCards_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("positions");
    QTest::newRow("Rock") << 0 << QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5")};
    QTest::newRow("Pop") << 1 << QStringList{QStringLiteral("2"), QStringLiteral("6")};
    QTest::newRow("Jazz") << 2 << QStringList{QStringLiteral("4")};
}

void TestStatsWindow::clickOnBarListsItsCards()
{
    QFETCH(int, row);
    QFETCH(QStringList, positions);
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.lstRecords->count(), 0);
    clickBar(w, row);
    QCOMPARE(positionsListed(w.lstRecords), positions);
    QCOMPARE(w.grdConteggi->currentRow(), row);
    QVERIFY(w.lblSchede->text().contains(w.grdConteggi->item(row, 0)->text()));
    QVERIFY(w.btnApri->isEnabled());
}

void TestStatsWindow::clickOnSliceListsItsCards()
{
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.optTorta, Qt::LeftButton);
    QChart *chart = w.chtGrafico->chart();
    auto *pie = qobject_cast<QPieSeries *>(chart->series().constFirst());
    QVERIFY(pie);
    QCOMPARE(pie->count(), 3);
    QCOMPARE(pie->slices().at(1)->value(), 2.0);
    // The middle of the Pop slice, halfway out from the centre.
    QApplication::processEvents();
    const QRectF plot = chart->plotArea();
    const QPointF centre(plot.left() + plot.width() * pie->horizontalPosition(),
                         plot.top() + plot.height() * pie->verticalPosition());
    const double radius = std::min(plot.width(), plot.height()) * pie->pieSize() / 2;
    const QPieSlice *slice = pie->slices().at(1);
    const double angle = (slice->startAngle() + slice->angleSpan() / 2) * M_PI / 180;
    const QPointF at = centre + QPointF(std::sin(angle), -std::cos(angle)) * radius * 0.6;
    QTest::mouseClick(w.chtGrafico->viewport(), Qt::LeftButton, Qt::NoModifier,
                      w.chtGrafico->mapFromScene(chart->mapToScene(at)));
    QCOMPARE(positionsListed(w.lstRecords), (QStringList{QStringLiteral("2"), QStringLiteral("6")}));
}

void TestStatsWindow::openingALineHandsBackItsPosition()
{
    m_desktop->modalHandlers.enqueue([](QDialog *d) {
        auto *w = qobject_cast<FrmStatistiche *>(d);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        clickBar(*w, 1); // Pop: "Due" (2) and "Sei" (6), listed by title
        QCOMPARE(w->lstRecords->count(), 2);
        doubleClickRow(w->lstRecords, 1);
    });
    QCOMPARE(FrmStatistiche::run(nullptr, {StatsSource::Kind::Songs, m_path, {}}), 6);
}

void TestStatsWindow::runTellsEmptyAndUnreadableArchives()
{
    const QString empty = m_folder->file(QStringLiteral("Vuota.mus"));
    QCOMPARE(FrmStatistiche::run(nullptr, {StatsSource::Kind::Songs, empty, {}}), 0);
    QCOMPARE(m_desktop->last().kind, Desktop::Kind::Information);
    QCOMPARE(m_desktop->last().text, ArchiveMessages::kEmpty);

    const QString folder = m_folder->file(QStringLiteral("Cartella.mus"));
    QVERIFY(QDir().mkdir(folder));
    QCOMPARE(FrmStatistiche::run(nullptr, {StatsSource::Kind::Songs, folder, {}}), 0);
    QCOMPARE(m_desktop->last().kind, Desktop::Kind::Error);
    QCOMPARE(m_desktop->last().text, ArchiveMessages::kNoAccess);
}

void TestStatsWindow::saveWritesEachFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("PNG") << QStringLiteral("grafico.png");
    QTest::newRow("SVG") << QStringLiteral("grafico.svg");
    QTest::newRow("PDF") << QStringLiteral("grafico.PDF");
    QTest::newRow("name outside Windows-1252") << QStringLiteral("grafico «€» \u6F22\u5B57.png");
}

void TestStatsWindow::saveWritesEachFormat()
{
    QFETCH(QString, name);
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString path = m_folder->file(name);
    m_desktop->fileAnswers.enqueue(path);
    QTest::mouseClick(w.btnSalva, Qt::LeftButton);
    QCOMPARE(m_desktop->dialogSuffixes.value(0), QStringLiteral("png"));
    QCOMPARE(m_desktop->dialogProposals.value(0),
             m_folder->file(QStringLiteral("Canzoni per genere musicale.png")));
    QCOMPARE(m_desktop->last().kind, Desktop::Kind::Information);
    const QByteArray bytes = fileContent(path);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        QImage picture;
        QVERIFY(picture.loadFromData(bytes, "PNG"));
        QCOMPARE(picture.size(), w.chtGrafico->viewport()->size() * 2);
        // The bars are drawn in the program's dark blue somewhere on the picture.
        bool bar = false;
        for (int y = 0; y < picture.height() && !bar; y += 2)
            for (int x = 0; x < picture.width() && !bar; x += 2)
                bar = picture.pixelColor(x, y) == QColor(0x1F, 0x4E, 0x79);
        QVERIFY(bar);
    } else if (suffix == QLatin1String("svg")) {
        QXmlStreamReader xml(bytes);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QSvgRenderer svg(bytes);
        QVERIFY(svg.isValid());
        QVERIFY(bytes.contains("Canzoni per genere musicale"));
        QVERIFY(bytes.contains("Rock"));
    } else {
        QVERIFY(bytes.startsWith("%PDF-"));
        // One page object (the page tree is "/Type /Pages").
        QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))),
                 1);
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
    }
}

void TestStatsWindow::saveFailuresLeaveTheOldFile()
{
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // A folder where the file should be.
    const QString folder = m_folder->file(QStringLiteral("cartella.png"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(!w.saveChart(folder));
    QCOMPARE(m_desktop->last().text, FrmStatistiche::kSaveFailed);
    QVERIFY(QFileInfo(folder).isDir());

    // A name the program cannot write.
    QVERIFY(!w.saveChart(m_folder->file(QStringLiteral("grafico.jpg"))));
    QCOMPARE(m_desktop->last().kind, Desktop::Kind::Warning);
    QCOMPARE(m_desktop->last().text, FrmStatistiche::kWrongFormat);
    QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("grafico.jpg"))));

    // The disk fills up half-way: the earlier file stays whole and no temporary is left.
    const QString old = m_folder->file(QStringLiteral("vecchio.png"));
    writeFile(old, QByteArray("vecchio grafico"));
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 2048;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = w.saveChart(old);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QVERIFY(!written);
    QCOMPARE(m_desktop->last().text, FrmStatistiche::kSaveFailed);
    QCOMPARE(fileContent(old), QByteArray("vecchio grafico"));
    QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("vecchio*")}, QDir::Files),
             QStringList{QStringLiteral("vecchio.png")});
    for (const QString &name : QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(!AtomicFile::isLeftoverName(name), qPrintable(name));
    m_desktop->messages.clear();

    // A name longer than the file system takes.
    QVERIFY(!w.saveChart(m_folder->file(QString(300, QLatin1Char('g')) + QStringLiteral(".png"))));
    QCOMPARE(m_desktop->last().text, FrmStatistiche::kSaveFailed);

    // A symbolic link: the file it points to is written, the link stays.
    const QString target = m_folder->file(QStringLiteral("vero.svg"));
    const QString link = m_folder->file(QStringLiteral("collegamento.svg"));
    writeFile(target, QByteArray("vecchio"));
    QVERIFY(QFile::link(target, link));
    QVERIFY(w.saveChart(link));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(fileContent(target).contains("<svg"));

    // Cancelling the dialog writes nothing and says nothing.
    m_desktop->messages.clear();
    m_desktop->fileAnswers.enqueue(QString());
    QTest::mouseClick(w.btnSalva, Qt::LeftButton);
    QVERIFY(m_desktop->messages.isEmpty());
}

void TestStatsWindow::printHandsOverOnePage()
{
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    QCOMPARE(m_desktop->reports.size(), 1);
    const RecordingDesktop::Report &r = m_desktop->reports.first();
    QVERIFY(!r.preview);
    QCOMPARE(r.templateName, QStringLiteral("Statistiche"));
    QCOMPARE(r.pages, 1);
    QVERIFY(r.picture.width() > 1500); // drawn for paper, not copied from the screen
    QVERIFY(m_desktop->messages.isEmpty());

    // A printer that fails is reported, not fatal.
    m_desktop->reportFailure = QStringLiteral("Stampante non pronta");
    QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    QCOMPARE(m_desktop->last().text, QStringLiteral("Stampante non pronta."));
}

void TestStatsWindow::realSaveDialogFollowsTheChosenType()
{
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    m_desktop->fileAnswers.enqueue(QString());
    QTest::mouseClick(w.btnSalva, Qt::LeftButton);

    QFileDialog dialog;
    setUpFileDialog(dialog, true, m_desktop->dialogTitles.first(), m_desktop->dialogProposals.first(),
                    m_desktop->dialogFilters.first(), m_desktop->dialogSuffixes.first());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Salva grafico"));
    QCOMPARE(dialog.nameFilters(),
             (QStringList{QStringLiteral("Immagine PNG (*.png)"), QStringLiteral("Disegno SVG (*.svg)"),
                          QStringLiteral("Documento PDF (*.pdf)")}));
    dialog.show();
    auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    QCOMPARE(name->text(), QStringLiteral("Canzoni per genere musicale.png"));
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("png"));
    // The user picks another type: the name shown and a name typed bare take its suffix.
    auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    // What the combo box sends when the user picks an entry.
    auto pick = [types](int index) {
        types->setCurrentIndex(index);
        emit types->activated(index);
        emit types->textActivated(types->itemText(index));
    };
    pick(2);
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("pdf"));
    QCOMPARE(name->text(), QStringLiteral("Canzoni per genere musicale.pdf"));
    pick(1);
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("svg"));
    name->setText(QStringLiteral("grafico"));
    QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).fileName(), QStringLiteral("grafico.svg"));
    dialog.reject();
}

void TestStatsWindow::helpPage()
{
    FrmStatistiche w(nullptr, {StatsSource::Kind::Songs, m_path, {}}, Stats::songs(m_path));
    QString shown;
    m_desktop->modalHandlers.enqueue([&shown](QDialog *d) {
        auto *help = qobject_cast<FrmGuida *>(d);
        QVERIFY(help);
        shown = help->helpText();
        help->reject();
    });
    QTest::mouseClick(w.btnGuida, Qt::LeftButton);
    QCOMPARE(shown, FrmStatistiche::helpText());
    QVERIFY(shown.contains(QStringLiteral("Altri")));
}

void TestStatsWindow::songEditorCommandLoadsThePickedCard()
{
    FrmCollection editor;
    editor.openCollection(m_path, QStringLiteral("Prova"));
    auto *command = editor.findChild<ClickPicture *>(QStringLiteral("cmdStatistiche"));
    QVERIFY(command);
    QVERIFY(command->isVisibleTo(&editor));
    m_desktop->modalHandlers.enqueue([](QDialog *d) {
        auto *w = qobject_cast<FrmStatistiche *>(d);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral(" Statistiche"));
        w->showGroup(0); // Rock: Cinque (5), Tre (3), Uno (1) in list order
        w->lstRecords->setCurrentRow(1);
        QTest::mouseClick(w->btnApri, Qt::LeftButton);
    });
    emit command->clicked();
    QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QStringLiteral("3"));
    QCOMPARE(named<QLineEdit>(&editor, "txtTitolo")->text(), QStringLiteral("Tre"));

    // Closing without a pick leaves the card shown.
    m_desktop->modalHandlers.enqueue([](QDialog *d) { d->reject(); });
    emit command->clicked();
    QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QStringLiteral("3"));
}

void TestStatsWindow::singerEditorCommandCountsPhotos()
{
    QByteArray archive;
    for (const char *name : {"Mina", "Dalla", "Battisti"}) {
        SingerCard c;
        c.setText(SingerCard::Nome, QString::fromUtf8(name));
        c.setText(SingerCard::Cittadinanza, QStringLiteral("Italiana"));
        archive += c.encode();
    }
    writeFile(SingerArchive::path(), archive);
    QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("Anagrafica"))));
    QImage photo(12, 16, QImage::Format_RGB32);
    photo.fill(Qt::darkRed);
    QVERIFY(photo.save(m_folder->file(QStringLiteral("Anagrafica/Scheda_Cantante_2.jpg")), "JPG"));
    // A folder with a photo's name is no photo.
    QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("Anagrafica/Scheda_Cantante_3.jpg"))));

    FrmAnagrafica editor;
    auto *command = editor.findChild<ClickPicture *>(QStringLiteral("cmdStatistiche"));
    QVERIFY(command);
    QStringList counted;
    m_desktop->modalHandlers.enqueue([&counted](QDialog *d) {
        auto *w = qobject_cast<FrmStatistiche *>(d);
        QVERIFY(w);
        for (const Stats::Group &g : w->summary().chart(QStringLiteral("foto"))->groups)
            counted << QStringLiteral("%1:%2").arg(g.label).arg(g.count());
        w->showGroup(0);
        w->cboGrafico->setCurrentIndex(3);
        w->showGroup(0); // "Con foto": Dalla
        QCOMPARE(w->lstRecords->count(), 1);
        QTest::mouseClick(w->btnApri, Qt::LeftButton);
    });
    emit command->clicked();
    QCOMPARE(counted, (QStringList{QStringLiteral("Con foto:1"), QStringLiteral("Senza foto:2")}));
    QCOMPARE(named<QLabel>(&editor, "lblPosizione")->text(), QStringLiteral("2"));
    QCOMPARE(editor.txtNome->text(), QStringLiteral("Dalla"));
}

QTEST_MAIN(TestStatsWindow)
#include "tst_statswindow.moc"
