#pragma once

#include "table/TableColumns.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

#include <array>
#include <atomic>
#include <functional>

// The quick-search index of one archive file: for every card its folded search text and the raw
// bytes of its table columns, packed in two byte arenas. Built off the interface thread by
// scan(), which reads the file once; kept true by comparing the file's stamp before each search
// and folding again only the records that changed. The file stays the only copy of the cards.
class CardIndex
{
public:
    enum class Scope { All, TitleSinger, Lyrics };

    // What tells that the file changed: length, modification time and identity.
    struct Stamp {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        quint64 inode = 0;
        bool operator==(const Stamp &o) const
        {
            return size == o.size && modifiedNs == o.modifiedNs && inode == o.inode;
        }
        bool operator!=(const Stamp &o) const { return !(*this == o); }
        static Stamp of(const QString &path);
    };

    static constexpr int kMaxColumns = 8;

    struct Entry {
        qint64 text = 0;                 // folded search text in the text arena
        qint64 columns = 0;              // column bytes in the column arena
        quint16 segment[3] = {0, 0, 0}; // title and singer / lyrics / the other fields
        std::array<quint8, kMaxColumns> columnLength{};
        bool undecodable = false;
    };

    // Records folded by one scan: every record that is new or differs from what was known.
    struct Scan {
        Stamp stamp;
        qint64 count = 0;         // whole records in the file when it was read
        QVector<qint64> changed; // record numbers (0-based) of the entries below
        QVector<Entry> entries;
        QVector<quint64> hashes;
        QByteArray text, columns;
        qint64 textBytes = 0;    // non-zero text bytes of the changed records
        QVector<int> textBytesOf;
        QString error;           // the platform's words when the file could not be read whole
        QVector<QVector<quint32>> ranks; // per column, when computed with a whole reading
    };

    explicit CardIndex(ArchiveKind kind);

    ArchiveKind kind() const { return m_kind; }
    int count() const { return int(m_entries.size()); }
    static qint64 position(int row) { return qint64(row) + 1; }
    bool undecodable(int row) const { return m_entries.at(row).undecodable; }
    // The column's text for the table, trimmed; the year alone for a date column.
    QString column(int row, int column) const;
    // The folded search text of one scope.
    QByteArray folded(int row, Scope scope) const;

    // Rows whose `scope` holds every word, in row order; `within` narrows a previous result.
    // No words: every row.
    QVector<int> search(const QList<QByteArray> &words, Scope scope, const QVector<int> *within = nullptr) const;

    // Rank of every row under the column's Italian collation (numbers in number order); equal
    // texts share a rank, unreadable records come last. Computed when first asked.
    const QVector<quint32> &ranks(int column) const;

    // Rows whose title and singer (singers: stage name) fold to the same key as another row's,
    // grouped, the groups in the order of their first card.
    QVector<int> duplicates() const;

    Stamp stamp() const { return m_stamp; }
    // Bytes the index holds (arenas, entries, hashes, ranks computed).
    qint64 memoryBytes() const;
    // Bytes of text the cards hold: every field up to its end, zeros not counted.
    qint64 textBytes() const { return m_textBytes; }
    QString error() const { return m_error; }

    // Reads `path` and folds every record whose bytes hash differently from `known` (all of them
    // when `known` is empty). `done` counts records read; `stop` ends the scan early (then the
    // result is not to be applied). Runs on any thread; never throws.
    // A whole reading (no `known`) also ranks the rows by `rankColumn` when it is not -1, so the
    // first sorted table costs the interface thread nothing.
    static Scan scan(const QString &path, ArchiveKind kind, const QVector<quint64> &known,
                     std::atomic<qint64> *done = nullptr, const std::atomic<bool> *stop = nullptr,
                     int rankColumn = -1);
    const QVector<quint64> &hashes() const { return m_hashes; }
    // Takes a scan's records in; returns the rows that changed.
    QVector<int> apply(Scan &&scan);
    // Folds the card at `position` as the file holds it now: for this program's own saves.
    void updateCard(const QString &path, qint64 position);

private:
    void compact();
    static QString columnText(ArchiveKind kind, const Entry &e, const char *columns, int column);
    static QVector<quint32> rank(ArchiveKind kind, const QVector<Entry> &entries, const char *columns, int column);

    ArchiveKind m_kind;
    QVector<Entry> m_entries;
    QVector<quint64> m_hashes;
    QVector<int> m_textBytesOf;
    QByteArray m_text, m_columns;
    qint64 m_deadText = 0;
    qint64 m_textBytes = 0;
    Stamp m_stamp;
    QString m_error;
    mutable QVector<QVector<quint32>> m_ranks;
};
