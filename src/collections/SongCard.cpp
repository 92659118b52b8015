#include "collections/SongCard.h"

#include "core/Text.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

const std::array<SongCard::Field, SongCard::kFieldCount> &SongCard::fields()
{
    // clang-format off
    static const std::array<Field, kFieldCount> table = {{
        {"Titolo", 0, 121, &SongCard::Titolo, false},
        {"Cantante", 121, 121, &SongCard::Cantante, false},
        {"Album", 242, 121, &SongCard::Album, false},
        {"Genere", 363, 51, &SongCard::Genere, false},
        {"Autori", 414, 251, &SongCard::Autori, false},
        {"Nazione", 665, 51, &SongCard::Nazione, false},
        {"Anno", 716, 31, &SongCard::Anno, false},
        {"Premi", 747, 251, &SongCard::Premi, false},
        {"Casa", 998, 51, &SongCard::Casa, false},
        {"Durata", 1049, 31, &SongCard::Durata, false},
        {"Testo", 1080, 5001, &SongCard::Testo, true},
        {"Storia", 6081, 5001, &SongCard::Storia, true},
        {"Sito", 11082, 251, &SongCard::Sito, false},
        {"Musica", 11333, 251, &SongCard::Musica, false},
        {"Note", 11584, 251, &SongCard::Note, false},
        {"Segnala", 11835, 3, &SongCard::Segnala, false},
        {"File01", 11838, 251, &SongCard::File01, false},
        {"File02", 12089, 251, &SongCard::File02, false},
        {"File03", 12340, 251, &SongCard::File03, false},
        {"Desc01", 12591, 251, &SongCard::Desc01, false},
        {"Desc02", 12842, 251, &SongCard::Desc02, false},
        {"Desc03", 13093, 251, &SongCard::Desc03, false},
    }};
    // clang-format on
    return table;
}

namespace
{
const QString &yes()
{
    static const QString text = QStringLiteral("S\u00EC");
    return text;
}
const QString &no()
{
    static const QString text = QStringLiteral("No");
    return text;
}
} // namespace

SongCard::Flag SongCard::flag() const
{
    const QString text = ctrim(Segnala);
    if (text == yes())
        return Flag::Flagged;
    if (text == no())
        return Flag::NotFlagged;
    return Flag::Neither;
}

QString SongCard::flagText(bool flagged)
{
    return flagged ? yes() : no();
}

void SongCard::storeText(char *at, int width, const QString &text, bool memo)
{
    QByteArray bytes;
    if (memo) {
        QString lines = text;
        lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        bytes = Ansi::fromUnicode(lines);
    } else {
        bytes = Ansi::fromUnicode(text);
    }
    const int n = int(qMin<qsizetype>(bytes.size(), width - 1));
    std::memcpy(at, bytes.constData(), size_t(n));
    at[n] = '\0';
}

namespace
{
// Every byte's character as the shared conversion reads it, looked up once.
const std::array<char16_t, 256> &characters()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const char byte = char(i);
            t[size_t(i)] = Ansi::toUnicode(&byte, 1).at(0).unicode();
        }
        return t;
    }();
    return table;
}
} // namespace

QString SongCard::loadText(const char *at, int width, bool memo)
{
    const void *zero = std::memchr(at, 0, size_t(width));
    const int n = zero ? int(static_cast<const char *>(zero) - at) : width;
    if (n == 0)
        return QString();

    // Scans of whole collections spend their time here, so the text is converted in one pass:
    // bytes are widened sixteen at a time as Latin-1, then the few where Windows-1252 differs
    // from it (0x80-0x9F) are looked up and, in a memo, the CR of each CR LF is dropped.
    const auto *bytes = reinterpret_cast<const unsigned char *>(at);
    const auto &table = characters();
    QString text(n, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    int length = 0;
    auto convert = [&](int i) {
        // In a memo CR LF becomes one line break.
        if (memo && bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            return;
        out[length++] = table[bytes[i]];
    };
    int i = 0;
#ifdef __SSE2__
    const __m128i none = _mm_setzero_si128();
    const __m128i top3 = _mm_set1_epi8(char(0xE0));
    const __m128i c1 = _mm_set1_epi8(char(0x80));
    const __m128i cr = _mm_set1_epi8('\r');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + length), _mm_unpacklo_epi8(v, none));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + length + 8), _mm_unpackhi_epi8(v, none));
        for (unsigned high = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, top3), c1))); high;
             high &= high - 1) {
            const int lane = __builtin_ctz(high);
            out[length + lane] = table[bytes[i + lane]];
        }
        int kept = 16;
        if (memo) {
            // Drop the CR of each CR LF, from the last one down so that earlier lanes stay put.
            for (unsigned crs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr))); crs;) {
                const int lane = 31 - __builtin_clz(crs);
                crs &= ~(1u << lane);
                if (i + lane + 1 < n && bytes[i + lane + 1] == '\n') {
                    std::memmove(out + length + lane, out + length + lane + 1,
                                 size_t(kept - lane - 1) * sizeof(char16_t));
                    --kept;
                }
            }
        }
        length += kept;
    }
#endif
    for (; i < n; ++i)
        convert(i);
    if (length < n)
        text.truncate(length);
    return text;
}

QByteArray SongCard::encode() const
{
    QByteArray record(kSize, '\0');
    for (const Field &f : fields())
        storeText(record.data() + f.offset, f.width, this->*f.member, f.memo);
    return record;
}

SongCard SongCard::decode(const char *record)
{
    SongCard card;
    for (const Field &f : fields())
        card.*f.member = loadText(record + f.offset, f.width, f.memo);
    return card;
}

SongCard SongCard::decode(const QByteArray &record)
{
    Q_ASSERT(record.size() == kSize);
    return decode(record.constData());
}

bool SongCard::operator==(const SongCard &other) const
{
    for (const Field &f : fields())
        if (this->*f.member != other.*f.member)
            return false;
    return true;
}
