#include "lists/RecordFilter.h"

#include "core/Text.h"
#include "lists/ListOrder.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Lists
{

namespace
{
inline char lowerByte(char c)
{
    return (unsigned(static_cast<unsigned char>(c)) - unsigned('A') < 26u) ? char(c | 0x20) : c;
}

// The field's text as stored bytes: up to the zero of a zero-terminated field, the counted
// bytes of a counted one with the ends trimmed as the reader trims them.
inline std::pair<const char *, int> fieldBytes(const char *record, const RecordSchema::Field &f)
{
    RecordSchema::Bytes b = RecordSchema::bytesOf(record + f.offset, f);
    if (f.codec == RecordSchema::Codec::Counted)
        b = RecordSchema::trimmed(b);
    return {b.data, b.size};
}
// True when `p` (m bytes, A to Z already lowered) occurs in `text` with A to Z taken as a to z.
inline bool equalFolded(const char *text, const char *p, int m)
{
    for (int k = 0; k < m; ++k)
        if (lowerByte(text[k]) != p[k])
            return false;
    return true;
}

#ifdef __SSE2__
// A to Z lowered in sixteen bytes at once; bytes from 0x80 compare as negative and stay.
inline __m128i lowered(__m128i v)
{
    const __m128i isUpper =
        _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
    return _mm_or_si128(v, _mm_and_si128(isUpper, _mm_set1_epi8(0x20)));
}
#endif

// Searches without copying the field: sixteen places at a time are tested for the pattern's
// first and last byte, and only those candidates are compared in full.
bool containsFolded(const char *text, int n, const char *p, int m)
{
    if (m <= 0 || m > n)
        return false;
    int i = 0;
#ifdef __SSE2__
    const __m128i first = _mm_set1_epi8(p[0]);
    const __m128i last = _mm_set1_epi8(p[m - 1]);
    for (; i + m - 1 + 16 <= n; i += 16) {
        const __m128i a = lowered(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i)));
        const __m128i b = lowered(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i + m - 1)));
        for (unsigned bits = unsigned(
                 _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
             bits; bits &= bits - 1) {
            if (equalFolded(text + i + __builtin_ctz(bits), p, m))
                return true;
        }
    }
#endif
    for (; i + m <= n; ++i)
        if (lowerByte(text[i]) == p[0] && equalFolded(text + i, p, m))
            return true;
    return false;
}
} // namespace

RecordFilter::RecordFilter(const RecordSchema &schema)
    : m_schema(&schema)
{
}

void RecordFilter::add(int field, const QString &typed)
{
    if (ctrim(typed).isEmpty())
        return;
    Filter filter;
    filter.field = field;
    QByteArray bytes = Ansi::fromUnicode(typed);
    // A character the code page lacks would be stored as a look-alike: no stored text holds it.
    filter.never = Ansi::toUnicode(bytes) != typed;
    for (char &c : bytes)
        c = lowerByte(c);
    filter.pattern = bytes;
    // A memo reads CR LF as one line break: a filter holding either character is matched on
    // the decoded text.
    filter.byText = m_schema->field(field).codec == RecordSchema::Codec::ZeroMemo &&
                    (bytes.contains('\r') || bytes.contains('\n'));
    filter.text = lowerAscii(typed);
    m_filters.push_back(filter);
    std::stable_sort(m_filters.begin(), m_filters.end(), [this](const Filter &a, const Filter &b) {
        return m_schema->field(a.field).width < m_schema->field(b.field).width;
    });
}

bool RecordFilter::matches(const Filter &filter, const char *record) const
{
    if (filter.never)
        return false;
    const RecordSchema::Field &f = m_schema->field(filter.field);
    if (filter.byText)
        return lowerAscii(RecordSchema::load(record + f.offset, f)).contains(filter.text);
    const auto [text, n] = fieldBytes(record, f);
    return containsFolded(text, n, filter.pattern.constData(), int(filter.pattern.size()));
}

bool RecordFilter::matches(const char *record) const
{
    for (const Filter &filter : m_filters)
        if (!matches(filter, record))
            return false;
    return true;
}

} // namespace Lists
