// The unscrambler takes any text: it either refuses a pair that is not hexadecimal or gives
// a text that scrambles back to the same digits; any text of 8-bit characters unscrambles
// back from its scrambled form.

#include "FuzzCheck.h"
#include "access/Crypt.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));

    try {
        const QString plain = Crypt::Unscramble(text);
        FUZZ_REQUIRE(plain.size() == text.size() / 2);
        // Digits come back upper-case; an odd trailing character is not part of the value.
        FUZZ_REQUIRE(Crypt::Scramble(plain) == text.left(plain.size() * 2).toUpper());
    } catch (const Crypt::ConversionError &) {
        bool allHex = true;
        for (qsizetype i = 0; i < text.size() / 2 * 2; ++i)
            allHex = allHex && QStringLiteral("0123456789ABCDEFabcdef").contains(text.at(i));
        FUZZ_REQUIRE(!allHex);
    }

    const QString hex = Crypt::Scramble(text);
    FUZZ_REQUIRE(hex.size() == text.size() * 2);
    FUZZ_REQUIRE(Crypt::Unscramble(hex) == text);
    return 0;
}
