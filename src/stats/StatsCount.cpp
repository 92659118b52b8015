#include "stats/StatsCount.h"

#include "core/RecordFile.h"
#include "core/Text.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace Stats
{

const char *const kOthers = "Altri";

const Chart *Summary::chart(const QString &name) const
{
    for (const Chart &c : charts)
        if (c.name == name)
            return &c;
    return nullptr;
}

namespace
{

struct Spelling {
    QString text;
    qint64 count = 0;
    int order = 0; // first met
};

struct Bucket {
    std::vector<qint64> positions;
    QList<Spelling> spellings;
};

} // namespace

struct Grouping::Data {
    QHash<QString, int> index; // case-folded text -> bucket
    std::vector<Bucket> buckets;
    std::vector<qint64> blank;
};

Grouping::Grouping()
    : d(std::make_unique<Data>())
{
}
Grouping::~Grouping() = default;
Grouping::Grouping(Grouping &&) noexcept = default;
Grouping &Grouping::operator=(Grouping &&) noexcept = default;

void Grouping::add(const QString &text, qint64 position)
{
    const QString shown = ctrim(text);
    if (shown.isEmpty()) {
        d->blank.push_back(position);
        return;
    }
    const QString key = shown.toCaseFolded();
    auto found = d->index.constFind(key);
    int at;
    if (found == d->index.constEnd()) {
        at = int(d->buckets.size());
        d->index.insert(key, at);
        d->buckets.emplace_back();
    } else {
        at = *found;
    }
    Bucket &b = d->buckets[size_t(at)];
    b.positions.push_back(position);
    for (Spelling &s : b.spellings) {
        if (s.text == shown) {
            ++s.count;
            return;
        }
    }
    b.spellings.append({shown, 1, int(b.spellings.size())});
}

QList<Group> Grouping::groups(int largest, const QString &blank) const
{
    QList<Group> named;
    named.reserve(qsizetype(d->buckets.size()));
    for (const Bucket &b : d->buckets) {
        const Spelling *best = &b.spellings.first();
        for (const Spelling &s : b.spellings)
            if (s.count > best->count) // the first met keeps a tie
                best = &s;
        named.append({best->text, b.positions});
    }
    std::sort(named.begin(), named.end(), [](const Group &a, const Group &b) {
        if (a.count() != b.count())
            return a.count() > b.count();
        const int byName = a.label.compare(b.label, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.label < b.label;
    });
    if (largest >= 0 && named.size() > largest) {
        Group others{QString::fromUtf8(kOthers), {}};
        for (qsizetype i = largest; i < named.size(); ++i)
            others.positions.insert(others.positions.end(), named[i].positions.begin(),
                                    named[i].positions.end());
        // A card in several folded groups (a singer with two rare genres) is one card of "Altri".
        std::sort(others.positions.begin(), others.positions.end());
        others.positions.erase(std::unique(others.positions.begin(), others.positions.end()),
                               others.positions.end());
        named.resize(largest);
        named.append(others);
    }
    if (!d->blank.empty())
        named.append({blank, d->blank});
    return named;
}

int firstYear(const QString &text)
{
    auto digit = [&](qsizetype i) {
        return text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
    };
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (!digit(i)) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && digit(j))
            ++j;
        if (j - i == 4)
            return text.mid(i, 4).toInt();
        i = j;
    }
    return -1;
}

QString decadeLabel(int decade)
{
    return QStringLiteral("%1-%2")
        .arg(decade, 4, 10, QLatin1Char('0'))
        .arg(decade + 9, 4, 10, QLatin1Char('0'));
}

QStringList genresOf(const QString &text)
{
    QStringList genres;
    QStringList seen;
    QString part;
    auto flush = [&] {
        const QString g = ctrim(part);
        part.clear();
        if (g.isEmpty() || seen.contains(g.toCaseFolded()))
            return;
        seen.append(g.toCaseFolded());
        genres.append(g);
    };
    for (QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char('/'))
            flush();
        else
            part.append(c);
    }
    flush();
    return genres;
}

namespace
{

// Cards by decade, oldest first, then the cards without a year.
class Decades
{
public:
    void add(const QString &text, qint64 position)
    {
        const int year = firstYear(text);
        if (year < 0)
            m_none.push_back(position);
        else
            m_decades[year / 10 * 10].push_back(position);
    }
    QList<Group> groups(const QString &none) const
    {
        QList<Group> out;
        for (const auto &[decade, positions] : m_decades)
            out.append({decadeLabel(decade), positions});
        if (!m_none.empty())
            out.append({none, m_none});
        return out;
    }

private:
    std::map<int, std::vector<qint64>> m_decades;
    std::vector<qint64> m_none;
};

// Two fixed groups in a fixed order, both shown even when one is empty.
struct YesNo {
    std::vector<qint64> yes, no;
    QList<Group> groups(const QString &yesLabel, const QString &noLabel) const
    {
        return {{yesLabel, yes}, {noLabel, no}};
    }
};

QString fieldText(const char *record, const RecordSchema &schema, int field)
{
    const RecordSchema::Field &f = schema.field(field);
    return RecordSchema::load(record + f.offset, f);
}

} // namespace

Summary songs(const QString &path)
{
    const RecordSchema &schema = SongCard::schema();
    Grouping genre, singer, nation;
    Decades decades;
    YesNo flagged;
    Summary s;
    SongCard flagOnly;
    RecordFile file(path, SongCard::kSize);
    file.scanRaw([&](qint64 position, const char *record) {
        ++s.cards;
        genre.add(fieldText(record, schema, SongCard::Genere), position);
        decades.add(fieldText(record, schema, SongCard::Anno), position);
        singer.add(fieldText(record, schema, SongCard::Cantante), position);
        nation.add(fieldText(record, schema, SongCard::Nazione), position);
        flagOnly.setText(SongCard::Segnala, fieldText(record, schema, SongCard::Segnala));
        // Only "Sì" is flagged, as in the flagged-songs list; anything else is not.
        (flagOnly.flag() == SongCard::Flag::Flagged ? flagged.yes : flagged.no).push_back(position);
        return true;
    });
    file.close();
    s.charts = {
        {QStringLiteral("genere"), QStringLiteral("Canzoni per genere musicale"),
         genre.groups(kLargestGenres, QStringLiteral("Senza genere"))},
        {QStringLiteral("decennio"), QStringLiteral("Canzoni per decennio"),
         decades.groups(QStringLiteral("Senza anno"))},
        {QStringLiteral("cantante"), QStringLiteral("Canzoni per cantante"),
         singer.groups(kLargestSingers, QStringLiteral("Senza cantante"))},
        {QStringLiteral("nazione"), QStringLiteral("Canzoni per nazione"),
         nation.groups(kLargestPlaces, QStringLiteral("Senza nazione"))},
        {QStringLiteral("segnalate"), QStringLiteral("Canzoni segnalate e non segnalate"),
         flagged.groups(QStringLiteral("Segnalate"), QStringLiteral("Non segnalate"))},
    };
    return s;
}

Summary singers(const QString &path, const std::function<bool(qint64)> &hasPhoto)
{
    const RecordSchema &schema = SingerCard::schema();
    Grouping citizenship, genre;
    Decades births;
    YesNo photo;
    Summary s;
    RecordFile file(path, SingerCard::kSize);
    file.scanRaw([&](qint64 position, const char *record) {
        ++s.cards;
        citizenship.add(fieldText(record, schema, SingerCard::Cittadinanza), position);
        const QStringList genres = genresOf(fieldText(record, schema, SingerCard::Esperienze));
        if (genres.isEmpty())
            genre.add(QString(), position);
        for (const QString &g : genres)
            genre.add(g, position);
        births.add(fieldText(record, schema, SingerCard::DataNasc), position);
        (hasPhoto && hasPhoto(position) ? photo.yes : photo.no).push_back(position);
        return true;
    });
    file.close();
    Chart genres{QStringLiteral("generi"), QStringLiteral("Cantanti per genere musicale"),
                 genre.groups(kLargestGenres, QStringLiteral("Senza genere"))};
    genres.multiple = true;
    s.charts = {
        {QStringLiteral("cittadinanza"), QStringLiteral("Cantanti per cittadinanza"),
         citizenship.groups(kLargestPlaces, QStringLiteral("Senza cittadinanza"))},
        genres,
        {QStringLiteral("nascita"), QStringLiteral("Cantanti per decennio di nascita"),
         births.groups(QStringLiteral("Senza anno di nascita"))},
        {QStringLiteral("foto"), QStringLiteral("Cantanti con foto e senza foto"),
         photo.groups(QStringLiteral("Con foto"), QStringLiteral("Senza foto"))},
    };
    return s;
}

void readCards(const QString &path, int recordSize, const std::vector<qint64> &positions,
               const std::function<void(qint64, const char *)> &visit)
{
    if (positions.empty())
        return;
    std::vector<qint64> wanted = positions;
    std::sort(wanted.begin(), wanted.end());
    size_t next = 0;
    RecordFile file(path, recordSize);
    file.scanRaw([&](qint64 position, const char *record) {
        while (next < wanted.size() && wanted[next] < position)
            ++next;
        if (next == wanted.size())
            return false;
        if (wanted[next] == position)
            visit(position, record);
        return true;
    });
    file.close();
}

} // namespace Stats
