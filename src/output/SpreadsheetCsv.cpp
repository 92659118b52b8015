#include "output/SpreadsheetWriter.h"

#include "core/Text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace
{

// Each Windows-1252 byte as UTF-8 (at most three bytes), from the program's one conversion.
struct Utf8Of {
    std::array<std::array<char, 3>, 256> bytes;
    std::array<unsigned char, 256> length;

    Utf8Of()
    {
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            const QByteArray utf8 = Ansi::toUnicode(&c, 1).toUtf8();
            length[b] = static_cast<unsigned char>(utf8.size());
            std::memcpy(bytes[b].data(), utf8.constData(), size_t(utf8.size()));
        }
    }
};

const Utf8Of &utf8Of()
{
    static const Utf8Of table;
    return table;
}

// True when none of eight bytes needs more than a copy: no byte from 0x80 up (it changes in
// UTF-8), none below 0x20 (a line break may), and for a CSV field no double quote.
template <bool Csv> inline bool plainWord(std::uint64_t x)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    std::uint64_t special = (x & highs) | ((x - ones * 0x20) & ~x & highs);
    if constexpr (Csv) {
        const std::uint64_t y = x ^ (ones * '"');
        special |= (y - ones) & ~y & highs;
    }
    return special == 0;
}

// Appends the trimmed cell as UTF-8, with one LF for each line break and, for a CSV field, its
// double quotes doubled. Most bytes are plain ASCII and go eight at a time.
template <bool Csv> void appendUtf8(QByteArray &out, const char *begin, const char *end)
{
    while (begin < end && static_cast<unsigned char>(*begin) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(end[-1]) <= 0x20)
        --end;
    const qsizetype start = out.size();
    out.resize(start + 3 * (end - begin)); // the worst case; the unused tail is cut below
    char *to = out.data() + start;
    const Utf8Of &table = utf8Of();
    const char *at = begin;
    while (at < end) {
        if (end - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, at, 8);
            if (plainWord<Csv>(word)) {
                std::memcpy(to, at, 8);
                to += 8;
                at += 8;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(*at++);
        if (b == '\r') {
            if (at < end && *at == '\n')
                ++at;
            *to++ = '\n';
        } else if (b == 0) {
            // No spreadsheet keeps a NUL in a text (XML cannot hold one): it is left out.
        } else if (Csv && b == '"') {
            *to++ = '"';
            *to++ = '"';
        } else if (b >= 0x80) {
            std::memcpy(to, table.bytes[b].data(), 3);
            to += table.length[b];
        } else {
            *to++ = char(b);
        }
    }
    out.truncate(to - out.constData());
}

void appendField(QByteArray &out, QByteArrayView bytes)
{
    out.append('"');
    appendUtf8<true>(out, bytes.data(), bytes.data() + bytes.size());
    out.append('"');
}

} // namespace

namespace SpreadsheetWriter
{

QByteArray cellUtf8(QByteArrayView windows1252)
{
    QByteArray out;
    appendUtf8<false>(out, windows1252.data(), windows1252.data() + windows1252.size());
    return out;
}

QByteArray csvDocument(const QList<Column> &columns, int rowCount, const CellBytes &cell)
{
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(1024 + qsizetype(rowCount) * columns.size() * 32);
    const int width = int(columns.size());
    for (int column = 0; column < width; ++column) {
        if (column > 0)
            out.append(';');
        appendField(out, Ansi::fromUnicode(columns.at(column).header));
    }
    out.append("\r\n");
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < width; ++column) {
            if (column > 0)
                out.append(';');
            appendField(out, cell(row, column));
        }
        out.append("\r\n");
    }
    return out;
}

} // namespace SpreadsheetWriter
