#include "core/RecordSchema.h"

#include "core/Text.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The shared conversion of `n` bytes, with CR LF read as one line break in a memo. Scans of whole
// collections spend their time here, so the text is converted in one pass: bytes are widened
// sixteen at a time as Latin-1, then the few where Windows-1252 differs from it (0x80-0x9F) are
// looked up and, in a memo, the CR of each CR LF is dropped.
QString convert(const char *at, int n, bool memo)
{
    if (n <= 0)
        return QString();
    const auto *bytes = reinterpret_cast<const unsigned char *>(at);
    const auto &table = characters();
    QString text(n, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    int length = 0;
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
    for (; i < n; ++i) {
        if (memo && bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            continue;
        out[length++] = table[bytes[i]];
    }
    if (length < n)
        text.truncate(length);
    return text;
}

} // namespace

int RecordSchema::indexOf(QAnyStringView name) const
{
    for (int i = 0; i < m_count; ++i)
        if (QAnyStringView::equal(name, QLatin1String(m_fields[i].name)))
            return i;
    return -1;
}

void RecordSchema::store(char *at, const Field &field, const QString &text)
{
    switch (field.codec) {
    case Codec::ZeroText:
    case Codec::ZeroMemo: {
        // Stored as typed, not trimmed; cut to leave room for the terminating zero.
        QByteArray bytes;
        if (field.codec == Codec::ZeroMemo) {
            QString lines = text;
            lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
            bytes = Ansi::fromUnicode(lines);
        } else {
            bytes = Ansi::fromUnicode(text);
        }
        const int n = int(qMin<qsizetype>(bytes.size(), field.capacity()));
        std::memcpy(at, bytes.constData(), size_t(n));
        at[n] = '\0';
        break;
    }
    case Codec::Counted: {
        // Trimmed, cut to what a length byte can say and then to the capacity; the bytes after
        // the text are zeroed.
        const QByteArray bytes = Ansi::fromUnicode(ctrim(text));
        const int n = int(qMin<qsizetype>(qMin<qsizetype>(bytes.size(), 255), field.capacity()));
        at[0] = char(static_cast<unsigned char>(n));
        std::memcpy(at + 1, bytes.constData(), size_t(n));
        std::memset(at + 1 + n, 0, size_t(field.capacity() - n));
        break;
    }
    }
}

QString RecordSchema::load(const char *at, const Field &field)
{
    const Bytes bytes = bytesOf(at, field);
    if (field.codec == Codec::Counted)
        return ctrim(convert(bytes.data, bytes.size, false));
    return convert(bytes.data, bytes.size, field.codec == Codec::ZeroMemo);
}

QByteArray RecordSchema::encode(const QString *texts) const
{
    QByteArray record(m_size, '\0');
    char *data = record.data();
    for (int i = 0; i < m_count; ++i)
        store(data + m_fields[i].offset, m_fields[i], texts[i]);
    return record;
}

void RecordSchema::decode(const char *record, QString *texts) const
{
    for (int i = 0; i < m_count; ++i)
        texts[i] = load(record + m_fields[i].offset, m_fields[i]);
}
