#pragma once

#include "records/SongCard.h"
#include "report/ReportLayout.h"

#include <QDate>
#include <QList>
#include <QString>

#include <stdexcept>

// A printed songbook of a collection: cover, contents, index by singer and the songs, laid out
// into report pages that preview, print and PDF share. No widgets here.
namespace songbook
{

enum class Order { Stored, Title, Singer };
enum class Layout { Lyrics, SideBySide }; // side by side: lyrics and translation, line against line

// Which cards of the collection go into the book.
struct Selection {
    enum class Kind { All, Flagged, Positions };
    Kind kind = Kind::All;
    QList<qint64> positions; // for Positions: 1-based, in the caller's order; repeats count once
};

struct Options {
    Selection selection;
    Order order = Order::Stored;
    Layout layout = Layout::Lyrics;
};

struct Song {
    qint64 position = 0;
    SongCard card;
};

// A failure the user is told about, in Italian.
class SongbookError : public std::runtime_error
{
public:
    explicit SongbookError(const QString &message);
    QString message() const;
};

// An entry of the PDF outline: its title and the page (0-based) it opens.
struct Bookmark {
    QString title;
    int page = 0;
    int level = 1; // 0: the book itself, 1: a part or a song
};

struct Book {
    report::PreparedReport report;
    QList<Bookmark> bookmarks;
    QList<Song> songs;    // in book order
    QList<int> songPages; // the page (0-based) each song starts on
    int contentsPage = 0, indexPage = 0;
};

// The texts the book shows for a song without title or singer.
QString songTitle(const SongCard &card);
QString songSinger(const SongCard &card);

// The cards the selection names, read from a collection file, in stored order (Positions: in
// the caller's order). Throws SongbookError for a missing file, one that is not a collection, a
// position outside it, or a read that fails.
QList<Song> readSongs(const QString &collectionPath, const Selection &selection);

// Puts the songs in the chosen order (stable: equal keys keep their order).
void sortSongs(QList<Song> &songs, Order order);

// Lays the book out. `name` is the collection's name on the cover, `date` the date it shows.
Book layOut(const QString &name, const QDate &date, const QList<Song> &songs, const Options &options);

// Writes the book as a PDF with its outline; the file appears whole or not at all. Throws
// SongbookError when it cannot be written.
void writePdf(const Book &book, const QString &path, const QString &title);

// The whole job of the command line: reads the collection, lays the book out and writes the
// PDF. Throws SongbookError (nothing written) when any step fails or no card is chosen.
void makePdf(const QString &collectionPath, const QString &pdfPath, const Options &options,
             const QDate &date = QDate::currentDate());

// The collection's name as the program shows it: the file's name without ".mus".
QString collectionName(const QString &collectionPath);

} // namespace songbook
