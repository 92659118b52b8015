#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Counting for the statistics window: one scan of an archive computes every chart. Texts are
// grouped trimmed (the archives' own trim) and without regard to letter case, each group named
// by its most frequent spelling. No widgets here.
namespace Stats
{

// One bar or slice: its name, and the positions of its cards in file order.
struct Group {
    QString label;
    std::vector<qint64> positions;

    qint64 count() const { return qint64(positions.size()); }
};

struct Chart {
    QString name;  // ASCII key, stable for tests and object names ("genere", "decennio", ...)
    QString title; // what the window and the saved picture show
    QList<Group> groups;
    // True when a card may fall into several groups (a singer with more than one genre): the
    // counts then add up to more than the cards.
    bool multiple = false;
};

struct Summary {
    qint64 cards = 0;
    QList<Chart> charts;

    const Chart *chart(const QString &name) const;
};

// Groups texts by their trimmed, case-folded form. Named groups are ranked by count (ties by
// name); past `largest` of them the rest go together into "Altri"; the cards without a text
// form one last group named `blank`. The most frequent spelling names a group; between equally
// frequent spellings the one met first in the file wins.
class Grouping
{
public:
    Grouping();
    ~Grouping();
    Grouping(Grouping &&) noexcept;
    Grouping &operator=(Grouping &&) noexcept;

    // Adds one card's text. Cards must come in file order.
    void add(const QString &text, qint64 position);
    // `largest` < 0: no limit.
    QList<Group> groups(int largest, const QString &blank) const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// The year of a free text: the first run of exactly four digits ("12/03/1965", "c. 1978",
// "1978-1980" give 1965, 1978, 1978); -1 when there is none.
int firstYear(const QString &text);
// "1960-1969".
QString decadeLabel(int decade);

inline constexpr int kLargestGenres = 15;
inline constexpr int kLargestSingers = 20;
inline constexpr int kLargestPlaces = 15;
extern const char *const kOthers; // "Altri"

// The statistics of a song collection: genre, decade, singer, nation, flag. Throws FileError
// when the file cannot be read (a missing one is created empty, as every reader does).
Summary songs(const QString &path);
// The statistics of the singer archive: citizenship, genres, decade of birth, photo.
// `hasPhoto` tells whether the card at a position has its photo file.
Summary singers(const QString &path, const std::function<bool(qint64)> &hasPhoto);
// The musical genres of a singer card: the field's text split at commas, semicolons and
// slashes, each part trimmed; empty parts dropped, each genre once (ignoring case).
QStringList genresOf(const QString &text);

// The cards whose positions are given, read in one scan of the file: each record's bytes is
// handed to `visit` with its position. Throws FileError.
void readCards(const QString &path, int recordSize, const std::vector<qint64> &positions,
               const std::function<void(qint64, const char *)> &visit);

} // namespace Stats
