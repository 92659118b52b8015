#pragma once

#include "core/RecordSchema.h"
#include "records/FieldTable.h"

#include <QString>

// One song of a singer's discography, a 144-byte record of Discografia_Cantante_<position>.pro:
// five counted texts back to back.
class DiscographySong : public RecordTexts<DiscographySong, 5>
{
public:
    enum Field { Anno, Titolo, Genere, Autori, Durata, FieldCount };

    static constexpr int kSize = 144;
    static const RecordSchema &schema();
    // What each field is for, in record order.
    static const FieldTable &fields();

    using RecordTexts::setText;
    using RecordTexts::text;
    QString text(Field field) const { return RecordTexts::text(int(field)); }
    void setText(Field field, const QString &value) { RecordTexts::setText(int(field), value); }
};

using TBranoDiscografia = DiscographySong;

// The texts a card holds are exactly the fields its schema lays out.
static_assert(DiscographySong::kFieldCount == DiscographySong::FieldCount, "DiscographySong: one text per field");

namespace Discography
{
// Discografia_Cantante_<position>.pro in the program folder, for the singer card at `position`.
QString path(qint64 position);
// The same from the position as the singer editor's label shows it; the text is trimmed.
QString path(const QString &position);
} // namespace Discography
