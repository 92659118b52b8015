#include "table/Fold.h"

#include "core/Text.h"

#include <QList>

#include <array>

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

void append(QByteArray &out, const char *bytes, int n)
{
    const auto &t = table();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes);
    for (int i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        // Plain lower-case letters and digits are most of any text: no table walk for them.
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out.append(char(c));
            continue;
        }
        const QByteArray &f = t[c];
        if (f.size() == 1 && f.at(0) == ' ') {
            if (!out.isEmpty() && !out.endsWith(' '))
                out.append(' ');
        } else {
            out.append(f);
        }
    }
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

