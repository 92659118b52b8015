#pragma once

#include "core/RecordSchema.h"
#include "records/FieldTable.h"

// One song card: the 13344-byte record TSchedaCanzone of a collection file. Every field is a
// zero-terminated Windows-1252 text of fixed width, kept untrimmed; the two memos hold "\n" here
// and CR LF in the file.
class SongCard : public RecordTexts<SongCard, 22>
{
public:
    // The fields in record order, which is the order of every read and write.
    enum Field {
        Titolo,
        Cantante,
        Album,
        Genere,
        Autori,
        Nazione,
        Anno,
        Premi,
        Casa,
        Durata,
        Testo,
        Storia,
        Sito,
        Musica,
        Note,
        Segnala, // "Sì", "No", or whatever a file made elsewhere holds
        File01,
        File02,
        File03,
        Desc01,
        Desc02,
        Desc03,
        FieldCount
    };

    static constexpr int kSize = 13344;
    static const RecordSchema &schema();
    // What each field is for, in record order.
    static const FieldTable &fields();

    using RecordTexts::setText;
    using RecordTexts::text;
    QString text(Field field) const { return RecordTexts::text(int(field)); }
    void setText(Field field, const QString &value) { RecordTexts::setText(int(field), value); }

    enum class Flag { Flagged, NotFlagged, Neither };
    // The flag as a reader sees it: the field's text, trimmed, against "Sì" and "No".
    Flag flag() const;
    static QString flagText(bool flagged); // "Sì" or "No"
};

// The record's name where the collection file format is discussed.
using TSchedaCanzone = SongCard;

// The texts a card holds are exactly the fields its schema lays out.
static_assert(SongCard::kFieldCount == SongCard::FieldCount, "SongCard: one text per field");
