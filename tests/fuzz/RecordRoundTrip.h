#pragma once

// The check shared by the record harnesses: any bytes decode into a record, and a record the
// program writes comes back the same (decode, encode, decode changes nothing).

#include "FuzzCheck.h"

template <typename Record> int recordRoundTrip(const unsigned char *data, size_t size)
{
    const Record first = Record::decode(recordOf(data, size, Record::kSize));
    const QByteArray written = first.encode();
    FUZZ_REQUIRE(written.size() == Record::kSize);

    // From here on the record is one the program wrote.
    const Record second = Record::decode(written);
    const QByteArray again = second.encode();
    FUZZ_REQUIRE(again == written);
    FUZZ_REQUIRE(Record::decode(again) == second);
    return 0;
}
