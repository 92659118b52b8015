#include "table/CardIndex.h"

#include "core/RecordFile.h"
#include "core/Text.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "table/Fold.h"

#include <QCollator>
#include <QDateTime>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <sys/stat.h>

namespace
{

const RecordSchema &schemaOf(ArchiveKind kind)
{
    return kind == ArchiveKind::Songs ? SongCard::schema() : SingerCard::schema();
}

// The fields of each search scope, in the order they are folded: title and singer, lyrics, the
// rest. A singer card is searched in every field.
struct Scopes {
    QVector<int> segment[3];
};

const Scopes &scopesOf(ArchiveKind kind)
{
    static const Scopes songs = [] {
        Scopes s;
        s.segment[0] = {SongCard::Titolo, SongCard::Cantante};
        s.segment[1] = {SongCard::Testo};
        s.segment[2] = {SongCard::Album, SongCard::Genere, SongCard::Autori, SongCard::Storia, SongCard::Note};
        return s;
    }();
    static const Scopes singers = [] {
        Scopes s;
        s.segment[0] = {SingerCard::Nome, SingerCard::Indirizzo};
        for (int f = 0; f < SingerCard::FieldCount; ++f)
            if (f != SingerCard::Nome && f != SingerCard::Indirizzo)
                s.segment[2] << f;
        return s;
    }();
    return kind == ArchiveKind::Songs ? songs : singers;
}

// A field's text bytes as stored: up to the zero, or the counted length. `bad` is set when a
// length byte says more than the field holds, which the program never writes.
int fieldBytes(const char *record, const RecordSchema::Field &f, const char **at, bool *bad)
{
    const char *p = record + f.offset;
    if (f.codec == RecordSchema::Codec::Counted) {
        const int n = static_cast<unsigned char>(p[0]);
        if (n > f.capacity())
            *bad = true;
        *at = p + 1;
        return qMin(n, f.capacity());
    }
    *at = p;
    const void *zero = std::memchr(p, 0, size_t(f.width));
    return zero ? int(static_cast<const char *>(zero) - p) : f.width;
}

bool hasControl(const char *at, int n)
{
    for (int i = 0; i < n; ++i)
        if (static_cast<unsigned char>(at[i]) < 0x20)
            return true;
    return false;
}

constexpr qint64 kRacyNs = 2000000000;

// A quick hash of what the index holds of a card, eight bytes at a time: a change elsewhere in
// the record (a web address, an attachment) changes nothing here.
quint64 hashBytes(const char *at, qsizetype n, quint64 h)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, at + i, 8);
        h = (h ^ word) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    for (; i < n; ++i) {
        h = (h ^ quint64(static_cast<unsigned char>(at[i]))) * 0x100000001B3ull;
        h ^= h >> 29;
    }
    return (h ^ quint64(n)) * 0xBF58476D1CE4E5B9ull;
}

// Folds one record into the arenas of `scan`.
quint64 foldRecord(ArchiveKind kind, const char *record, CardIndex::Scan &scan)
{
    const RecordSchema &schema = schemaOf(kind);
    const Scopes &scopes = scopesOf(kind);
    CardIndex::Entry e;
    e.text = scan.text.size();
    e.columns = scan.columns.size();
    bool bad = false;
    int total = 0;
    for (const RecordSchema::Field &f : schema) {
        const char *at = nullptr;
        total += fieldBytes(record, f, &at, &bad);
    }
    // A card whose names hold control bytes is not a card the program wrote: binary rubbish.
    const int names[2] = {kind == ArchiveKind::Songs ? int(SongCard::Titolo) : int(SingerCard::Nome),
                          kind == ArchiveKind::Songs ? int(SongCard::Cantante) : int(SingerCard::Indirizzo)};
    for (int f : names) {
        const char *at = nullptr;
        const int n = fieldBytes(record, schema.field(f), &at, &bad);
        bad = bad || hasControl(at, n);
    }
    e.undecodable = bad;
    if (!bad) {
        for (int s = 0; s < 3; ++s) {
            const qsizetype start = scan.text.size();
            for (int f : scopes.segment[s]) {
                const char *at = nullptr;
                const int n = fieldBytes(record, schema.field(f), &at, &bad);
                Fold::append(scan.text, at, n);
                if (scan.text.size() > start && !scan.text.endsWith(' '))
                    scan.text.append(' ');
            }
            e.segment[s] = quint16(qMin<qsizetype>(scan.text.size() - start, 0xFFFF));
            scan.text.truncate(start + e.segment[s]);
        }
        for (int c = 0; c < TableColumns::count(kind); ++c) {
            const char *at = nullptr;
            int n = fieldBytes(record, schema.field(TableColumns::at(kind, c).field), &at, &bad);
            while (n > 0 && static_cast<unsigned char>(at[0]) <= 0x20) {
                ++at;
                --n;
            }
            while (n > 0 && static_cast<unsigned char>(at[n - 1]) <= 0x20)
                --n;
            n = qMin(n, 255);
            e.columnLength[size_t(c)] = quint8(n);
            scan.columns.append(at, n);
        }
    }
    scan.entries.append(e);
    scan.textBytesOf.append(total);
    scan.textBytes += total;
    quint64 h = hashBytes(scan.text.constData() + e.text, scan.text.size() - e.text, bad ? 1 : 2);
    return hashBytes(scan.columns.constData() + e.columns, scan.columns.size() - e.columns, h);
}

} // namespace

CardIndex::Stamp CardIndex::Stamp::of(const QString &path)
{
    Stamp s;
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        s.size = qint64(st.st_size);
        s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        s.inode = quint64(st.st_ino);
    }
    return s;
}

CardIndex::CardIndex(ArchiveKind kind)
    : m_kind(kind)
{
}

QString CardIndex::columnText(ArchiveKind kind, const Entry &e, const char *columns, int column)
{
    if (e.undecodable)
        return QString();
    qint64 at = e.columns;
    for (int c = 0; c < column; ++c)
        at += e.columnLength[size_t(c)];
    const QString text = Ansi::toUnicode(columns + at, e.columnLength[size_t(column)]);
    return TableColumns::at(kind, column).yearOnly ? TableColumns::year(text) : text;
}

QString CardIndex::column(int row, int column) const
{
    return columnText(m_kind, m_entries.at(row), m_columns.constData(), column);
}

QByteArray CardIndex::folded(int row, Scope scope) const
{
    const Entry &e = m_entries.at(row);
    switch (scope) {
    case Scope::TitleSinger:
        return QByteArray(m_text.constData() + e.text, e.segment[0]);
    case Scope::Lyrics:
        return QByteArray(m_text.constData() + e.text + e.segment[0], e.segment[1]);
    case Scope::All:
        break;
    }
    return QByteArray(m_text.constData() + e.text, e.segment[0] + e.segment[1] + e.segment[2]);
}

QVector<int> CardIndex::search(const QList<QByteArray> &words, Scope scope, const QVector<int> *within) const
{
    QVector<int> out;
    const int n = within ? int(within->size()) : count();
    if (words.isEmpty()) {
        if (within)
            return *within;
        out.resize(n);
        std::iota(out.begin(), out.end(), 0);
        return out;
    }
    // The longest word first: it rules most cards out.
    QList<QByteArray> ordered = words;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const QByteArray &a, const QByteArray &b) { return a.size() > b.size(); });
    const char *arena = m_text.constData();
    for (int k = 0; k < n; ++k) {
        const int row = within ? within->at(k) : k;
        const Entry &e = m_entries.at(row);
        if (e.undecodable)
            continue;
        const char *at = arena + e.text;
        size_t length = 0;
        switch (scope) {
        case Scope::TitleSinger: length = e.segment[0]; break;
        case Scope::Lyrics: at += e.segment[0]; length = e.segment[1]; break;
        case Scope::All: length = size_t(e.segment[0]) + e.segment[1] + e.segment[2]; break;
        }
        bool all = true;
        for (const QByteArray &w : ordered) {
            if (!memmem(at, length, w.constData(), size_t(w.size()))) {
                all = false;
                break;
            }
        }
        if (all)
            out.append(row);
    }
    return out;
}

const QVector<quint32> &CardIndex::ranks(int col) const
{
    if (m_ranks.size() != TableColumns::count(m_kind))
        m_ranks = QVector<QVector<quint32>>(TableColumns::count(m_kind));
    QVector<quint32> &r = m_ranks[col];
    if (r.size() != count())
        r = rank(m_kind, m_entries, m_columns.constData(), col);
    return r;
}

QVector<quint32> CardIndex::rank(ArchiveKind kind, const QVector<Entry> &entries, const char *columns, int col)
{
    const int n = int(entries.size());
    QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
    collator.setNumericMode(true);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(n));
    QVector<int> order;
    order.reserve(n);
    for (int row = 0; row < n; ++row) {
        keys.push_back(collator.sortKey(columnText(kind, entries.at(row), columns, col)));
        if (!entries.at(row).undecodable)
            order.append(row);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    QVector<quint32> r(n, quint32(n)); // unreadable cards last
    quint32 rank = 0;
    for (int k = 0; k < order.size(); ++k) {
        if (k > 0 && keys[size_t(order[k - 1])].compare(keys[size_t(order[k])]) != 0)
            rank = quint32(k);
        r[order[k]] = rank;
    }
    return r;
}

QVector<int> CardIndex::duplicates() const
{
    QHash<QByteArray, QVector<int>> groups;
    QVector<QByteArray> firsts;
    for (int row = 0; row < count(); ++row) {
        if (undecodable(row))
            continue;
        const QByteArray key = m_kind == ArchiveKind::Songs ? Fold::duplicateKey(column(row, 0), column(row, 1))
                                                            : Fold::duplicateKey(column(row, 1), QString());
        QVector<int> &g = groups[key];
        if (g.isEmpty())
            firsts.append(key);
        g.append(row);
    }
    QVector<int> out;
    for (const QByteArray &key : firsts) {
        const QVector<int> &g = groups.value(key);
        if (g.size() > 1)
            out += g;
    }
    return out;
}

qint64 CardIndex::memoryBytes() const
{
    qint64 bytes = m_text.capacity() + m_columns.capacity();
    bytes += m_entries.capacity() * qint64(sizeof(Entry)) + m_hashes.capacity() * qint64(sizeof(quint64)) +
             m_textBytesOf.capacity() * qint64(sizeof(int));
    for (const QVector<quint32> &r : m_ranks)
        bytes += r.capacity() * qint64(sizeof(quint32));
    return bytes;
}

CardIndex::Scan CardIndex::scan(const QString &path, ArchiveKind kind, const QVector<quint64> &known,
                                std::atomic<qint64> *done, const std::atomic<bool> *stop, int rankColumn)
{
    Scan scan;
    const int size = TableColumns::recordSize(kind);
    // Taken before reading: a write while the file is read shows at the next check.
    scan.stamp = Stamp::of(path);
    qint64 next = 0;
    try {
        RecordFile file(path, size);
        scan.count = file.count();
        file.scanRaw([&](qint64 position, const char *record) {
            const qint64 r = position - 1;
            const qsizetype text = scan.text.size(), columns = scan.columns.size();
            const quint64 h = foldRecord(kind, record, scan);
            if (r < known.size() && known.at(r) == h) {
                // As the index already has it: folded for nothing, taken back.
                scan.text.truncate(text);
                scan.columns.truncate(columns);
                scan.entries.removeLast();
                scan.textBytes -= scan.textBytesOf.takeLast();
            } else {
                scan.changed.append(r);
                scan.hashes.append(h);
            }
            next = position;
            if (done)
                done->store(position, std::memory_order_relaxed);
            return !(stop && stop->load(std::memory_order_relaxed));
        });
    } catch (const FileError &e) {
        scan.error = e.description();
    }
    // A file written within the last moments may be written again within the same tick of the
    // file system's clock, leaving size and time as they are: such a stamp is never trusted, so
    // the next check reads the file again (and then finds nothing new, or the late change).
    const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
    if (nowNs - scan.stamp.modifiedNs < kRacyNs)
        scan.stamp.modifiedNs = -1;
    // Records that could not be read stay in the table, as unreadable rows.
    if (!scan.error.isEmpty()) {
        for (qint64 r = next; r < scan.count; ++r) {
            Entry e;
            e.undecodable = true;
            scan.changed.append(r);
            scan.hashes.append(0);
            scan.entries.append(e);
            scan.textBytesOf.append(0);
        }
    }
    scan.text.squeeze();
    scan.columns.squeeze();
    if (known.isEmpty() && rankColumn >= 0 && rankColumn < TableColumns::count(kind) &&
        !(stop && stop->load())) {
        scan.ranks.resize(TableColumns::count(kind));
        scan.ranks[rankColumn] = rank(kind, scan.entries, scan.columns.constData(), rankColumn);
    }
    return scan;
}

QVector<int> CardIndex::apply(Scan &&scan)
{
    m_error = scan.error;
    m_stamp = scan.stamp;
    const int newCount = int(scan.count);
    QVector<int> rows;
    if (m_entries.isEmpty() && scan.changed.size() == newCount) {
        m_entries = std::move(scan.entries);
        m_hashes = std::move(scan.hashes);
        m_textBytesOf = std::move(scan.textBytesOf);
        m_text = std::move(scan.text);
        m_columns = std::move(scan.columns);
        m_textBytes = scan.textBytes;
        m_deadText = 0;
        rows.resize(newCount);
        std::iota(rows.begin(), rows.end(), 0);
        m_ranks = std::move(scan.ranks);
        return rows;
    }
    // A file that became shorter was replaced: its lost records leave the table.
    for (int r = newCount; r < count(); ++r) {
        m_textBytes -= m_textBytesOf.at(r);
        const Entry &e = m_entries.at(r);
        m_deadText += e.segment[0] + e.segment[1] + e.segment[2];
    }
    const int oldCount = count();
    m_entries.resize(newCount);
    m_hashes.resize(newCount);
    m_textBytesOf.resize(newCount);
    const qint64 textBase = m_text.size();
    const qint64 columnBase = m_columns.size();
    for (int k = 0; k < scan.changed.size(); ++k) {
        const int r = int(scan.changed.at(k));
        Entry e = scan.entries.at(k);
        e.text += textBase;
        e.columns += columnBase;
        if (r < oldCount) {
            const Entry &old = m_entries.at(r);
            m_deadText += old.segment[0] + old.segment[1] + old.segment[2];
            m_textBytes -= m_textBytesOf.at(r);
        }
        m_entries[r] = e;
        m_hashes[r] = scan.hashes.at(k);
        m_textBytesOf[r] = scan.textBytesOf.at(k);
        m_textBytes += scan.textBytesOf.at(k);
        rows.append(r);
    }
    m_text.append(scan.text);
    m_columns.append(scan.columns);
    if (!rows.isEmpty() || newCount != oldCount)
        m_ranks.clear();
    if (m_deadText > m_text.size() / 4)
        compact();
    return rows;
}

void CardIndex::compact()
{
    QByteArray text, columns;
    text.reserve(m_text.size() - m_deadText);
    for (Entry &e : m_entries) {
        const int n = e.segment[0] + e.segment[1] + e.segment[2];
        const qint64 at = text.size();
        text.append(m_text.constData() + e.text, n);
        e.text = at;
        int c = 0;
        for (quint8 l : e.columnLength)
            c += l;
        const qint64 cat = columns.size();
        columns.append(m_columns.constData() + e.columns, c);
        e.columns = cat;
    }
    m_text = std::move(text);
    m_columns = std::move(columns);
    m_text.squeeze();
    m_columns.squeeze();
    m_deadText = 0;
}

void CardIndex::updateCard(const QString &path, qint64 position)
{
    const int size = TableColumns::recordSize(m_kind);
    Scan scan;
    scan.stamp = m_stamp;
    try {
        RecordFile file(path, size);
        const qint64 total = file.count();
        if (position < 1 || position > total)
            return;
        scan.count = qMax<qint64>(count(), position);
        // A card appended by this program may follow others appended meanwhile: those come too.
        for (qint64 p = qMin<qint64>(position, count() + 1); p <= position; ++p) {
            const QByteArray record = file.read(p);
            scan.changed.append(p - 1);
            scan.hashes.append(foldRecord(m_kind, record.constData(), scan));
        }
    } catch (const FileError &e) {
        m_error = e.description();
        return;
    }
    const QString error = m_error;
    apply(std::move(scan));
    m_error = error;
}
