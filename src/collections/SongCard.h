#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// One song card: the 13344-byte record TSchedaCanzone of a collection file. Every field is
// a zero-terminated Windows-1252 text of fixed width, kept untrimmed.
struct SongCard {
    static constexpr int kSize = 13344;

    QString Titolo, Cantante, Album, Genere, Autori, Nazione, Anno, Premi, Casa, Durata;
    QString Testo, Storia; // memos: "\n" here, CR LF in the file
    QString Sito, Musica, Note;
    QString Segnala; // "Sì", "No", or whatever a file made elsewhere holds
    QString File01, File02, File03, Desc01, Desc02, Desc03;

    struct Field {
        const char *name;
        int offset;
        int width; // bytes, terminating zero included
        QString SongCard::*member;
        bool memo;
    };
    static constexpr int kFieldCount = 22;
    // The fields in record order: the order of every read and write.
    static const std::array<Field, kFieldCount> &fields();

    enum class Flag { Flagged, NotFlagged, Neither };
    // The flag as a reader sees it: the field's text, trimmed, against "Sì" and "No".
    Flag flag() const;
    static QString flagText(bool flagged); // "Sì" or "No"

    QByteArray encode() const;
    // `record` must hold kSize bytes.
    static SongCard decode(const QByteArray &record);
    static SongCard decode(const char *record);

    // Zero-terminated text rules for one field of `width` bytes at `at`.
    static void storeText(char *at, int width, const QString &text, bool memo);
    static QString loadText(const char *at, int width, bool memo);

    bool operator==(const SongCard &other) const;
    bool operator!=(const SongCard &other) const { return !(*this == other); }
};

// The record's name where the collection file format is discussed.
using TSchedaCanzone = SongCard;
