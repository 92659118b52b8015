// Any bytes decode into a singer card (length bytes beyond a field's capacity included); a
// card the program writes comes back the same.

#include "FuzzCheck.h"
#include "singers/SingerCard.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const SingerCard first = SingerCard::fromRecord(recordOf(data, size, SingerCard::kRecordSize));
    const QByteArray written = first.toRecord();
    FUZZ_REQUIRE(written.size() == SingerCard::kRecordSize);

    const SingerCard second = SingerCard::fromRecord(written);
    FUZZ_REQUIRE(second.toRecord() == written);
    FUZZ_REQUIRE(SingerCard::fromRecord(second.toRecord()) == second);
    return 0;
}
