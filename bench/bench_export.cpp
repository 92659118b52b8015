// Exporting a collection of 10,000 song cards: opening the export window with its grid filled
// against a plain scan of the collection file; the export command in each format (document built
// and saved whole): .xls and .csv against writing the same bytes with one QFile::write, .xlsx
// against a bare libxlsxwriter loop writing the same cells, with the .xls columns and with every
// field.
#include "app/Desktop.h"
#include "records/SongCard.h"
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"
#include "output/FrmExpCollection.h"
#include "output/SpreadsheetWriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <vector>

namespace
{

constexpr int kCards = 10000;

SongCard sampleCard(int n)
{
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("Canzone numero %1 - Perché è così").arg(n));
    card.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(n % 300));
    card.setText(SongCard::Album, QStringLiteral("Album dell'anno %1").arg(1950 + n % 70));
    card.setText(SongCard::Genere, QStringLiteral("Rhythm & Blues"));
    card.setText(SongCard::Autori, QStringLiteral("Autore Primo, Autore Secondo"));
    card.setText(SongCard::Nazione, QStringLiteral("Italia"));
    card.setText(SongCard::Anno, QString::number(1950 + n % 70));
    card.setText(SongCard::Premi, QStringLiteral("Festival di Sanremo, primo posto"));
    card.setText(SongCard::Casa, QStringLiteral("Casa discografica"));
    card.setText(SongCard::Durata, QStringLiteral("3:%1").arg(n % 60, 2, 10, QLatin1Char('0')));
    const QString verse = QStringLiteral("Questa è una strofa della canzone, con qualche parola in più\n");
    card.setText(SongCard::Testo, verse.repeated(24));
    card.setText(SongCard::Storia, verse.repeated(12));
    card.setText(SongCard::Sito, QStringLiteral("https://www.example.com/canzone?id=%1&lang=it").arg(n));
    card.setText(SongCard::Musica, QStringLiteral("Chitarra, pianoforte, archi; ritmo lento"));
    card.setText(SongCard::Note, QStringLiteral("  Nota <%1>  ").arg(n));
    card.setText(SongCard::Segnala, SongCard::flagText(n % 7 == 0));
    return card;
}

// Answers the export's two questions: yes to exporting, no to opening the file or its folder.
class QuietDesktop : public Desktop
{
public:
    bool message(Kind kind, const QString &text) override
    {
        if (kind == Kind::Plain)
            failures << text;
        return true;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const FileFilters &) override
    {
        return QString();
    }
    QString saveFileName(QWidget *, const QString &, const QString &proposed, const FileFilters &,
                         const QString &) override
    {
        return proposed;
    }
    int choose(const QString &, const QStringList &answers) override { return int(answers.size()) - 1; }
    void open(const QString &) override {}
    int runModal(QDialog *) override { return 0; }

    QStringList failures;
};

class Fixture
{
public:
    static Fixture &instance()
    {
        static Fixture f;
        return f;
    }
    QString collection() const { return m_dir.filePath(QStringLiteral("Grande.mus")); }

private:
    Fixture()
    {
        ProgramFolder::setOverride(m_dir.path());
        QFile f(collection());
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the collection");
        for (int i = 1; i <= kCards; ++i)
            f.write(sampleCard(i).encode());
    }
    QTemporaryDir m_dir;
};

void BM_ScanCollection(benchmark::State &state)
{
    const QString path = Fixture::instance().collection();
    for (auto _ : state) {
        RecordFile file(path, SongCard::kSize);
        qint64 bytes = 0;
        file.scan([&](qint64, const QByteArray &record) {
            bytes += record.size();
            return true;
        });
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_OpenExportWindow(benchmark::State &state)
{
    const QString path = Fixture::instance().collection();
    for (auto _ : state) {
        FrmExpCollection window(nullptr, path);
        window.show(); // fills the grid
        if (window.model()->rowCount() != kCards)
            state.SkipWithError("grid not filled");
        QApplication::processEvents();
    }
}

void BM_ExportCommand(benchmark::State &state)
{
    QuietDesktop quiet;
    installDesktop(&quiet);
    FrmExpCollection window(nullptr, Fixture::instance().collection());
    window.show();
    for (auto _ : state)
        window.cmdEsportaClick();
    installDesktop(nullptr);
    if (!quiet.failures.isEmpty())
        state.SkipWithError("export failed");
    state.SetBytesProcessed(state.iterations() * QFileInfo(window.exportPath()).size());
}

void BM_PlainWriteSameBytes(benchmark::State &state)
{
    // The bytes an export writes, taken from an export made beforehand.
    QuietDesktop quiet;
    installDesktop(&quiet);
    FrmExpCollection window(nullptr, Fixture::instance().collection());
    window.show();
    window.cmdEsportaClick();
    installDesktop(nullptr);
    QFile exported(window.exportPath());
    if (!exported.open(QIODevice::ReadOnly))
        qFatal("no export to copy");
    const QByteArray bytes = exported.readAll();
    const QString path = exported.fileName() + QStringLiteral(".plain");
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The same bytes through QSaveFile, which also waits for them to reach the disk: the part of the
// export's time that is the price of never leaving a cut file.
void BM_SaveFileSameBytes(benchmark::State &state)
{
    QuietDesktop quiet;
    installDesktop(&quiet);
    FrmExpCollection window(nullptr, Fixture::instance().collection());
    window.show();
    window.cmdEsportaClick();
    installDesktop(nullptr);
    QFile exported(window.exportPath());
    if (!exported.open(QIODevice::ReadOnly))
        qFatal("no export to copy");
    const QByteArray bytes = exported.readAll();
    const QString path = exported.fileName() + QStringLiteral(".saved");
    for (auto _ : state)
        SpreadsheetWriter::save(path, bytes);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The export window on the big collection with the format at `index` of its list chosen.
class FormatWindow
{
public:
    explicit FormatWindow(int index, bool all = false)
        : window(nullptr, Fixture::instance().collection())
    {
        window.show();
        window.cboFormato->setCurrentIndex(index);
        window.chkTutte->setChecked(all);
    }
    // One export; false when it failed.
    bool exportOnce()
    {
        QuietDesktop quiet;
        installDesktop(&quiet);
        window.cmdEsportaClick();
        installDesktop(nullptr);
        return quiet.failures.isEmpty();
    }
    FrmExpCollection window;
};

void BM_ExportCommandXlsx(benchmark::State &state)
{
    FormatWindow w(1);
    for (auto _ : state)
        if (!w.exportOnce())
            state.SkipWithError("export failed");
    state.SetBytesProcessed(state.iterations() * QFileInfo(w.window.exportPath()).size());
}

// The same cells, already UTF-8, through libxlsxwriter alone with the same memory mode: no cell
// formats, header styling, reading back or replacing.
void bareXlsxLoop(benchmark::State &state, bool all)
{
    FormatWindow w(1, all);
    ExportTableModel *model = w.window.model();
    std::vector<int> exported;
    for (int c = 1; c < model->columnCount(); ++c)
        if (all || !model->columns().at(c).fullOnly)
            exported.push_back(c);
    const int columns = int(exported.size());
    std::vector<QByteArray> cells;
    for (int c : exported)
        cells.push_back(model->headerData(c, Qt::Horizontal).toString().toUtf8());
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c : exported)
            cells.push_back(model->cell(r, c).toUtf8());
    const QByteArray path = QFile::encodeName(w.window.exportPath() + QStringLiteral(".bare.xlsx"));
    for (auto _ : state) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        lxw_workbook *book = workbook_new_opt(path.constData(), &options);
        lxw_worksheet *sheet = workbook_add_worksheet(book, "Collection Musicale");
        size_t i = 0;
        for (lxw_row_t r = 0; r <= lxw_row_t(model->rowCount()); ++r)
            for (lxw_col_t c = 0; c < columns; ++c, ++i)
                if (!cells[i].isEmpty())
                    worksheet_write_string(sheet, r, c, cells[i].constData(), nullptr);
        if (workbook_close(book) != LXW_NO_ERROR)
            state.SkipWithError("bare workbook failed");
    }
}

void BM_BareXlsxLoop(benchmark::State &state)
{
    bareXlsxLoop(state, false);
}

// Every field of every card, lyrics and translation included.
void BM_ExportCommandXlsxFull(benchmark::State &state)
{
    FormatWindow w(1, true);
    for (auto _ : state)
        if (!w.exportOnce())
            state.SkipWithError("export failed");
    state.SetBytesProcessed(state.iterations() * QFileInfo(w.window.exportPath()).size());
}

void BM_BareXlsxLoopFull(benchmark::State &state)
{
    bareXlsxLoop(state, true);
}

void BM_ExportCommandCsv(benchmark::State &state)
{
    FormatWindow w(2);
    for (auto _ : state)
        if (!w.exportOnce())
            state.SkipWithError("export failed");
    state.SetBytesProcessed(state.iterations() * QFileInfo(w.window.exportPath()).size());
}

void BM_PlainWriteCsvBytes(benchmark::State &state)
{
    FormatWindow w(2);
    w.exportOnce();
    QFile exported(w.window.exportPath());
    if (!exported.open(QIODevice::ReadOnly))
        qFatal("no export to copy");
    const QByteArray bytes = exported.readAll();
    const QString path = exported.fileName() + QStringLiteral(".plain");
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_SaveFileCsvBytes(benchmark::State &state)
{
    FormatWindow w(2);
    w.exportOnce();
    const QByteArray bytes = [&] {
        QFile exported(w.window.exportPath());
        return exported.open(QIODevice::ReadOnly) ? exported.readAll() : QByteArray();
    }();
    const QString path = w.window.exportPath() + QStringLiteral(".saved");
    for (auto _ : state)
        SpreadsheetWriter::save(path, bytes);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_ScanCollection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenExportWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFileSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCommandXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareXlsxLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCommandXlsxFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareXlsxLoopFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCommandCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteCsvBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFileCsvBytes)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
