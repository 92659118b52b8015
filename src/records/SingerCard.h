#pragma once

#include "core/RecordSchema.h"
#include "records/FieldTable.h"

#include <QString>

// One singer card, a 5793-byte record of Archivio_Cantanti.pro: 32 counted texts back to
// back, in record order (which is not the editor's order on screen).
class SingerCard : public RecordTexts<SingerCard, 32>
{
public:
    enum Field {
        Nome,
        Sesso,
        DataNasc,
        Cittadinanza,
        LuogoNasc,
        Indirizzo,
        CodFisc,
        Estremi,
        Email,
        Tel,
        Cellulare,
        Studio,
        Lingue,
        PartitaIva,
        Iban,
        Altezza,
        Peso,
        Occhi,
        Capelli,
        Vita,
        Fianchi,
        Taglia,
        Scarpe,
        Esperienze,
        Disponibilita,
        Note,
        File01,
        File02,
        File03,
        Desc01,
        Desc02,
        Desc03,
        FieldCount
    };

    static constexpr int kSize = 5793;
    static const RecordSchema &schema();
    // What each field is for, in record order.
    static const FieldTable &fields();

    using RecordTexts::setText;
    using RecordTexts::text;
    QString text(Field field) const { return RecordTexts::text(int(field)); }
    void setText(Field field, const QString &value) { RecordTexts::setText(int(field), value); }
};

using TSchedaCantante = SingerCard;

// The texts a card holds are exactly the fields its schema lays out.
static_assert(SingerCard::kFieldCount == SingerCard::FieldCount, "SingerCard: one text per field");

namespace SingerArchive
{
// Archivio_Cantanti.pro in the program folder.
QString path();
} // namespace SingerArchive
