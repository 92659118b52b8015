#include "singers/SingerCard.h"

#include "core/ProgramFolder.h"
#include "singers/CountedText.h"

namespace
{

using Layout = SingerCard::Layout;

constexpr std::array<Layout, SingerCard::FieldCount> kLayout{{
    {"Nome", 0, 50},
    {"Sesso", 51, 1},
    {"DataNasc", 53, 10},
    {"Cittadinanza", 64, 50},
    {"LuogoNasc", 115, 50},
    {"Indirizzo", 166, 250},
    {"CodFisc", 417, 250},
    {"Estremi", 668, 250},
    {"Email", 919, 250},
    {"Tel", 1170, 250},
    {"Cellulare", 1421, 50},
    {"Studio", 1472, 100},
    {"Lingue", 1573, 250},
    {"PartitaIva", 1824, 250},
    {"Iban", 2075, 250},
    {"Altezza", 2326, 50},
    {"Peso", 2377, 50},
    {"Occhi", 2428, 50},
    {"Capelli", 2479, 50},
    {"Vita", 2530, 250},
    {"Fianchi", 2781, 250},
    {"Taglia", 3032, 250},
    {"Scarpe", 3283, 250},
    {"Esperienze", 3534, 250},
    {"Disponibilita", 3785, 250},
    {"Note", 4036, 250},
    {"File01", 4287, 250},
    {"File02", 4538, 250},
    {"File03", 4789, 250},
    {"Desc01", 5040, 250},
    {"Desc02", 5291, 250},
    {"Desc03", 5542, 250},
}};

// The fields lie back to back without gaps and fill the record exactly.
constexpr bool contiguous()
{
    int next = 0;
    for (const Layout &f : kLayout) {
        if (f.offset != next || f.capacity < 1 || f.capacity > 250)
            return false;
        next = f.offset + f.capacity + 1;
    }
    return next == SingerCard::kRecordSize;
}
static_assert(contiguous(), "singer card fields must tile the 5793-byte record");

} // namespace

const std::array<SingerCard::Layout, SingerCard::FieldCount> &SingerCard::layout()
{
    return kLayout;
}

int SingerCard::indexOf(const QString &name)
{
    for (int i = 0; i < FieldCount; ++i)
        if (name == QLatin1String(kLayout[size_t(i)].name))
            return i;
    return -1;
}

QByteArray SingerCard::toRecord() const
{
    QByteArray record(kRecordSize, '\0');
    for (int i = 0; i < FieldCount; ++i)
        CountedText::store(record, kLayout[size_t(i)].offset, kLayout[size_t(i)].capacity,
                           m_texts[size_t(i)]);
    return record;
}

SingerCard SingerCard::fromRecord(const QByteArray &record)
{
    Q_ASSERT(record.size() == kRecordSize);
    SingerCard card;
    for (int i = 0; i < FieldCount; ++i)
        card.m_texts[size_t(i)] =
            CountedText::load(record, kLayout[size_t(i)].offset, kLayout[size_t(i)].capacity);
    return card;
}

QString SingerArchive::path()
{
    return ProgramFolder::file(QStringLiteral("Archivio_Cantanti.pro"));
}
