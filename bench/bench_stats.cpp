// Statistics of a large collection: counting every chart against the floor of one scan of the
// same file, and the statistics window from its opening to its charts painted.
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"
#include "records/SongCard.h"
#include "stats/FrmStatistiche.h"
#include "stats/StatsCount.h"

#include <QApplication>
#include <QChartView>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

constexpr int kCards = 10000;

const char *const kGenres[] = {"Pop",
                               "Rock",
                               "rock ",
                               "Jazz",
                               "Blues",
                               "Soul",
                               "Funk",
                               "Disco",
                               "Canzone d'autore",
                               "Folk",
                               "Metal",
                               "Punk",
                               "Reggae",
                               "Rap",
                               "Hip hop",
                               "Elettronica",
                               "Classica",
                               "Lirica",
                               "Swing",
                               "Country",
                               "Gospel",
                               "Bossa nova",
                               "Tango",
                               "Liscio",
                               ""};
const char *const kNations[] = {"Italia", "italia",   "Francia", "Regno Unito", "Stati Uniti", "Brasile",
                                "Spagna", "Germania", "Cuba",    "Argentina",   "Giappone",    ""};

SongCard card(QRandomGenerator &random, int n)
{
    SongCard c;
    c.setText(SongCard::Titolo, QStringLiteral("Canzone numero %1").arg(n));
    c.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(random.bounded(300)));
    c.setText(SongCard::Album, QStringLiteral("Album %1").arg(random.bounded(900)));
    c.setText(SongCard::Genere, QString::fromUtf8(kGenres[random.bounded(int(std::size(kGenres)))]));
    c.setText(SongCard::Nazione, QString::fromUtf8(kNations[random.bounded(int(std::size(kNations)))]));
    const int year = 1930 + random.bounded(95);
    c.setText(SongCard::Anno, n % 11 == 0  ? QString()
                              : n % 5 == 0 ? QStringLiteral("12/05/%1").arg(year)
                                           : QString::number(year));
    c.setText(SongCard::Testo, QStringLiteral("la la la ").repeated(200));
    c.setText(SongCard::Segnala, SongCard::flagText(n % 7 == 0));
    return c;
}

class Data
{
public:
    static Data &instance()
    {
        static Data d;
        return d;
    }
    QString collection() const { return m_dir.filePath(QStringLiteral("Grande.mus")); }

private:
    Data()
    {
        ProgramFolder::setOverride(m_dir.path());
        QRandomGenerator random(1975);
        QFile f(collection());
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the collection");
        for (int n = 1; n <= kCards; ++n)
            f.write(card(random, n).encode());
    }
    QTemporaryDir m_dir;
};

// The floor: one scan of the file through the record reader, touching each record.
void BM_ScanOnly(benchmark::State &state)
{
    const QString path = Data::instance().collection();
    for (auto _ : state) {
        qint64 seen = 0;
        RecordFile file(path, SongCard::kSize);
        file.scanRaw([&](qint64, const char *record) {
            seen += record[0];
            return true;
        });
        benchmark::DoNotOptimize(seen);
    }
}

// Every chart of the collection from one scan.
void BM_Statistics(benchmark::State &state)
{
    const QString path = Data::instance().collection();
    for (auto _ : state) {
        const Stats::Summary s = Stats::songs(path);
        if (s.cards != kCards) {
            state.SkipWithError("wrong number of cards");
            break;
        }
        benchmark::DoNotOptimize(s.charts.size());
    }
}

// From the command to the window shown with its first chart and table painted: counting,
// building the window and its chart, showing and painting.
void BM_WindowShown(benchmark::State &state)
{
    const StatsSource source{StatsSource::Kind::Songs, Data::instance().collection(), {}};
    for (auto _ : state) {
        auto window = std::make_unique<FrmStatistiche>(nullptr, source, Stats::songs(source.path));
        window->show();
        window->repaint();
        window->chtGrafico->viewport()->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_ScanOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowShown)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Data::instance();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
