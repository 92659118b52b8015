#include "core/Text.h"

#include <QHash>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>
#include <mutex>

namespace {

// Windows-1252 bytes 0x80-0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const QHash<char16_t, char> &reverseHigh()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int i = 0; i < 32; ++i)
            if (kHigh[i])
                t.insert(kHigh[i], char(0x80 + i));
        return t;
    }();
    return table;
}

// Best fit for a character the code page lacks: a few common look-alikes, letters whose stroke
// is not an accent (Windows' own best fit gives "Lodz" for "Łódź"), then the base letter of a
// decomposable character; 0 when there is none.
char bestFit(char32_t c)
{
    switch (c) {
    case 0x2010: case 0x2011: case 0x2012: case 0x2015: case 0x2212: return '-';
    case 0x2032: case 0x02B9: return '\'';
    case 0x2033: return '"';
    case 0x00A0: return ' ';
    case 0x0110: return 'D'; // Đ
    case 0x0111: return 'd';
    case 0x0126: return 'H'; // Ħ
    case 0x0127: return 'h';
    case 0x0131: return 'i'; // dotless ı
    case 0x0141: return 'L'; // Ł
    case 0x0142: return 'l';
    case 0x0166: return 'T'; // Ŧ
    case 0x0167: return 't';
    case 0x0180: return 'b'; // ƀ
    case 0x0197: return 'I'; // Ɨ
    case 0x019A: return 'l'; // ƚ
    case 0x01B5: return 'Z'; // Ƶ
    case 0x01B6: return 'z';
    case 0x01E4: return 'G'; // Ǥ
    case 0x01E5: return 'g';
    default: break;
    }
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    if (!decomposed.isEmpty()) {
        const QChar base = decomposed.at(0);
        if (base.unicode() < 0x80 && base.unicode() >= 0x20)
            return char(base.unicode());
    }
    return 0;
}

// The Windows-1252 byte of a character, or -1 when the code page has none.
int codePageByte(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return int(code);
    if (code < 0xA0 && !kHigh[code - 0x80])
        return int(code); // the five unassigned bytes come back as they went out
    if (code <= 0xFFFF) {
        auto it = reverseHigh().constFind(char16_t(code));
        if (it != reverseHigh().constEnd())
            return static_cast<unsigned char>(it.value());
    }
    return -1;
}

// Letters of other scripts spelled in Latin ("Москва" gives "Moskva"). Greek follows the
// UN's romanisation, which reads "Αθήνα" as "Athina" like the signs in Greece do. Built once;
// the import reads on a thread of its own, so uses take turns.
class Latin
{
public:
    static Latin &instance()
    {
        static Latin latin;
        return latin;
    }
    QString spell(const QString &text)
    {
        if (!m_translit)
            return text;
        icu::UnicodeString u(reinterpret_cast<const char16_t *>(text.utf16()), int32_t(text.size()));
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_translit->transliterate(u);
        }
        return QString(reinterpret_cast<const QChar *>(u.getBuffer()), u.length());
    }

private:
    Latin()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_translit.reset(icu::Transliterator::createInstance(
            icu::UnicodeString(u"Greek-Latin/UNGEGN; Any-Latin; Latin-ASCII"), UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            m_translit.reset(); // without ICU's data every such letter falls back to the missing mark
    }
    std::unique_ptr<icu::Transliterator> m_translit;
    std::mutex m_mutex;
};

} // namespace

namespace Ansi {

QByteArray fromUnicode(const QString &text)
{
    return fromUnicode(text, '?');
}

QByteArray fromUnicode(const QString &text, char missing)
{
    QByteArray out;
    out.reserve(text.size());
    const QList<uint> codes = text.toUcs4();
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (const int byte = codePageByte(codes.at(i)); byte >= 0) {
            out.append(char(byte));
            continue;
        }
        if (const char fit = bestFit(codes.at(i))) {
            out.append(fit);
            continue;
        }
        // A run of letters neither the code page nor best fit knows goes to ICU whole, so that
        // a script's spelling rules see each word, not one letter at a time.
        qsizetype end = i + 1;
        while (end < codes.size() && codePageByte(codes.at(end)) < 0 && !bestFit(codes.at(end)))
            ++end;
        const QString run = QString::fromUcs4(reinterpret_cast<const char32_t *>(codes.constData() + i), end - i);
        const QString latin = Latin::instance().spell(run);
        if (latin == run) {
            out.append(QByteArray(end - i, missing));
        } else {
            for (const uint code : latin.toUcs4()) {
                const int byte = codePageByte(code);
                const char fit = byte >= 0 ? char(byte) : bestFit(code);
                out.append(fit ? fit : missing);
            }
        }
        i = end - 1;
    }
    return out;
}

QString toUnicode(const char *bytes, int length)
{
    QString out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80])
            out.append(QChar(kHigh[b - 0x80]));
        else
            out.append(QChar(b)); // unassigned bytes map to the C1 controls, as Windows does
    }
    return out;
}

QString toUnicode(const QByteArray &bytes)
{
    return toUnicode(bytes.constData(), int(bytes.size()));
}

} // namespace Ansi

QString ctrim(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}
