// Reading a collection: a full scan that decodes every card (searches, flagged list, export)
// against a plain sequential read of the same bytes, and one-card navigation in a small and a
// large collection.
#include "records/SongCard.h"
#include "core/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

SongCard sampleCard(int n)
{
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("Canzone numero %1 - Perché è così").arg(n));
    card.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(n % 300));
    card.setText(SongCard::Album, QStringLiteral("Album dell'anno %1").arg(1950 + n % 70));
    card.setText(SongCard::Genere, QStringLiteral("Musica leggera"));
    card.setText(SongCard::Autori, QStringLiteral("Autore Primo, Autore Secondo"));
    card.setText(SongCard::Nazione, QStringLiteral("Italia"));
    card.setText(SongCard::Anno, QString::number(1950 + n % 70));
    card.setText(SongCard::Premi, QStringLiteral("Festival di Sanremo, primo posto"));
    card.setText(SongCard::Casa, QStringLiteral("Casa discografica"));
    card.setText(SongCard::Durata, QStringLiteral("3:%1").arg(n % 60, 2, 10, QLatin1Char('0')));
    QString verse =
        QStringLiteral("Questa è una strofa della canzone, con qualche parola in più “tra virgolette”\n");
    card.setText(SongCard::Testo, verse.repeated(24));  // about 1,900 characters of lyrics
    card.setText(SongCard::Storia, verse.repeated(12)); // and half as much translation
    card.setText(SongCard::Sito, QStringLiteral("https://www.example.com/canzone/%1").arg(n));
    card.setText(SongCard::Musica, QStringLiteral("Chitarra, pianoforte, archi; ritmo lento"));
    card.setText(SongCard::Note, QStringLiteral("Nota %1").arg(n));
    card.setText(SongCard::Segnala, SongCard::flagText(n % 7 == 0));
    card.setText(SongCard::File01, QStringLiteral("audio_%1.mp3").arg(n));
    card.setText(SongCard::Desc01, QStringLiteral("Audio della canzone"));
    return card;
}

class Collections
{
public:
    static Collections &instance()
    {
        static Collections c;
        return c;
    }
    QString path(int cards)
    {
        const QString p = m_dir.filePath(QStringLiteral("bench_%1.mus").arg(cards));
        if (!QFile::exists(p)) {
            QFile f(p);
            if (!f.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(p));
            for (int i = 1; i <= cards; ++i)
                f.write(sampleCard(i).encode());
        }
        return p;
    }

private:
    QTemporaryDir m_dir;
};

void BM_PlainSequentialRead(benchmark::State &state)
{
    const QString path = Collections::instance().path(int(state.range(0)));
    QByteArray buffer(1 << 20, '\0');
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            state.SkipWithError("open failed");
        qint64 total = 0, n = 0;
        while ((n = f.read(buffer.data(), buffer.size())) > 0)
            total += n;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * SongCard::kSize);
}

void BM_ScanAndDecodeEveryCard(benchmark::State &state)
{
    const QString path = Collections::instance().path(int(state.range(0)));
    for (auto _ : state) {
        RecordFile file(path, SongCard::kSize);
        qint64 flagged = 0;
        file.scan([&](qint64, const QByteArray &record) {
            const SongCard card = SongCard::decode(record);
            flagged += card.flag() == SongCard::Flag::Flagged;
            benchmark::DoNotOptimize(card);
            return true;
        });
        benchmark::DoNotOptimize(flagged);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * SongCard::kSize);
}

// What cmdUltimo does: open, count, read the last record, decode it, close.
void BM_ReadLastCard(benchmark::State &state)
{
    const QString path = Collections::instance().path(int(state.range(0)));
    for (auto _ : state) {
        RecordFile file(path, SongCard::kSize);
        const SongCard card = SongCard::decode(file.read(file.count()));
        benchmark::DoNotOptimize(card);
    }
}

} // namespace

BENCHMARK(BM_PlainSequentialRead)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanAndDecodeEveryCard)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLastCard)->Arg(100)->Arg(20000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
