#include "songbook/Songbook.h"

#include "core/RecordFile.h"
#include "core/Text.h"

#include <QCollator>
#include <QFileInfo>
#include <QLocale>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace songbook
{

using report::ObjectKind;
using report::ReportObject;
using report::ReportPage;

SongbookError::SongbookError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString SongbookError::message() const
{
    return QString::fromStdString(what());
}

QString songTitle(const SongCard &card)
{
    const QString t = ctrim(card.text(SongCard::Titolo));
    return t.isEmpty() ? QStringLiteral("(senza titolo)") : t;
}

QString songSinger(const SongCard &card)
{
    const QString s = ctrim(card.text(SongCard::Cantante));
    return s.isEmpty() ? QStringLiteral("(cantante non indicato)") : s;
}

QString collectionName(const QString &collectionPath)
{
    QString name = QFileInfo(collectionPath).fileName();
    if (name.endsWith(QLatin1String(".mus"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QList<Song> readSongs(const QString &collectionPath, const Selection &selection)
{
    const QFileInfo info(collectionPath);
    if (!info.exists())
        throw SongbookError(QStringLiteral("Attenzione: la collection \"%1\" non esiste.").arg(collectionPath));
    if (!info.isFile() || info.suffix().compare(QLatin1String("mus"), Qt::CaseInsensitive) != 0 ||
        info.size() % SongCard::kSize != 0)
        throw SongbookError(QStringLiteral("Attenzione: \"%1\" non è una collection (un file .mus di schede "
                                           "canzone).")
                                .arg(collectionPath));
    QList<Song> songs;
    try {
        RecordFile file(collectionPath, SongCard::kSize);
        if (selection.kind == Selection::Kind::Positions) {
            const qint64 count = file.count();
            QSet<qint64> seen;
            for (qint64 position : selection.positions) {
                if (position < 1 || position > count)
                    throw SongbookError(QStringLiteral("Attenzione: la scheda %1 non è nella collection \"%2\".")
                                            .arg(position)
                                            .arg(collectionName(collectionPath)));
                if (seen.contains(position))
                    continue;
                seen.insert(position);
                songs.append({position, SongCard::decode(file.read(position))});
            }
        } else {
            const bool flagged = selection.kind == Selection::Kind::Flagged;
            file.scanRaw([&](qint64 position, const char *record) {
                SongCard card = SongCard::decode(record);
                if (!flagged || card.flag() == SongCard::Flag::Flagged)
                    songs.append({position, std::move(card)});
                return true;
            });
        }
    } catch (const FileError &e) {
        throw SongbookError(QStringLiteral("Attenzione: impossibile leggere la collection \"%1\".\n%2")
                                .arg(collectionPath, e.description()));
    }
    return songs;
}

void sortSongs(QList<Song> &songs, Order order)
{
    if (order == Order::Stored)
        return;
    QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    auto key = [order](const Song &s) {
        const QString title = ctrim(s.card.text(SongCard::Titolo));
        const QString singer = ctrim(s.card.text(SongCard::Cantante));
        return order == Order::Title ? std::make_pair(title, singer) : std::make_pair(singer, title);
    };
    std::stable_sort(songs.begin(), songs.end(), [&](const Song &a, const Song &b) {
        const auto ka = key(a), kb = key(b);
        const int first = collator.compare(ka.first, kb.first);
        if (first != 0)
            return first < 0;
        return collator.compare(ka.second, kb.second) < 0;
    });
}

namespace
{

// The book's page, in report units (1/96 inch) from the paper's corner: A4 portrait.
constexpr double kPaperWidth = 210 * report::kUnitsPerMm, kPaperHeight = 297 * report::kUnitsPerMm;
constexpr double kLeft = 22 * report::kUnitsPerMm;
constexpr double kWidth = kPaperWidth - 2 * kLeft;
constexpr double kTop = 22 * report::kUnitsPerMm;
constexpr double kBottom = kPaperHeight - 27 * report::kUnitsPerMm;
constexpr double kFolioTop = kPaperHeight - 20 * report::kUnitsPerMm;
constexpr double kGutter = 22;       // between the two columns of a side-by-side song
constexpr double kSongGap = 34;      // between two songs sharing a page
constexpr double kNumberWidth = 36;  // page numbers of the contents and index
constexpr double kIndent = 14;       // a wrapped line's continuation, an index entry

const QColor kInk = QColor(0x20, 0x20, 0x20);
const QColor kAccent = QColor(0x2F, 0x5D, 0x8A);
const QColor kMuted = QColor(0x60, 0x60, 0x60);
const QColor kMark = QColor(0xB0, 0x3A, 0x2E);

struct Type {
    const char *family;
    double points;
    bool bold;
    bool italic;
    QColor colour;
};

const Type kKicker{"Liberation Sans", 12, true, false, kAccent};
const Type kCoverTitle{"Liberation Serif", 30, true, false, kInk};
const Type kCoverDate{"Liberation Serif", 13, false, true, kInk};
const Type kCoverNote{"Liberation Sans", 10, false, false, kMuted};
const Type kHeading{"Liberation Serif", 20, true, false, kInk};
const Type kEntry{"Liberation Serif", 10.5, false, false, kInk};
const Type kGroup{"Liberation Sans", 10, true, false, kAccent};
const Type kSongTitle{"Liberation Serif", 16, true, false, kInk};
const Type kSongSinger{"Liberation Sans", 11, false, false, kAccent};
const Type kSongMeta{"Liberation Sans", 8.5, false, false, kMuted};
const Type kLyrics{"Liberation Serif", 10.5, false, false, kInk};
const Type kColumnHead{"Liberation Sans", 8, true, false, kMuted};
const Type kNote{"Liberation Sans", 8, false, true, kMark};
const Type kContinued{"Liberation Serif", 11, true, true, kInk};
const Type kFolio{"Liberation Serif", 9, false, false, kInk};

ReportObject textObject(const Type &type)
{
    ReportObject t;
    t.kind = ObjectKind::Text;
    t.family = QString::fromLatin1(type.family);
    t.points = type.points;
    t.bold = type.bold;
    t.italic = type.italic;
    t.colour = type.colour;
    t.vAlign = report::VAlign::Top;
    return t;
}

// Measures of a type, computed once: the fonts are the same for every song.
struct Measure {
    ReportObject proto;
    QFont font;
    double pitch;
    explicit Measure(const Type &type)
        : proto(textObject(type))
        , font(report::objectFont(proto))
        , pitch(report::linePitch(proto))
    {
        proto.lineHeight = pitch;
    }
    ReportObject at(double x, double y, double width, const QStringList &lines,
                    Qt::Alignment align = Qt::AlignLeft) const
    {
        ReportObject t = proto;
        t.rect = QRectF(x, y, width, pitch * std::max<qsizetype>(1, lines.size()));
        t.lines = lines;
        t.hAlign = align;
        return t;
    }
    QStringList wrap(const QString &text, double width) const { return report::wrapLines(text, font, width); }
    double width(const QString &text) const { return report::textWidth(font, text); }
    QString elided(const QString &text, double width) const
    {
        if (this->width(text) <= width)
            return text;
        QString t = text;
        while (!t.isEmpty() && this->width(t + QStringLiteral("…")) > width)
            t.chop(1);
        return t + QStringLiteral("…");
    }
};

struct Fonts {
    Measure kicker{kKicker}, coverTitle{kCoverTitle}, coverDate{kCoverDate}, coverNote{kCoverNote};
    Measure heading{kHeading}, entry{kEntry}, group{kGroup};
    Measure songTitle{kSongTitle}, songSinger{kSongSinger}, songMeta{kSongMeta}, lyrics{kLyrics};
    Measure columnHead{kColumnHead}, note{kNote}, continued{kContinued}, folio{kFolio};
};

ReportObject rule(double x, double y, double width)
{
    ReportObject r;
    r.kind = ObjectKind::HLine;
    r.rect = QRectF(x, y, width, 0);
    return r;
}

// A piece of a song that moves as one: its items are placed from y = 0.
struct Block {
    double height = 0;
    QList<ReportObject> items;
};

void place(ReportPage &page, const Block &block, double y)
{
    for (ReportObject item : block.items) {
        item.rect.translate(0, y);
        page.items.append(item);
    }
}

QStringList memoLines(const SongCard &card, SongCard::Field field)
{
    const QString text = ctrim(card.text(field));
    if (text.isEmpty())
        return {};
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

// A line wrapped in a column: its continuation lines are indented.
QStringList wrapIndented(const Measure &m, const QString &line, double width)
{
    const QStringList first = m.wrap(line, width);
    if (first.size() <= 1)
        return first;
    // Re-wrap what follows the first piece in the narrower space.
    QString rest = line.mid(first.first().size());
    while (!rest.isEmpty() && rest.front().isSpace())
        rest.remove(0, 1);
    QStringList out{first.first()};
    for (const QString &piece : m.wrap(rest, width - kIndent))
        out.append(piece);
    return out;
}

class BookLayout
{
public:
    BookLayout(const QString &name, const QDate &date, const QList<Song> &songs, const Options &options)
        : m_name(name)
        , m_date(date)
        , m_songs(songs)
        , m_options(options)
    {
    }

    Book run()
    {
        Book book;
        book.songs = m_songs;
        book.report.templateName = m_name;
        book.report.orientation = QPageLayout::Portrait;
        book.report.paper = QSizeF(kPaperWidth, kPaperHeight);
        // Every text is wrapped or elided to its box when it is laid out.
        book.report.clipToBoxes = false;

        QList<ReportPage> cover{coverPage()};
        QList<Patch> patches;
        QList<ReportPage> contents = contentsPages(patches);
        QList<ReportPage> index = indexPages(patches);
        const int front = int(cover.size() + contents.size() + index.size());
        QList<int> starts;
        QList<ReportPage> body = songPages(front, starts);

        book.report.pages = cover + contents + index + body;
        // The numbers the contents and the index print are known only now.
        const int contentsAt = int(cover.size()), indexAt = contentsAt + int(contents.size());
        for (const Patch &p : patches) {
            const int at = (p.inIndex ? indexAt : contentsAt) + p.page;
            book.report.pages[at].items[p.item].lines = {QString::number(starts.at(p.song) + 1)};
            fillLeader(book.report.pages[at].items[p.item - 1], p.leaderWidth);
        }
        for (int i = 1; i < book.report.pages.size(); ++i)
            book.report.pages[i].items.append(
                m_fonts.folio.at(kLeft, kFolioTop, kWidth, {QString::number(i + 1)}, Qt::AlignHCenter));

        book.songPages = starts;
        book.contentsPage = contentsAt;
        book.indexPage = indexAt;
        book.bookmarks.append({m_name, 0, 0});
        book.bookmarks.append({QStringLiteral("Indice"), contentsAt, 1});
        book.bookmarks.append({QStringLiteral("Indice per cantante"), indexAt, 1});
        for (int i = 0; i < m_songs.size(); ++i)
            book.bookmarks.append({songTitle(m_songs.at(i).card) + QStringLiteral(" — ") +
                                       songSinger(m_songs.at(i).card),
                                   starts.at(i), 1});
        return book;
    }

private:
    // A page number of the contents or the index, written once the songs are placed; the item
    // before it is its dot leader.
    struct Patch {
        bool inIndex;
        int page;
        int item;
        int song;
        double leaderWidth;
    };

    ReportPage coverPage()
    {
        ReportPage page;
        double y = 300;
        page.items.append(report::shapeObject(QRectF(kLeft, kTop, kWidth, 3), kAccent));
        page.items.append(m_fonts.kicker.at(kLeft, y, kWidth, {QStringLiteral("CANZONIERE")}, Qt::AlignHCenter));
        y += m_fonts.kicker.pitch + 24;
        const QStringList title = m_fonts.coverTitle.wrap(m_name, kWidth);
        page.items.append(m_fonts.coverTitle.at(kLeft, y, kWidth, title, Qt::AlignHCenter));
        y += m_fonts.coverTitle.pitch * title.size() + 24;
        page.items.append(report::shapeObject(QRectF(kLeft + kWidth / 2 - 60, y, 120, 1.5), kAccent));
        y += 24;
        const QString date = QLocale(QLocale::Italian, QLocale::Italy).toString(m_date, QStringLiteral("d MMMM yyyy"));
        page.items.append(m_fonts.coverDate.at(kLeft, y, kWidth, {date}, Qt::AlignHCenter));
        y += m_fonts.coverDate.pitch + 10;
        const QString count = m_songs.size() == 1 ? QStringLiteral("1 canzone")
                                                   : QStringLiteral("%1 canzoni").arg(m_songs.size());
        page.items.append(m_fonts.coverNote.at(kLeft, y, kWidth, {count}, Qt::AlignHCenter));
        page.items.append(report::shapeObject(QRectF(kLeft, kBottom, kWidth, 3), kAccent));
        return page;
    }

    // The dots between an entry and its page number, as many as the space holds.
    void fillLeader(ReportObject &leader, double width) const
    {
        const double dot = m_fonts.entry.width(QStringLiteral(" ."));
        const int count = std::max(0, int(std::floor((width - 2) / dot)));
        QString dots;
        dots.reserve(count * 2);
        for (int i = 0; i < count; ++i)
            dots += QStringLiteral(" .");
        leader.lines = {dots};
    }

    // Lays out a list of entries under a heading, on as many pages as it needs.
    struct Entry {
        QString text;
        int song = -1; // -1: a group heading (a singer in the index)
    };
    QList<ReportPage> listPages(const QString &heading, const QList<Entry> &entries, bool inIndex,
                                QList<Patch> &patches)
    {
        QList<ReportPage> pages;
        double y = 0;
        const double pitch = m_fonts.entry.pitch + 2.5;
        auto newPage = [&] {
            pages.append(ReportPage());
            const QString text = pages.size() == 1 ? heading : heading + QStringLiteral(" (segue)");
            pages.last().items.append(m_fonts.heading.at(kLeft, kTop, kWidth, {text}));
            y = kTop + m_fonts.heading.pitch + 6;
            pages.last().items.append(rule(kLeft, y, kWidth));
            y += 16;
        };
        newPage();
        for (int i = 0; i < entries.size(); ++i) {
            const Entry &e = entries.at(i);
            const bool group = e.song < 0;
            // A singer's name never ends a page: it keeps its first song with it.
            const double need = group ? (i > 0 ? 8 : 0) + m_fonts.group.pitch + 2 + pitch : pitch;
            if (y + need > kBottom)
                newPage();
            ReportPage &page = pages.last();
            if (group) {
                if (y > kTop + m_fonts.heading.pitch + 30)
                    y += 8;
                page.items.append(m_fonts.group.at(kLeft, y, kWidth, {e.text}));
                y += m_fonts.group.pitch + 2;
                continue;
            }
            const double x = inIndex ? kLeft + kIndent : kLeft;
            const double textRoom = kLeft + kWidth - kNumberWidth - x - 24;
            const QString text = m_fonts.entry.elided(e.text, textRoom);
            const double textEnd = x + m_fonts.entry.width(text);
            page.items.append(m_fonts.entry.at(x, y, textEnd - x + 2, {text}));
            const double leaderLeft = textEnd + 4;
            const double numberLeft = kLeft + kWidth - kNumberWidth;
            page.items.append(m_fonts.entry.at(leaderLeft, y, numberLeft - leaderLeft, {QString()},
                                               Qt::AlignRight));
            page.items.append(m_fonts.entry.at(numberLeft, y, kNumberWidth, {QString()}, Qt::AlignRight));
            patches.append({inIndex, int(pages.size() - 1), int(page.items.size() - 1), e.song,
                            numberLeft - leaderLeft});
            y += pitch;
        }
        return pages;
    }

    QList<ReportPage> contentsPages(QList<Patch> &patches)
    {
        QList<Entry> entries;
        for (int i = 0; i < m_songs.size(); ++i)
            entries.append({songTitle(m_songs.at(i).card) + QStringLiteral(" — ") + songSinger(m_songs.at(i).card), i});
        return listPages(QStringLiteral("Indice"), entries, false, patches);
    }

    QList<ReportPage> indexPages(QList<Patch> &patches)
    {
        QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(true);
        // Singers in alphabetical order, each with its songs by title; one group per name.
        QList<int> order(m_songs.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const QString sa = songSinger(m_songs.at(a).card), sb = songSinger(m_songs.at(b).card);
            const int c = collator.compare(sa, sb);
            if (c != 0)
                return c < 0;
            return collator.compare(songTitle(m_songs.at(a).card), songTitle(m_songs.at(b).card)) < 0;
        });
        QList<Entry> entries;
        QString current;
        bool first = true;
        for (int i : order) {
            const QString singer = songSinger(m_songs.at(i).card);
            if (first || collator.compare(singer, current) != 0) {
                entries.append({singer, -1});
                current = singer;
                first = false;
            }
            entries.append({songTitle(m_songs.at(i).card), i});
        }
        return listPages(QStringLiteral("Indice per cantante"), entries, true, patches);
    }

    // The song's heading: title, singer, authors and year, and the column heads of a
    // side-by-side song.
    Block header(const SongCard &card, bool sideBySide, const QString &mismatch) const
    {
        Block b;
        const QStringList title = m_fonts.songTitle.wrap(songTitle(card), kWidth);
        b.items.append(m_fonts.songTitle.at(kLeft, 0, kWidth, title));
        double y = m_fonts.songTitle.pitch * title.size() + 1;
        const QStringList singer = m_fonts.songSinger.wrap(songSinger(card), kWidth);
        b.items.append(m_fonts.songSinger.at(kLeft, y, kWidth, singer));
        y += m_fonts.songSinger.pitch * singer.size() + 1;
        QStringList meta;
        const QString authors = ctrim(card.text(SongCard::Autori));
        const QString year = ctrim(card.text(SongCard::Anno));
        if (!authors.isEmpty())
            meta.append(QStringLiteral("Autori: ") + authors);
        if (!year.isEmpty())
            meta.append(QStringLiteral("Anno: ") + year);
        if (!meta.isEmpty()) {
            const QStringList lines = m_fonts.songMeta.wrap(meta.join(QStringLiteral("   ·   ")), kWidth);
            b.items.append(m_fonts.songMeta.at(kLeft, y, kWidth, lines));
            y += m_fonts.songMeta.pitch * lines.size();
        }
        y += 5;
        b.items.append(rule(kLeft, y, kWidth));
        y += 9;
        if (sideBySide)
            y = columnHeads(b, y, mismatch);
        b.height = y;
        return b;
    }

    double columnHeads(Block &b, double y, const QString &mismatch) const
    {
        const double column = (kWidth - kGutter) / 2;
        b.items.append(m_fonts.columnHead.at(kLeft, y, column, {QStringLiteral("TESTO")}));
        b.items.append(m_fonts.columnHead.at(kLeft + column + kGutter, y, column, {QStringLiteral("TRADUZIONE")}));
        y += m_fonts.columnHead.pitch + 2;
        if (!mismatch.isEmpty()) {
            b.items.append(m_fonts.note.at(kLeft, y, kWidth, {mismatch}));
            y += m_fonts.note.pitch + 2;
        }
        return y + 4;
    }

    // The heading of a song's following page.
    Block continuation(const SongCard &card, bool sideBySide) const
    {
        Block b;
        const QString text =
            m_fonts.continued.elided(songTitle(card), kWidth - m_fonts.continued.width(QStringLiteral(" (segue)"))) +
            QStringLiteral(" (segue)");
        b.items.append(m_fonts.continued.at(kLeft, 0, kWidth, {text}));
        double y = m_fonts.continued.pitch + 3;
        b.items.append(rule(kLeft, y, kWidth));
        y += 8;
        if (sideBySide)
            y = columnHeads(b, y, QString());
        b.height = y;
        return b;
    }

    // One printed line of a song's body, as high as a line of lyrics.
    QList<Block> bodyRows(const SongCard &card, bool sideBySide) const
    {
        QList<Block> rows;
        const Measure &m = m_fonts.lyrics;
        const QStringList lyrics = memoLines(card, SongCard::Testo);
        if (!sideBySide) {
            for (const QString &line : lyrics) {
                const QStringList pieces = wrapIndented(m, line, kWidth);
                for (int i = 0; i < pieces.size(); ++i) {
                    Block row;
                    row.height = m.pitch;
                    const double x = i == 0 ? kLeft : kLeft + kIndent;
                    row.items.append(m.at(x, 0, kLeft + kWidth - x, {pieces.at(i)}));
                    rows.append(row);
                }
            }
            return rows;
        }
        const QStringList translation = memoLines(card, SongCard::Storia);
        const double column = (kWidth - kGutter) / 2;
        const qsizetype count = std::max(lyrics.size(), translation.size());
        for (qsizetype i = 0; i < count; ++i) {
            const QStringList left = i < lyrics.size() ? wrapIndented(m, lyrics.at(i), column) : QStringList();
            const QStringList right =
                i < translation.size() ? wrapIndented(m, translation.at(i), column) : QStringList();
            // A line that one text has and the other lacks is marked in the margin.
            const bool unmatched = i >= lyrics.size() || i >= translation.size();
            const qsizetype height = std::max<qsizetype>(1, std::max(left.size(), right.size()));
            for (qsizetype j = 0; j < height; ++j) {
                Block row;
                row.height = m.pitch;
                if (j < left.size()) {
                    const double x = kLeft + (j == 0 ? 0 : kIndent);
                    row.items.append(m.at(x, 0, kLeft + column - x, {left.at(j)}));
                }
                if (j < right.size()) {
                    const double x = kLeft + column + kGutter + (j == 0 ? 0 : kIndent);
                    row.items.append(m.at(x, 0, kLeft + kWidth - x, {right.at(j)}));
                }
                if (unmatched)
                    row.items.append(report::shapeObject(QRectF(kLeft - 9, 1, 2.5, m.pitch - 1), kMark));
                rows.append(row);
            }
        }
        return rows;
    }

    QList<ReportPage> songPages(int front, QList<int> &starts)
    {
        QList<ReportPage> pages;
        double y = kBottom; // no page yet
        auto newPage = [&] {
            pages.append(ReportPage());
            y = kTop;
        };
        for (const Song &song : m_songs) {
            const SongCard &card = song.card;
            const QStringList lyrics = memoLines(card, SongCard::Testo);
            const QStringList translation = memoLines(card, SongCard::Storia);
            const bool sideBySide = m_options.layout == Layout::SideBySide && !translation.isEmpty();
            QString mismatch;
            if (sideBySide && lyrics.size() != translation.size())
                mismatch = QStringLiteral("Righe diverse: il testo ne ha %1, la traduzione %2; il segno a sinistra "
                                          "indica le righe senza corrispondenza.")
                               .arg(lyrics.size())
                               .arg(translation.size());
            const Block head = header(card, sideBySide, mismatch);
            const QList<Block> rows = bodyRows(card, sideBySide);
            double total = head.height;
            for (const Block &r : rows)
                total += r.height;
            const bool fresh = !pages.isEmpty() && y <= kTop;
            if (pages.isEmpty() || (!fresh && y + kSongGap + total > kBottom)) {
                newPage();
            } else if (!fresh) {
                y += kSongGap;
            }
            // A heading keeps at least its first line of lyrics with it.
            const double firstRow = rows.isEmpty() ? 0 : rows.first().height;
            if (y > kTop && y + head.height + firstRow > kBottom)
                newPage();
            starts.append(front + int(pages.size()) - 1);
            place(pages.last(), head, y);
            y += head.height;
            for (const Block &row : rows) {
                if (y + row.height > kBottom + 0.001) {
                    newPage();
                    const Block cont = continuation(card, sideBySide);
                    place(pages.last(), cont, y);
                    y += cont.height;
                }
                place(pages.last(), row, y);
                y += row.height;
            }
        }
        return pages;
    }

    QString m_name;
    QDate m_date;
    QList<Song> m_songs;
    Options m_options;
    Fonts m_fonts;
};

} // namespace

Book layOut(const QString &name, const QDate &date, const QList<Song> &songs, const Options &options)
{
    return BookLayout(name, date, songs, options).run();
}

} // namespace songbook
