// The songbook of a 500-song collection, lyrics and translation side by side, with contents,
// index and bookmarks, read from the collection file and written as PDF; beside it the same
// pages painted by a bare QPdfWriter loop (the same texts at the same places, no layout, no
// outline, no safe replacement of the file).
#include "records/SongCard.h"
#include "report/ReportLayout.h"
#include "songbook/Songbook.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

constexpr int kSongs = 500;
QTemporaryDir *g_dir = nullptr;

const char *const kWords[] = {"amore", "cuore", "notte", "sole",  "mare",  "vento", "cielo",
                              "luna",  "strada", "tempo", "sogno", "vita", "canto", "città"};

QString verse(int song, int line, int words)
{
    QStringList out;
    for (int w = 0; w < words; ++w)
        out.append(QString::fromUtf8(kWords[(song * 7 + line * 3 + w * 5) % 14]));
    return out.join(QLatin1Char(' '));
}

QString collectionPath()
{
    return g_dir->filePath(QStringLiteral("Cinquecento.mus"));
}

void writeCollection()
{
    QFile f(collectionPath());
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    for (int s = 0; s < kSongs; ++s) {
        SongCard card;
        card.setText(SongCard::Titolo, QStringLiteral("Canzone %1 %2").arg(s + 1).arg(verse(s, 0, 2)));
        card.setText(SongCard::Cantante, QStringLiteral("Cantante %1").arg(s % 60 + 1));
        card.setText(SongCard::Autori, QStringLiteral("Autore %1, Autore %2").arg(s % 17).arg(s % 23));
        card.setText(SongCard::Anno, QString::number(1950 + s % 70));
        QStringList lyrics, translation;
        const int lines = 24 + s % 30;
        for (int l = 0; l < lines; ++l) {
            lyrics.append(l % 6 == 5 ? QString() : verse(s, l, 4 + (s + l) % 6));
            if (l < lines - s % 3)
                translation.append(l % 6 == 5 ? QString() : verse(s + 1, l, 4 + (s + l) % 7));
        }
        card.setText(SongCard::Testo, lyrics.join(QLatin1Char('\n')));
        card.setText(SongCard::Storia, translation.join(QLatin1Char('\n')));
        f.write(card.encode());
    }
}

songbook::Options sideBySide()
{
    songbook::Options o;
    o.layout = songbook::Layout::SideBySide;
    o.order = songbook::Order::Title;
    return o;
}

void BM_Songbook(benchmark::State &state)
{
    const QString out = g_dir->filePath(QStringLiteral("canzoniere.pdf"));
    for (auto _ : state)
        songbook::makePdf(collectionPath(), out, sideBySide());
    QList<songbook::Song> songs = songbook::readSongs(collectionPath(), {});
    songbook::sortSongs(songs, songbook::Order::Title);
    const auto book = songbook::layOut(QStringLiteral("Cinquecento"), QDate::currentDate(), songs, sideBySide());
    state.counters["pages"] = book.report.pageCount();
    state.counters["bookmarks"] = book.bookmarks.size();
}

// The same pages, painted by hand: every text line with its font at its place, every bar and rule.
void BM_SongbookBarePdf(benchmark::State &state)
{
    QList<songbook::Song> songs = songbook::readSongs(collectionPath(), {});
    songbook::sortSongs(songs, songbook::Order::Title);
    const auto book = songbook::layOut(QStringLiteral("Cinquecento"), QDate::currentDate(), songs, sideBySide());
    const QString out = g_dir->filePath(QStringLiteral("nudo.pdf"));
    for (auto _ : state) {
        QPdfWriter writer(out);
        writer.setResolution(600);
        writer.setPageLayout(book.report.pageLayout());
        QPainter p(&writer);
        const double k = 600 / 96.0;
        for (int i = 0; i < book.report.pageCount(); ++i) {
            if (i > 0)
                writer.newPage();
            for (const report::ReportObject &o : book.report.pages.at(i).items) {
                const QRectF box(o.rect.left() * k, o.rect.top() * k, o.rect.width() * k, o.rect.height() * k);
                if (o.kind == report::ObjectKind::Text) {
                    QFont font(o.family);
                    font.setPointSizeF(o.points);
                    font.setBold(o.bold);
                    font.setItalic(o.italic);
                    p.setFont(QFont(font, &writer));
                    p.setPen(o.colour);
                    double y = box.top();
                    for (const QString &line : o.lines) {
                        p.drawText(QRectF(box.left(), y, box.width(), o.lineHeight * k), int(o.hAlign), line);
                        y += o.lineHeight * k;
                    }
                } else if (o.kind == report::ObjectKind::Shape) {
                    p.fillRect(box, o.fill);
                } else if (o.kind == report::ObjectKind::HLine) {
                    p.fillRect(QRectF(box.left(), box.top(), box.width(), k), Qt::black);
                }
            }
        }
    }
    state.counters["pages"] = book.report.pageCount();
}

} // namespace

BENCHMARK(BM_Songbook)->Unit(benchmark::kMillisecond)->MinTime(5.0);
BENCHMARK(BM_SongbookBarePdf)->Unit(benchmark::kMillisecond)->MinTime(5.0);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    writeCollection();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
