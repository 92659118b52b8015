// Deleting card 1 of a collection of 10,000 song cards (about 133 MB), journaled so that a kill
// leaves the old file or the new one, against one plain copy of the same file (a read and write
// loop, with and without a sync at the end, since the delete syncs what it writes).
#include "core/RecordFile.h"
#include "records/SongCard.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace
{

constexpr int kCards = 10000;

struct Collection {
    QTemporaryDir dir;
    QString path;
    QByteArray first;
    Collection()
        : path(dir.filePath(QStringLiteral("Rock.mus")))
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        QByteArray card(SongCard::kSize, Qt::Uninitialized);
        for (int i = 0; i < kCards; ++i) {
            for (int b = 0; b < card.size(); ++b)
                card[b] = char('a' + (i + b) % 26);
            if (i == 0)
                first = card;
            f.write(card);
        }
    }
};

Collection &collection()
{
    static Collection c;
    return c;
}

void BM_DeleteFirstCard(benchmark::State &state)
{
    Collection &c = collection();
    for (auto _ : state) {
        {
            RecordFile file(c.path, SongCard::kSize);
            file.remove(1);
        }
        state.PauseTiming();
        {
            RecordFile file(c.path, SongCard::kSize);
            file.insert(1, c.first);
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(kCards) * SongCard::kSize);
}

void plainCopy(benchmark::State &state, bool synced)
{
    Collection &c = collection();
    const QString target = c.dir.filePath(QStringLiteral("Copia.mus"));
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (auto _ : state) {
        QFile in(c.path), out(target);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        qint64 n = 0;
        while ((n = in.read(buffer.data(), buffer.size())) > 0)
            out.write(buffer.constData(), n);
        out.flush();
        if (synced)
            ::fdatasync(out.handle());
        out.close();
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(kCards) * SongCard::kSize);
}

void BM_PlainCopy(benchmark::State &state)
{
    plainCopy(state, false);
}

void BM_PlainCopySynced(benchmark::State &state)
{
    plainCopy(state, true);
}

} // namespace

BENCHMARK(BM_DeleteFirstCard)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PlainCopySynced)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
