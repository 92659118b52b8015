// One slideshow step with a 24-megapixel camera photo, against decoding that same file alone.
// The step decodes the photo already reduced to the screen, so it should cost no more than
// the plain decode.
#include "core/ProgramFolder.h"
#include "singers/FrmSlideshow_Anagrafica.h"
#include "app/PictureBox.h"
#include "records/SingerCard.h"
#include "records/SingerPhoto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

QString g_photo;

// A picture with the detail of a real photo (gradients and grain), which JPEG cannot
// squeeze to nothing the way it does a flat fill.
QImage cameraPicture()
{
    QImage image(6000, 4000, QImage::Format_RGB32);
    QRandomGenerator noise(42);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(noise.bounded(32));
            line[x] = qRgb((x / 24 + grain) & 0xFF, (y / 16 + grain) & 0xFF, ((x + y) / 40 + grain) & 0xFF);
        }
    }
    return image;
}

void BM_DecodeAlone(benchmark::State &state)
{
    for (auto _ : state) {
        QImageReader reader(g_photo);
        QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_SlideshowStep(benchmark::State &state)
{
    FrmSlideshow_Anagrafica window;
    for (auto _ : state) {
        // From position 0 the step opens the archive, moves to card 1 and loads its photo.
        window.lblPosizione->setText(QStringLiteral("0"));
        window.cmdAvantiClick();
        if (window.imgFoto->photo().sourceFile().isEmpty())
            state.SkipWithError("photo not shown");
    }
    state.counters["shown_width"] = window.imgFoto->shown().width();
}

} // namespace

BENCHMARK(BM_DecodeAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SlideshowStep)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    ProgramFolder::setOverride(folder.path());

    QFile archive(SingerArchive::path());
    if (!archive.open(QIODevice::WriteOnly) || archive.write(SingerCard().encode()) != SingerCard::kSize)
        return 1;
    archive.close();
    SingerPhoto::ensureFolder();
    g_photo = SingerPhoto::fileFor(QStringLiteral("1"));
    if (!SingerPhoto::save(cameraPicture(), g_photo))
        return 1;
    fprintf(stderr, "photo: 6000 x 4000, %lld bytes\n", static_cast<long long>(QFileInfo(g_photo).size()));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ProgramFolder::setOverride(QString());
    return 0;
}
