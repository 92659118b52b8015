#include "access/Crypt.h"

#include <QList>

namespace Crypt {

namespace {

// The stored passwords of every installation depend on these three numbers.
constexpr quint16 kStart = 2983;
constexpr quint16 kMultiplier = 40127;
constexpr quint16 kAdder = 30983;

// Both directions advance the key with the scrambled byte, so they stay in step.
inline quint16 advance(quint16 key, quint8 scrambled)
{
    return quint16((quint16(scrambled + key) * quint32(kMultiplier) + kAdder) & 0xFFFF);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

ConversionError::ConversionError(const QString &pair)
    : std::runtime_error(QStringLiteral("'%1' non è un valore esadecimale valido").arg(pair).toStdString())
{
}

QString Scramble(const QString &text)
{
    static const char digits[] = "0123456789ABCDEF";
    quint16 key = kStart;
    QString out;
    out.reserve(text.size() * 2);
    for (const QChar ch : text) {
        const quint8 c = quint8((ch.unicode() & 0xFF) ^ (key >> 8));
        out += QLatin1Char(digits[c >> 4]);
        out += QLatin1Char(digits[c & 0x0F]);
        key = advance(key, c);
    }
    return out;
}

QString Unscramble(const QString &hex)
{
    const qsizetype m = hex.size() / 2;
    // Every pair is checked before the first character is produced.
    QList<quint8> bytes;
    bytes.reserve(m);
    for (qsizetype i = 0; i < m; ++i) {
        const int high = hexDigit(hex.at(2 * i));
        const int low = hexDigit(hex.at(2 * i + 1));
        if (high < 0 || low < 0)
            throw ConversionError(hex.mid(2 * i, 2));
        bytes.append(quint8(high * 16 + low));
    }
    quint16 key = kStart;
    QString out;
    out.reserve(m);
    for (const quint8 c : bytes) {
        out += QChar(char16_t(c ^ (key >> 8)));
        key = advance(key, c);
    }
    return out;
}

} // namespace Crypt
