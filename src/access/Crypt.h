#pragma once

#include <QString>

#include <stdexcept>

// The scrambler of the password store: one byte per character, written as two upper-case
// hexadecimal digits, each XORed with the high byte of a running 16-bit key.
namespace Crypt {

// A digit pair that is not a hexadecimal number.
class ConversionError : public std::runtime_error
{
public:
    explicit ConversionError(const QString &pair);
};

// Only the low 8 bits of each character take part: texts of characters U+0001 to U+00FF
// come back unchanged from Unscramble(Scramble(text)). Every character is processed, however
// long the text; the change-password window never lets a text over 255 characters through.
QString Scramble(const QString &text);
// Accepts lower-case digits as well and ignores an odd trailing character. Throws
// ConversionError, before producing anything, when a pair is not hexadecimal.
QString Unscramble(const QString &hex);

} // namespace Crypt
