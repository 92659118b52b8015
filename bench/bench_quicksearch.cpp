// The table view's quick search: opening a collection (the index built) against a plain read of
// the same file, each keystroke of a query filtered with the table updated, sorting, the index's
// memory, how long the interface thread is held while the index is built, and the same texts in
// SQLite FTS5 side by side. Sizes: 10,000 cards, and 100,000 (a 1.3 GB file in a temporary folder).
#include "core/RecordFile.h"
#include "records/SongCard.h"
#include "table/CardIndex.h"
#include "table/CardTableModel.h"
#include "table/Fold.h"
#include "table/FrmElenco.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#ifdef HAVE_SQLITE3
#include <sqlite3.h>
#endif

#include <algorithm>
#include <ctime>
#include <map>
#include <memory>

namespace
{

// Words of Italian songs, with accents, apostrophes and a few guillemets, as lyrics have them.
const char *const kWords[] = {
    "amore", "cuore", "notte", "sole", "mare", "vento", "stella", "cielo", "perché", "città", "sempre", "ancora",
    "domani", "ieri", "sogno", "luce", "strada", "musica", "canto", "ballo", "lacrime", "sorriso", "tempo", "vita",
    "più", "così", "già", "però", "l'anima", "dell'estate", "«eco»", "tu", "io", "noi", "che", "non", "mi", "ti",
    "di", "e", "la", "il", "un", "una", "per", "come", "quando", "dove", "niente", "tutto", "occhi", "mani",
    "parole", "silenzio", "primavera", "inverno", "emozioni", "libertà", "nostalgia", "pioggia", "fiore", "luna",
    "cammino", "ritorno", "partire", "restare", "voglio", "posso", "sento", "vedo", "cerco", "trovo", "ricordo"};
constexpr int kWordCount = int(std::size(kWords));

QString words(QRandomGenerator &random, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QString::fromUtf8(kWords[random.bounded(kWordCount)]);
    return out.join(QLatin1Char(' '));
}

QString lines(QRandomGenerator &random, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << words(random, 5 + int(random.bounded(4)));
    return out.join(QLatin1Char('\n'));
}

const char *const kGenres[] = {"Pop", "Rock", "Cantautorato", "Jazz", "Lirica", "Dance", "Folk", "Blues", "Rap", "Liscio"};

SongCard card(QRandomGenerator &random, int n)
{
    SongCard c;
    c.setText(SongCard::Titolo, words(random, 2 + int(random.bounded(3))));
    c.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(random.bounded(2000)));
    c.setText(SongCard::Album, words(random, 3));
    c.setText(SongCard::Genere, QString::fromUtf8(kGenres[random.bounded(10)]));
    c.setText(SongCard::Autori, QStringLiteral("Autore %1, Autore %2").arg(random.bounded(900)).arg(random.bounded(900)));
    c.setText(SongCard::Nazione, QStringLiteral("Italia"));
    c.setText(SongCard::Anno, QString::number(1950 + n % 75));
    c.setText(SongCard::Casa, QStringLiteral("Casa discografica"));
    c.setText(SongCard::Durata, QStringLiteral("%1:%2").arg(2 + n % 4).arg(n % 60, 2, 10, QLatin1Char('0')));
    c.setText(SongCard::Testo, lines(random, 24 + int(random.bounded(12))));
    if (random.bounded(2))
        c.setText(SongCard::Storia, lines(random, 20));
    if (random.bounded(4) == 0)
        c.setText(SongCard::Note, words(random, 10));
    c.setText(SongCard::Segnala, SongCard::flagText(n % 7 == 0));
    return c;
}

// The interface thread's own time: what the keystroke costs, whatever else the machine runs.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// One collection per size, written once per run.
struct Fixture {
    QTemporaryDir dir;
    QString path;
    QList<SongCard> sample; // for SQLite: every card's texts, kept only while it is filled
};

Fixture &fixture(int cards)
{
    static std::map<int, std::unique_ptr<Fixture>> made;
    auto &f = made[cards];
    if (!f) {
        f = std::make_unique<Fixture>();
        f->path = f->dir.filePath(QStringLiteral("Bench.mus"));
        QRandomGenerator random(cards);
        RecordFile file(f->path, SongCard::kSize);
        QByteArray batch;
        for (int n = 0; n < cards; ++n) {
            batch += card(random, n).encode();
            if (batch.size() >= 256 * SongCard::kSize || n + 1 == cards) {
                file.appendBatch(batch);
                batch.clear();
            }
        }
    }
    return *f;
}

// What one card's texts weigh in a temporary folder: the plain read's floor.
void BM_PlainRead(benchmark::State &state)
{
    const QString path = fixture(int(state.range(0))).path;
    for (auto _ : state) {
        qint64 sum = 0;
        RecordFile file(path, SongCard::kSize);
        file.scanRaw([&](qint64, const char *r) {
            sum += r[0];
            return true;
        });
        benchmark::DoNotOptimize(sum);
    }
}

void BM_OpenIndex(benchmark::State &state)
{
    const QString path = fixture(int(state.range(0))).path;
    for (auto _ : state) {
        CardIndex index(ArchiveKind::Songs);
        index.apply(CardIndex::scan(path, ArchiveKind::Songs, {}));
        state.counters["memory_ratio"] = double(index.memoryBytes()) / double(index.textBytes());
        state.counters["index_MB"] = double(index.memoryBytes()) / 1e6;
        state.counters["text_MB"] = double(index.textBytes()) / 1e6;
    }
}

// The window, opened offscreen: the longest wait of the interface thread while the index is
// built, then each keystroke of a 12-character query, filtered and the table repainted.
void BM_Keystrokes(benchmark::State &state)
{
    const QString path = fixture(int(state.range(0))).path;
    const QString query = QStringLiteral("emozioni cit"); // 12 characters
    std::vector<double> times, cpu;
    double longestHold = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FrmElenco window(path, ArchiveKind::Songs);
        window.resize(1366, 768);
        window.show();
        QElapsedTimer beat;
        beat.start();
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestHold = std::max(longestHold, double(beat.nsecsElapsed()) / 1e6);
            beat.restart();
        });
        tick.start();
        while (!window.isReady())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        tick.stop();
        auto *search = window.findChild<QLineEdit *>(QStringLiteral("txtCerca"));
        auto *grid = window.findChild<QTableView *>(QStringLiteral("grdElenco"));
        state.ResumeTiming();
        for (int i = 1; i <= query.size(); ++i) {
            QElapsedTimer clock;
            clock.start();
            const double cpuStart = threadCpuMs();
            const QSignalBlocker quiet(search);
            search->setText(query.left(i));
            window.search();
            grid->viewport()->repaint();
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
            cpu.push_back(threadCpuMs() - cpuStart);
        }
        state.PauseTiming();
        search->clear();
        state.ResumeTiming();
    }
    std::sort(times.begin(), times.end());
    state.counters["p95_ms"] = times[size_t(double(times.size() - 1) * 0.95)];
    state.counters["max_ms"] = times.back();
    std::sort(cpu.begin(), cpu.end());
    state.counters["p95_cpu_ms"] = cpu[size_t(double(cpu.size() - 1) * 0.95)];
    state.counters["ui_hold_max_ms"] = longestHold;
}

void BM_Sort(benchmark::State &state)
{
    const QString path = fixture(int(state.range(0))).path;
    CardIndex index(ArchiveKind::Songs);
    index.apply(CardIndex::scan(path, ArchiveKind::Songs, {}));
    CardTableModel model(index);
    model.setRows(index.search({}, CardIndex::Scope::All));
    QElapsedTimer first;
    first.start();
    for (int c = 0; c < 7; ++c)
        index.ranks(c);
    state.counters["first_collation_all_columns_ms"] = double(first.nsecsElapsed()) / 1e6;
    int column = 0;
    for (auto _ : state) {
        model.sort(column, column % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
        column = (column + 1) % 7;
    }
}

#ifdef HAVE_SQLITE3
// The same searched texts in an FTS5 table (accents removed by its tokenizer); its prefix
// queries find words that begin with each typed word, a narrower rule than the table's.
void BM_Fts5(benchmark::State &state)
{
    const int cards = int(state.range(0));
    QRandomGenerator random(cards);
    QTemporaryDir dir;
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(dir.filePath(QStringLiteral("fts.db"))).constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "CREATE VIRTUAL TABLE t USING fts5(titolo, cantante, album, genere, autori, testo, storia, note,"
                 " tokenize='unicode61 remove_diacritics 2')",
                 nullptr, nullptr, nullptr);
    QElapsedTimer build;
    build.start();
    {
        const QString path = fixture(cards).path;
        RecordFile file(path, SongCard::kSize);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *put = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO t(rowid, titolo, cantante, album, genere, autori, testo, storia, note)"
                               " VALUES (?,?,?,?,?,?,?,?,?)", -1, &put, nullptr);
        const int fields[] = {SongCard::Titolo, SongCard::Cantante, SongCard::Album, SongCard::Genere,
                              SongCard::Autori, SongCard::Testo, SongCard::Storia, SongCard::Note};
        file.scanRaw([&](qint64 position, const char *r) {
            const SongCard c = SongCard::decode(r);
            sqlite3_bind_int64(put, 1, position);
            for (int i = 0; i < 8; ++i) {
                const QByteArray text = c.text(fields[i]).toUtf8();
                sqlite3_bind_text(put, i + 2, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
            sqlite3_step(put);
            sqlite3_reset(put);
            return true;
        });
        sqlite3_finalize(put);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    state.counters["fts5_build_ms"] = double(build.nsecsElapsed()) / 1e6;
    const QString query = QStringLiteral("emozioni cit");
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM t WHERE t MATCH ?", -1, &select, nullptr);
    std::vector<double> times, cpu;
    qint64 found = 0;
    for (auto _ : state) {
        for (int i = 1; i <= query.size(); ++i) {
            QElapsedTimer clock;
            clock.start();
            const double cpuStart = threadCpuMs();
            QStringList terms;
            for (const QByteArray &w : Fold::words(query.left(i)))
                terms << QStringLiteral("\"%1\"*").arg(QString::fromLatin1(w));
            const QByteArray match = terms.join(QLatin1Char(' ')).toUtf8();
            sqlite3_bind_text(select, 1, match.constData(), int(match.size()), SQLITE_TRANSIENT);
            found = 0;
            while (sqlite3_step(select) == SQLITE_ROW)
                ++found;
            sqlite3_reset(select);
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
            cpu.push_back(threadCpuMs() - cpuStart);
        }
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    std::sort(times.begin(), times.end());
    state.counters["p95_ms"] = times[size_t(double(times.size() - 1) * 0.95)];
    std::sort(cpu.begin(), cpu.end());
    state.counters["p95_cpu_ms"] = cpu[size_t(double(cpu.size() - 1) * 0.95)];
    state.counters["last_found"] = double(found);
}
BENCHMARK(BM_Fts5)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

BENCHMARK(BM_PlainRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenIndex)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Keystrokes)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Sort)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(14);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window remembers its columns: a bench run keeps them in its own folder.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
