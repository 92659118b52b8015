#include "lists/RecordFilter.h"

#include "core/Text.h"
#include "lists/ListOrder.h"

#include <algorithm>
#include <cstring>
#include <string>

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
    const char *at = record + f.offset;
    if (f.codec != RecordSchema::Codec::Counted) {
        const void *zero = std::memchr(at, 0, size_t(f.width));
        return {at, zero ? int(static_cast<const char *>(zero) - at) : f.width};
    }
    int n = qMin(int(static_cast<unsigned char>(at[0])), f.capacity());
    const char *begin = at + 1;
    while (n > 0 && static_cast<unsigned char>(*begin) <= 0x20) {
        ++begin;
        --n;
    }
    while (n > 0 && static_cast<unsigned char>(begin[n - 1]) <= 0x20)
        --n;
    return {begin, n};
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
    const int m = int(filter.pattern.size());
    if (m > n)
        return false;
    thread_local std::string lowered;
    lowered.resize(size_t(n));
    char *out = lowered.data();
    for (int i = 0; i < n; ++i)
        out[i] = lowerByte(text[i]);
    return memmem(out, size_t(n), filter.pattern.constData(), size_t(m)) != nullptr;
}

bool RecordFilter::matches(const char *record) const
{
    for (const Filter &filter : m_filters)
        if (!matches(filter, record))
            return false;
    return true;
}

} // namespace Lists
