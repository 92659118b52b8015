#include "lists/ListOrder.h"

namespace Lists
{

namespace
{
inline char16_t upper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}
} // namespace

QString lowerAscii(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() + 32));
    return out;
}

int compareLines(const QString &a, const QString &b)
{
    const qsizetype n = qMin(a.size(), b.size());
    const char16_t *pa = reinterpret_cast<const char16_t *>(a.constData());
    const char16_t *pb = reinterpret_cast<const char16_t *>(b.constData());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = upper(pa[i]);
        const char16_t cb = upper(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int FindInList::find(int count, const std::function<QString(int)> &lineAt, int selected, const QString &typed)
{
    const QString s = lowerAscii(typed);
    const bool same = s == m_last;
    m_last = s;
    if (count <= 0 || s.isEmpty())
        return -1;
    const auto hit = [&](int row) { return lowerAscii(lineAt(row)).contains(s); };
    int start = selected;
    if (!same) {
        start = 0;
        if (hit(0))
            return 0;
    }
    if (start < 0 || start >= count)
        start = 0;
    for (int k = 1; k <= count; ++k) {
        const int row = (start + k) % count;
        if (hit(row))
            return row;
    }
    return -1;
}

} // namespace Lists
