#pragma once

// Shared by the fuzz harnesses: a broken promise stops the run with a message, so that
// libFuzzer keeps the input that broke it.

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                                                              \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);                     \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

// The input as a record of exactly `size` bytes: cut, or padded with zeros.
inline QByteArray recordOf(const unsigned char *data, size_t length, int size)
{
    QByteArray record(reinterpret_cast<const char *>(data),
                      int(length < size_t(size) ? length : size_t(size)));
    record.append(QByteArray(size - record.size(), '\0'));
    return record;
}
