#include "singers/CountedText.h"

#include "core/Text.h"

#include <cstring>

namespace CountedText
{

void store(QByteArray &record, int offset, int capacity, const QString &text)
{
    Q_ASSERT(capacity >= 1 && capacity <= 255);
    Q_ASSERT(offset >= 0 && offset + capacity + 1 <= record.size());
    QByteArray bytes = Ansi::fromUnicode(ctrim(text)).left(255).left(capacity);
    char *field = record.data() + offset;
    field[0] = char(static_cast<unsigned char>(bytes.size()));
    std::memset(field + 1, 0, size_t(capacity));
    std::memcpy(field + 1, bytes.constData(), size_t(bytes.size()));
}

QString load(const QByteArray &record, int offset, int capacity)
{
    Q_ASSERT(offset >= 0 && offset + capacity + 1 <= record.size());
    const char *field = record.constData() + offset;
    const int length = qMin(int(static_cast<unsigned char>(field[0])), capacity);
    return ctrim(Ansi::toUnicode(field + 1, length));
}

} // namespace CountedText
