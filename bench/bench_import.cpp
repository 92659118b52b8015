// Importing song cards from 2,000 tagged audio files (copies of the test fixtures, one of each
// format family, each copy tagged differently): reading them for the preview against a bare
// TagLib loop that reads the same tags; appending the 2,000 cards as one batch against one plain
// write of the same bytes; and the longest gap between the interface thread's timer ticks while
// the import window reads the folder.
#include "core/RecordFile.h"
#include "import/FolderReader.h"
#include "import/FrmImportaBrani.h"
#include "import/ImportModel.h"
#include "records/SongCard.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <ctime>

namespace
{

constexpr int kFiles = 2000;
const char *const kFixtures[] = {"id3v2.mp3", "id3v1.mp3", "vorbis.flac", "vorbis.ogg", "opus.opus",
                                 "mp4.m4a",   "asf.wma",   "riff.wav",    "aiff.aiff",  "ape.wv"};

// The folder of tagged files, made once per run.
struct Music {
    QTemporaryDir dir;
    QStringList files;

    Music()
    {
        const QString source = QStringLiteral(CANTORIUM_SOURCE_DIR "/tests/records/audio/");
        for (int i = 0; i < kFiles; ++i) {
            const QString fixture = QString::fromLatin1(kFixtures[i % 10]);
            const QString folder = dir.filePath(QStringLiteral("Cantante %1").arg(i % 40));
            QDir().mkpath(folder);
            const QString path = folder + QStringLiteral("/%1 brano.%2")
                                              .arg(i, 4, 10, QLatin1Char('0'))
                                              .arg(QFileInfo(fixture).suffix());
            QFile::copy(source + fixture, path);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            TagLib::FileRef ref(QFile::encodeName(path).constData());
            TagLib::PropertyMap map;
            auto put = [&map](const char *key, const QString &value) {
                map[key].append(TagLib::String(value.toStdString(), TagLib::String::UTF8));
            };
            if (i % 10 != 1) { // ID3v1 keeps its own few fields
                put("COMPOSER", QStringLiteral("Autore %1").arg(i % 70));
                put("LYRICS", QStringLiteral("Strofa della canzone %1\nSeconda riga").arg(i));
            }
            put("TITLE", QStringLiteral("Canzone numero %1").arg(i));
            put("ARTIST", QStringLiteral("Cantante %1").arg(i % 40));
            put("ALBUM", QStringLiteral("Album %1").arg(i % 150));
            put("GENRE", QStringLiteral("Pop"));
            put("DATE", QString::number(1950 + i % 70));
            put("COMMENT", QStringLiteral("Copia %1").arg(i));
            ref.file()->setProperties(map);
            ref.save();
            files << path;
        }
    }
};

Music &music()
{
    static Music m;
    return m;
}

void BM_ReadForPreview(benchmark::State &state)
{
    Music &m = music();
    QTemporaryDir program;
    const QString collection = program.filePath(QStringLiteral("Pop.mus"));
    std::atomic_bool cancel{false};
    for (auto _ : state) {
        const FolderReading reading =
            FolderImport::readFolder(m.dir.path(), true, collection, [](int, int) {}, cancel);
        if (reading.rows.size() != kFiles)
            state.SkipWithError("not every file was read");
        benchmark::DoNotOptimize(reading.rows.size());
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

// What any program reading these tags with TagLib must do at the least: open each file
// read-only, read its property map and its length.
void BM_BareTagLibLoop(benchmark::State &state)
{
    Music &m = music();
    for (auto _ : state) {
        int lengths = 0;
        for (const QString &path : m.files) {
            const QByteArray name = QFile::encodeName(path);
            TagLib::FileStream stream(name.constData(), true);
            const TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Average);
            const TagLib::PropertyMap map = ref.file()->properties();
            benchmark::DoNotOptimize(map.size());
            lengths += ref.audioProperties()->lengthInMilliseconds();
        }
        benchmark::DoNotOptimize(lengths);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

QByteArray cardBytes()
{
    std::atomic_bool cancel{false};
    QTemporaryDir program;
    const FolderReading reading = FolderImport::readFolder(
        music().dir.path(), true, program.filePath(QStringLiteral("x.mus")), [](int, int) {}, cancel);
    QByteArray bytes;
    for (const ImportRow &row : reading.rows)
        bytes += row.card.encode();
    return bytes;
}

void BM_AppendBatch(benchmark::State &state)
{
    const QByteArray bytes = cardBytes();
    QTemporaryDir program;
    const QString path = program.filePath(QStringLiteral("Pop.mus"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        RecordFile file(path, SongCard::kSize);
        benchmark::DoNotOptimize(file.appendBatch(bytes));
        file.close();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_PlainWriteSameBytes(benchmark::State &state)
{
    const QByteArray bytes = cardBytes();
    QTemporaryDir program;
    const QString path = program.filePath(QStringLiteral("Pop.mus"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        benchmark::DoNotOptimize(file.write(bytes));
        file.close();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The import window reading the folder, as the user starts it; a 5 ms timer on the interface
// thread records the longest wait between two of its ticks.
void BM_WindowReadingLongestGap(benchmark::State &state)
{
    Music &m = music();
    QTemporaryDir program;
    double longest = 0, longestReading = 0, uiCpu = 0;
    for (auto _ : state) {
        FrmImportaBrani window(nullptr, program.filePath(QStringLiteral("Pop.mus")));
        window.show();
        window.findChild<QLineEdit *>(QStringLiteral("txtCartella"))->setText(m.dir.path());
        QElapsedTimer clock;
        qint64 last = 0, gap = 0, gapReading = 0;
        QTimer ticks;
        ticks.setInterval(5);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            gap = qMax(gap, now - last);
            if (window.isReading())
                gapReading = qMax(gapReading, now - last);
            last = now;
        });
        timespec cpu0{}, cpu1{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu0);
        clock.start();
        ticks.start();
        window.cmdLeggiClick();
        while (window.isReading())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents); // the ticks wake it
        QApplication::processEvents(); // the grid is filled and painted
        gap = qMax(gap, clock.nsecsElapsed() - last);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu1);
        uiCpu = qMax(uiCpu, (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6);
        if (window.model()->rowCount() != kFiles)
            state.SkipWithError("not every file was read");
        longest = qMax(longest, gap / 1e6);
        longestReading = qMax(longestReading, gapReading / 1e6);
    }
    state.counters["longest_gap_ms"] = longest;
    // The same while the files are read, before the grid is filled.
    state.counters["longest_gap_reading_ms"] = longestReading;
    // The interface thread's own work during the whole run (timer ticks, progress, grid).
    state.counters["ui_thread_cpu_ms"] = uiCpu;
}

} // namespace

BENCHMARK(BM_ReadForPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTagLibLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendBatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowReadingLongestGap)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
