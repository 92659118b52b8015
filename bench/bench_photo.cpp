// Showing a singer card whose photo is a 24-megapixel camera picture, against decoding that
// photo reduced to the editor's 307 x 409 preview box, and against decoding it whole (what
// showing a card cost when the editor kept every photo at full size).
#include "core/ProgramFolder.h"
#include "singers/FrmAnagrafica.h"
#include "app/PictureBox.h"
#include "records/SingerCard.h"
#include "records/SingerPhoto.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

QString g_photo;
const QSize kOwn(6000, 4000);
const QSize kPreview(307, 409);

// Gradients and grain, as in a real photo: JPEG cannot squeeze it to nothing.
QImage cameraPicture()
{
    QImage image(kOwn, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(noise.bounded(32));
            line[x] = qRgb((x / 24 + grain) & 0xFF, (y / 16 + grain) & 0xFF, ((x + y) / 40 + grain) & 0xFF);
        }
    }
    return image;
}

void BM_DecodeReducedToPreview(benchmark::State &state)
{
    for (auto _ : state) {
        QImageReader reader(g_photo);
        reader.setScaledSize(SingerPhoto::fitSize(reader.size(), kPreview));
        QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_DecodeWhole(benchmark::State &state)
{
    for (auto _ : state) {
        QImage image = QImageReader(g_photo).read();
        if (image.isNull())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ShowCardInEditor(benchmark::State &state)
{
    FrmAnagrafica editor;
    editor.showWorkWindow();
    SingerCard card;
    card.setText(SingerCard::Nome, QStringLiteral("Mina"));
    for (auto _ : state) {
        editor.showCard(card, 1);
        if (editor.imgFoto->photo().sourceFile().isEmpty())
            state.SkipWithError("photo not shown");
    }
    state.counters["shown_width"] = editor.imgFoto->shown().width();
}

} // namespace

BENCHMARK(BM_DecodeReducedToPreview)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ShowCardInEditor)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DecodeWhole)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
