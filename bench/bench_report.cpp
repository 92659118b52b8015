// The report engine against Qt's own PDF writer: a 10,000-line list laid out and written as
// PDF, beside the same lines written by a bare drawText loop; and the singer card with a
// 24-megapixel photo, with the process's peak memory.
#include "report/ListReport.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"
#include "records/SingerPhoto.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace report;

namespace
{

constexpr int kLines = 10000;
QTemporaryDir *g_dir = nullptr;

QStringList listLines()
{
    QStringList lines;
    for (int i = 0; i < kLines; ++i)
        lines << QStringLiteral("%1  %2  %3  %4")
                     .arg(i + 1, 6)
                     .arg(QStringLiteral("Titolo della canzone numero %1").arg(i), -60)
                     .arg(QStringLiteral("Cantante"), -40)
                     .arg(1960 + i % 60);
    return lines;
}

// The process's peak resident memory in megabytes since the last resetPeak().
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Starts the peak over from the current use, so that making the test photo does not count.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// A camera photo read from its JPEG file, decoded at what the page needs, laid out and written.
void BM_SingerCardBigPhoto(benchmark::State &state)
{
    const QString jpeg = g_dir->filePath(QStringLiteral("photo.jpg"));
    {
        QImage photo(6000, 4000, QImage::Format_RGB32);
        photo.fill(QColor(90, 120, 160));
        photo.save(jpeg, "JPEG", 85);
    }
    const SingerPhoto::Photo photo = SingerPhoto::Photo::fromFile(jpeg);
    const QString path = g_dir->filePath(QStringLiteral("singer.pdf"));
    resetPeak();
    const double before = peakMegabytes();
    for (auto _ : state) {
        ReportTemplate t = singerCardTemplate();
        const QSizeF box = t.object(QStringLiteral("imgLogo")).rect.size();
        t.setPicture(QStringLiteral("imgLogo"), photo.fitted(pixelsForBox(box)));
        t.setText(QStringLiteral("txtNome"), QStringLiteral("Mina"));
        const PreparedReport r = prepareReport(t);
        if (!writePdf(r, path))
            state.SkipWithError("PDF not written");
    }
    state.counters["base_MB"] = before;
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_ListEngine(benchmark::State &state)
{
    const QStringList lines = listLines();
    const QString path = g_dir->filePath(QStringLiteral("list.pdf"));
    int pages = 0;
    for (auto _ : state) {
        ReportTemplate t = listTemplate();
        fillList(t, QStringLiteral("Riepilogo canzoni in collection"), lines);
        const PreparedReport r = prepareReport(t);
        pages = r.pageCount();
        if (!writePdf(r, path))
            state.SkipWithError("PDF not written");
    }
    state.counters["pages"] = pages;
}

// The same lines, font, pitch and paper straight through QPdfWriter: the floor for the engine.
void BM_ListBarePdf(benchmark::State &state)
{
    const QStringList lines = listLines();
    const QString path = g_dir->filePath(QStringLiteral("bare.pdf"));
    ReportObject text = *listTemplate().findObject(QStringLiteral("txtRiepilogo"));
    for (auto _ : state) {
        QPdfWriter writer(path);
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        QPainter painter(&writer);
        painter.setFont(QFont(objectFont(text), &writer));
        const double k = 600 / 96.0;
        const double pitch = kListLineHeight * k;
        const double top = 37.8 * k, bottom = (793.7 - 37.8) * k;
        double y = top;
        for (const QString &line : lines) {
            if (y + pitch > bottom) {
                writer.newPage();
                y = top;
            }
            painter.drawText(QRectF(49 * k, y, 1031 * k, pitch), Qt::AlignLeft | Qt::AlignVCenter, line);
            y += pitch;
        }
    }
}

} // namespace

BENCHMARK(BM_SingerCardBigPhoto)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ListEngine)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ListBarePdf)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
