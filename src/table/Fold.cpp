#include "table/Fold.h"

#include "core/Text.h"

#include <QList>

#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Fold
{
namespace
{

QByteArray foldChar(QChar c)
{
    switch (c.unicode()) {
    case '\'': case 0x2018: case 0x2019: case '`': case 0x00B4:
        return QByteArray();
    case 0x00DF: return QByteArrayLiteral("ss");
    case 0x00C6: case 0x00E6: return QByteArrayLiteral("ae");
    case 0x0152: case 0x0153: return QByteArrayLiteral("oe");
    case 0x00D8: case 0x00F8: return QByteArrayLiteral("o");
    case 0x00D0: case 0x00F0: return QByteArrayLiteral("d");
    case 0x00DE: case 0x00FE: return QByteArrayLiteral("th");
    case 0x0192: return QByteArrayLiteral("f");
    default: break;
    }
    // Only letters and digits are words; symbols such as "™" or "€" are breaks.
    if (!c.isLetterOrNumber())
        return QByteArrayLiteral(" ");
    QByteArray out;
    bool broken = false;
    for (QChar d : QString(c).normalized(QString::NormalizationForm_KD)) {
        const char16_t u = d.toLower().unicode();
        if ((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
            out.append(char(u));
        else if (!d.isMark())
            broken = true; // "¼" is "1⁄4": two numbers
        if (broken && !out.isEmpty() && !out.endsWith(' ')) {
            out.append(' ');
            broken = false;
        }
    }
    return out.isEmpty() ? QByteArrayLiteral(" ") : out;
}

const std::array<QByteArray, 256> &table()
{
    static const std::array<QByteArray, 256> t = [] {
        std::array<QByteArray, 256> folded;
        for (int i = 0; i < 256; ++i) {
            const char b = char(i);
            folded[size_t(i)] = foldChar(Ansi::toUnicode(&b, 1).at(0));
        }
        return folded;
    }();
    return t;
}

} // namespace

const QByteArray &byte(unsigned char c)
{
    return table()[c];
}

namespace
{
// Per byte: its folding when that is one letter or digit, ' ' for a word break, 0 when it is
// spelt otherwise (nothing for an apostrophe, two letters for "ß").
const std::array<char, 256> &singles()
{
    static const std::array<char, 256> s = [] {
        std::array<char, 256> one{};
        for (int i = 0; i < 256; ++i) {
            const QByteArray &f = table()[size_t(i)];
            one[size_t(i)] = f.size() == 1 ? f.at(0) : char(0);
        }
        return one;
    }();
    return s;
}

#ifdef __SSE2__
// Bytes of `v` between lo and hi, both included.
inline __m128i within(__m128i v, char lo, char hi)
{
    const __m128i t = _mm_sub_epi8(v, _mm_set1_epi8(lo));
    const __m128i top = _mm_set1_epi8(char(hi - lo));
    return _mm_cmpeq_epi8(_mm_max_epu8(t, top), top);
}
#endif
} // namespace

void append(QByteArray &out, const char *bytes, int n)
{
    if (n <= 0)
        return;
    const auto &t = table();
    const auto &one = singles();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes);
    const qsizetype start = out.size();
    out.resize(start + 3 * qsizetype(n)); // a byte folds to three at most ("¼" gives "1 4")
    char *o = out.data();
    qsizetype w = start;
    bool broken = w == 0 || o[w - 1] == ' '; // a break ends what is there
    int i = 0;
    while (i < n) {
#ifdef __SSE2__
        // Most of a text is plain words with single blanks: sixteen bytes at a time, up to the
        // first byte that needs the table (an accent, a line break, a second blank).
        if (i + 16 <= n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const __m128i upper = within(v, 'A', 'Z');
            const __m128i space = _mm_cmpeq_epi8(v, _mm_set1_epi8(' '));
            const __m128i plain = _mm_or_si128(_mm_or_si128(within(v, 'a', 'z'), within(v, '0', '9')),
                                               _mm_or_si128(upper, space));
            const unsigned blanks = unsigned(_mm_movemask_epi8(space));
            unsigned special = ~unsigned(_mm_movemask_epi8(plain)) & 0xFFFF;
            special |= blanks & (blanks << 1); // a blank after a blank
            if (broken)
                special |= blanks & 1; // a blank after a break already written
            const int run = special ? __builtin_ctz(special) : 16;
            if (run > 0) {
                // Room is there: up to here every byte gave at most three.
                const __m128i lower = _mm_add_epi8(v, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
                _mm_storeu_si128(reinterpret_cast<__m128i *>(o + w), lower);
                w += run;
                broken = (blanks >> (run - 1)) & 1;
                i += run;
                continue;
            }
        }
        const int end = i + 1;
#else
        const int end = n;
#endif
        for (; i < end; ++i) {
            const unsigned char c = p[i];
            const char f = one[c];
            if (f == ' ') {
                if (!broken) {
                    o[w++] = ' ';
                    broken = true;
                }
            } else if (f) {
                o[w++] = f;
                broken = false;
            } else {
                const QByteArray &m = t[c];
                for (char x : m)
                    o[w++] = x;
                if (!m.isEmpty())
                    broken = false;
            }
        }
    }
    out.truncate(w);
}

QByteArray text(const QString &text)
{
    const QByteArray bytes = Ansi::fromUnicode(text);
    QByteArray out;
    out.reserve(bytes.size());
    append(out, bytes.constData(), int(bytes.size()));
    if (out.endsWith(' '))
        out.chop(1);
    return out;
}

QList<QByteArray> words(const QString &query)
{
    QList<QByteArray> out;
    for (const QByteArray &w : text(query).split(' '))
        if (!w.isEmpty() && !out.contains(w))
            out << w;
    return out;
}

namespace
{
// A version mark: "live", "remastered 2011", "remaster", "versione acustica".
bool versionMark(const QString &text)
{
    const QByteArray f = Fold::text(text);
    return f == "live" || f.startsWith("live ") || f.startsWith("remaster") || f.startsWith("versione") ||
           f == "version" || f.startsWith("version ");
}

QString withoutVersionMarks(QString t)
{
    for (;;) {
        t = ctrim(t);
        if (t.endsWith(QLatin1Char(')')) || t.endsWith(QLatin1Char(']'))) {
            const qsizetype open = t.lastIndexOf(t.endsWith(QLatin1Char(')')) ? QLatin1Char('(') : QLatin1Char('['));
            if (open > 0 && versionMark(t.mid(open + 1, t.size() - open - 2))) {
                t.truncate(open);
                continue;
            }
        }
        const qsizetype dash = t.lastIndexOf(QLatin1Char('-'));
        if (dash > 0 && versionMark(t.mid(dash + 1))) {
            t.truncate(dash);
            continue;
        }
        return t;
    }
}
} // namespace

QByteArray duplicateKey(const QString &title, const QString &singer)
{
    QByteArray key = text(withoutVersionMarks(title));
    key.append('\n');
    key.append(text(singer));
    key.replace(' ', QByteArray());
    return key;
}

QList<std::pair<int, int>> hits(const QString &text, const QList<QByteArray> &words)
{
    QList<std::pair<int, int>> out;
    if (words.isEmpty() || text.isEmpty())
        return out;
    QByteArray folded;
    QVector<int> owner; // the character each folded byte comes from
    folded.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QByteArray b = c.isSurrogate() ? QByteArray("?") : Ansi::fromUnicode(QString(c));
        const QByteArray &f = byte(static_cast<unsigned char>(b.at(0)));
        folded.append(f);
        owner.insert(owner.size(), f.size(), i);
    }
    QVector<bool> marked(text.size(), false);
    for (const QByteArray &w : words) {
        for (qsizetype at = folded.indexOf(w); at >= 0; at = folded.indexOf(w, at + 1))
            for (int i = owner.at(at); i <= owner.at(at + w.size() - 1); ++i)
                marked[i] = true;
    }
    for (int i = 0; i < text.size();) {
        if (!marked.at(i)) {
            ++i;
            continue;
        }
        int j = i;
        while (j < text.size() && marked.at(j))
            ++j;
        out.append({i, j});
        i = j;
    }
    return out;
}

} // namespace Fold

