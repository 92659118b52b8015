#include "records/SingerCard.h"

#include "core/ProgramFolder.h"

namespace
{

using S = RecordSchema;

constexpr std::array<RecordSchema::Field, SingerCard::FieldCount> kFields{{
    S::counted("Nome", 0, 50),
    S::counted("Sesso", 51, 1),
    S::counted("DataNasc", 53, 10),
    S::counted("Cittadinanza", 64, 50),
    S::counted("LuogoNasc", 115, 50),
    S::counted("Indirizzo", 166, 250),
    S::counted("CodFisc", 417, 250),
    S::counted("Estremi", 668, 250),
    S::counted("Email", 919, 250),
    S::counted("Tel", 1170, 250),
    S::counted("Cellulare", 1421, 50),
    S::counted("Studio", 1472, 100),
    S::counted("Lingue", 1573, 250),
    S::counted("PartitaIva", 1824, 250),
    S::counted("Iban", 2075, 250),
    S::counted("Altezza", 2326, 50),
    S::counted("Peso", 2377, 50),
    S::counted("Occhi", 2428, 50),
    S::counted("Capelli", 2479, 50),
    S::counted("Vita", 2530, 250),
    S::counted("Fianchi", 2781, 250),
    S::counted("Taglia", 3032, 250),
    S::counted("Scarpe", 3283, 250),
    S::counted("Esperienze", 3534, 250),
    S::counted("Disponibilita", 3785, 250),
    S::counted("Note", 4036, 250),
    S::counted("File01", 4287, 250),
    S::counted("File02", 4538, 250),
    S::counted("File03", 4789, 250),
    S::counted("Desc01", 5040, 250),
    S::counted("Desc02", 5291, 250),
    S::counted("Desc03", 5542, 250),
}};
static_assert(RecordSchema::tiles(kFields, SingerCard::kSize), "singer card fields must tile the record");

} // namespace

const RecordSchema &SingerCard::schema()
{
    static const RecordSchema schema(kSize, kFields);
    return schema;
}

QString SingerArchive::path()
{
    return ProgramFolder::file(QStringLiteral("Archivio_Cantanti.pro"));
}
