#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// One singer card, a 5793-byte record of Archivio_Cantanti.pro: 32 counted texts back to
// back, in record order (which is not the editor's order on screen).
class SingerCard
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

    struct Layout {
        const char *name; // also the editor control's name without its prefix
        int offset;
        int capacity;
    };

    static constexpr int kRecordSize = 5793;
    static const std::array<Layout, FieldCount> &layout();
    // The field called `name` ("Nome", "Occhi", ...), or -1.
    static int indexOf(const QString &name);

    QString text(int field) const { return m_texts.at(size_t(field)); }
    void setText(int field, const QString &text) { m_texts.at(size_t(field)) = text; }

    // Store conversion of every field; the result is exactly kRecordSize bytes.
    QByteArray toRecord() const;
    // Load conversion; `record` must be kRecordSize bytes.
    static SingerCard fromRecord(const QByteArray &record);

    bool operator==(const SingerCard &other) const { return m_texts == other.m_texts; }

private:
    std::array<QString, FieldCount> m_texts;
};

using TSchedaCantante = SingerCard;

namespace SingerArchive
{
// Archivio_Cantanti.pro in the program folder.
QString path();
} // namespace SingerArchive
