#include "records/SingerCard.h"

#include "core/ProgramFolder.h"

#include <iterator>

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

namespace
{
constexpr int kRest = FieldInfo::kRest;

// Several fields hold something other than their name says (the names come from an older use
// of the record and the files keep them); the comment says what each holds.
// clang-format off
constexpr FieldInfo kUses[] = {
    // Stage name; never empty in a saved card.
    {SingerCard::Nome, "txtNome", "Nome d'arte:", {}, nullptr,
     {"Nome d'arte", 250, 250}, {1, "Nome d'arte:", "effCampo01"}, {1, "", 30},
     {"Nome d'arte", 150, SortKey::Text}, {}},
    // M or F; never empty in a saved card.
    {SingerCard::Sesso, "txtSesso", "Sesso:", {}, nullptr, {}, {}, {},
     {"Sesso", 50, SortKey::Text}, {}},
    {SingerCard::DataNasc, "txtDataNasc", "Data di nascita:", {}, nullptr,
     {"Data di nascita", 120, 200}, {2, "Data di nascita (gg/mm/aaaa):", "effCampo02"}, {},
     {"Data di nascita", 72, SortKey::Year}, {}},
    {SingerCard::Cittadinanza, "txtCittadinanza", "Cittadinanza:", {}, nullptr,
     {"Cittadinanza", 200, 250}, {}, {2, "  Cittadinanza: ", 20},
     {"Cittadinanza", 120, SortKey::Text}, {}},
    {SingerCard::LuogoNasc, "txtLuogoNasc", "Luogo di nascita:", {}, nullptr,
     {"Luogo di nascita", 250, 250}, {4, "Luogo di nascita:", "effCampo10"}, {},
     {"Luogo di nascita", 150, SortKey::Text}, {}},
    // Holds the registry (legal) name, not an address.
    {SingerCard::Indirizzo, "txtIndirizzo", "Nome anagrafico:", {}, nullptr,
     {"Nome anagrafico", 250, 250}, {3, "Nome anagrafico:", "effCampo09"}, {},
     {"Nome anagrafico", 150, SortKey::Text}, {}},
    // Holds the debut song, not a tax code.
    {SingerCard::CodFisc, "txtCodFisc", "Esordio:", {}, nullptr,
     {"Esordio", 250, 300}, {}, {},
     {"Esordio", 150, SortKey::Text}, {}},
    // Holds the best-known song; never empty in a saved card.
    {SingerCard::Estremi, "txtEstremi", "Canzone più famosa:", {}, nullptr,
     {"Canzone capolavoro", 300, 400}, {5, "Canzone più famosa:", "effCampo05"}, {3, "  Brano: ", 50},
     {"Canzone capolavoro", 180, SortKey::Text}, {}},
    // Holds the spouse, not an e-mail address.
    {SingerCard::Email, "txtEmail", "Coniuge:", {}, nullptr,
     {"Coniuge", 250, 250}, {6, "Coniuge:", "effCampo06"}, {},
     {"Coniuge", 150, SortKey::Text}, {}},
    // Holds the children, not a telephone number.
    {SingerCard::Tel, "txtTel", "Figli:", {}, nullptr, {"Figli", 300, 400}, {}, {},
     {"Figli", 180, SortKey::Text}, {}},
    // Holds the death date (free text), not a mobile number.
    {SingerCard::Cellulare, "txtCellulare", "Data decesso:", {}, nullptr,
     {"Data decesso", 180, 200}, {}, {},
     {"Data decesso", 108, SortKey::Year}, {}},
    // Education.
    {SingerCard::Studio, "txtStudio", "Titolo di studio:", {}, nullptr,
     {"Titolo di studio", 300, 300}, {}, {},
     {"Titolo di studio", 180, SortKey::Text}, {}},
    {SingerCard::Lingue, "txtLingue", "Lingue conosciute:", {}, nullptr,
     {"Lingue conosciute", 300, 300}, {}, {},
     {"Lingue conosciute", 180, SortKey::Text}, {}},
    // Holds the social media presence, not a VAT number.
    {SingerCard::PartitaIva, "txtPartitaIva", "Social media:", {}, nullptr,
     {"Social media", 250, 300}, {}, {},
     {"Social media", 150, SortKey::Text}, {}},
    // Holds the band the singer belongs to, not a bank account.
    {SingerCard::Iban, "txtIban", "Band di appartenenza:", {}, nullptr,
     {"Band di appartenenza", 300, 300}, {7, "Band di appartenenza:", "effCampo07"}, {4, "  Band: ", kRest},
     {"Band di appartenenza", 180, SortKey::Text}, {}},
    {SingerCard::Altezza, "txtAltezza", "Altezza:", {}, nullptr, {"Altezza", 200, 250}, {}, {},
     {"Altezza", 120, SortKey::Number}, {}},
    {SingerCard::Peso, "txtPeso", "Peso:", {}, nullptr, {"Peso", 200, 250}, {}, {},
     {"Peso", 120, SortKey::Number}, {}},
    {SingerCard::Occhi, "txtOcchi", "Occhi:", {}, nullptr, {"Occhi", 200, 250}, {}, {},
     {"Occhi", 120, SortKey::Text}, {}},
    {SingerCard::Capelli, "txtCapelli", "Capelli:", {}, nullptr, {"Capelli", 200, 250}, {}, {},
     {"Capelli", 120, SortKey::Text}, {}},
    // Holds the social commitments, not a waist size.
    {SingerCard::Vita, "txtVita", "Impegni sociali:", {}, nullptr,
     {"Impegni sociali", 250, 300}, {}, {},
     {"Impegni sociali", 150, SortKey::Text}, {}},
    // Holds the other activities, not a hip size.
    {SingerCard::Fianchi, "txtFianchi", "Altre attività:", {}, nullptr,
     {"Altre attività", 250, 300}, {}, {},
     {"Altre attività", 150, SortKey::Text}, {}},
    // Holds the current residence, not a clothing size.
    {SingerCard::Taglia, "txtTaglia", "Residenza attuale:", {}, nullptr,
     {"Residenza attuale", 250, 300}, {}, {},
     {"Residenza attuale", 150, SortKey::Text}, {}},
    // Holds the user's own judgement, not a shoe size.
    {SingerCard::Scarpe, "txtScarpe", "Giudizio:", {}, nullptr, {"Giudizio", 200, 250}, {}, {},
     {"Giudizio", 120, SortKey::Text}, {}},
    // Holds the music genres, not work experience.
    {SingerCard::Esperienze, "txtEsperienze", "Generi musicali:", {}, nullptr,
     {"Generi musicali", 300, 300}, {8, "Generi musicali:", "effCampo08"}, {},
     {"Generi musicali", 180, SortKey::Text}, {}},
    // Holds the awards and honours, not availability.
    {SingerCard::Disponibilita, "txtDisponibilita", "Premi e riconoscimenti:", {}, nullptr,
     {"Premi e riconoscimenti", 300, 300}, {9, "Premi e riconoscimenti:", "effCampo03"}, {},
     {"Premi e riconoscimenti", 180, SortKey::Text}, {}},
    // The caption beside it is a picture reading "Note:".
    {SingerCard::Note, "txtNote", nullptr, {}, nullptr,
     {"Note", 350, 350}, {10, "Note:", "effCampo04"}, {},
     {"Note", 210, SortKey::Text}, {}},
    // Attachments: bare file names in Documenti_Allegati and their descriptions.
    {SingerCard::File01, "lblFile01", nullptr, {}, nullptr, {}, {}, {},
     {}, {}},
    {SingerCard::File02, "lblFile02", nullptr, {}, nullptr, {}, {}, {},
     {}, {}},
    {SingerCard::File03, "lblFile03", nullptr, {}, nullptr, {}, {}, {},
     {}, {}},
    {SingerCard::Desc01, "lblDesc01", nullptr, {}, nullptr, {}, {}, {},
     {}, {}},
    {SingerCard::Desc02, "lblDesc02", nullptr, {}, nullptr, {}, {}, {},
     {}, {}},
    {SingerCard::Desc03, "lblDesc03", nullptr, {}, nullptr, {}, {}, {},
     {}, {}},
};
// clang-format on
static_assert(std::size(kUses) == SingerCard::FieldCount, "one row per singer card field");
static_assert(FieldTable::inRecordOrder(kUses), "singer card rows in record order");
static_assert(FieldTable::filterCount(kUses) == kSearchFilters, "the singer search has ten filters");
} // namespace

const FieldTable &SingerCard::fields()
{
    static const FieldTable table(kUses);
    return table;
}
