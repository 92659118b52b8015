// Backup and restore check of a data folder of 10,000 song cards, 2,000 singer cards and 2,000
// photos (about 300 MB), against `zip -1` of the same folder and a bare read of every entry.
#include "backup/Backups.h"

#include <benchmark/benchmark.h>
#include <minizip/unzip.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace
{

constexpr int kSongCards = 10000, kCollections = 10, kSingerCards = 2000, kPhotos = 2000;
constexpr int kSongSize = 13344, kSingerSize = 5793, kPhotoSize = 75000;

quint32 s_seed = 12345;
quint32 next()
{
    s_seed = s_seed * 1103515245u + 12345u;
    return s_seed;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Records are short texts padded with zeros, as cards are; photos are noise, as JPEG is.
QByteArray records(int count, int size)
{
    QByteArray out(qsizetype(count) * size, '\0');
    for (int r = 0; r < count; ++r) {
        char *rec = out.data() + qsizetype(r) * size;
        for (int field = 0; field < 20; ++field) {
            const int at = (size / 20) * field;
            const QByteArray text = "Titolo della canzone numero " + QByteArray::number(r) + " campo " +
                                    QByteArray::number(field);
            memcpy(rec + at, text.constData(), size_t(qMin<qsizetype>(text.size(), size / 20 - 1)));
        }
    }
    return out;
}

const QString &dataFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        const QString root = dir.path() + QLatin1Char('/');
        for (int c = 0; c < kCollections; ++c)
            write(root + QStringLiteral("Collection %1.mus").arg(c), records(kSongCards / kCollections, kSongSize));
        write(root + QStringLiteral("Archivio_Cantanti.pro"), records(kSingerCards, kSingerSize));
        QDir(root).mkpath(QStringLiteral("Anagrafica"));
        QDir(root).mkpath(QStringLiteral("Documenti_Allegati"));
        QByteArray photo(kPhotoSize, Qt::Uninitialized);
        for (int p = 1; p <= kPhotos; ++p) {
            for (int i = 0; i < kPhotoSize; i += 4) {
                const quint32 v = next();
                memcpy(photo.data() + i, &v, size_t(qMin(4, kPhotoSize - i)));
            }
            write(root + QStringLiteral("Anagrafica/Scheda_Cantante_%1.jpg").arg(p), photo);
        }
        write(root + QStringLiteral("unins000.dll"), "[Accesso]\r\nValore=00\r\n");
        made = true;
    }
    static const QString root = dir.path() + QLatin1Char('/');
    return root;
}

void removeBackups()
{
    QDir(Backups::folder(dataFolder())).removeRecursively();
}

void backup_program(benchmark::State &state)
{
    const QString root = dataFolder();
    for (auto _ : state) {
        Backups::create(root, QStringLiteral("Copia di sicurezza"), false);
        state.PauseTiming();
        removeBackups();
        state.ResumeTiming();
    }
}

// The yardstick: Info-ZIP at its fastest level on the same files.
void backup_zip1(benchmark::State &state)
{
    const QString root = dataFolder();
    const QString out = root + QStringLiteral("../bench-zip1.zip");
    for (auto _ : state) {
        QProcess zip;
        zip.setWorkingDirectory(root);
        QStringList args{QStringLiteral("-1"), QStringLiteral("-r"), QStringLiteral("-q"), out};
        args << QDir(root).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        zip.start(QStringLiteral("zip"), args);
        if (!zip.waitForFinished(-1) || zip.exitCode() != 0)
            state.SkipWithError("zip failed");
        state.PauseTiming();
        QFile::remove(out);
        state.ResumeTiming();
    }
}

QString backupOnce()
{
    static QString path;
    if (path.isEmpty())
        path = Backups::create(dataFolder(), QStringLiteral("Copia di sicurezza"), false).path;
    return path;
}

void restoreCheck_program(benchmark::State &state)
{
    const QString zip = backupOnce();
    for (auto _ : state)
        benchmark::DoNotOptimize(Backups::check(zip));
}

// The yardstick: every entry read and inflated once, nothing checked beyond the library's CRC.
void restoreCheck_bareRead(benchmark::State &state)
{
    const QString zip = backupOnce();
    QByteArray buffer(1 << 18, Qt::Uninitialized);
    for (auto _ : state) {
        unzFile z = unzOpen64(QFile::encodeName(zip).constData());
        qint64 total = 0;
        for (int s = unzGoToFirstFile(z); s == UNZ_OK; s = unzGoToNextFile(z)) {
            unzOpenCurrentFile(z);
            int n;
            while ((n = unzReadCurrentFile(z, buffer.data(), unsigned(buffer.size()))) > 0)
                total += n;
            unzCloseCurrentFile(z);
        }
        unzClose(z);
        benchmark::DoNotOptimize(total);
    }
}

} // namespace

BENCHMARK(backup_program)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(backup_zip1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(restoreCheck_program)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(restoreCheck_bareRead)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
