// Any bytes decode into a song card; a card the program writes comes back the same.

#include "FuzzCheck.h"
#include "collections/SongCard.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const SongCard first = SongCard::decode(recordOf(data, size, SongCard::kSize));
    const QByteArray written = first.encode();
    FUZZ_REQUIRE(written.size() == SongCard::kSize);

    // From here on the record is one the program wrote: decode, encode, decode changes nothing.
    const SongCard second = SongCard::decode(written);
    const QByteArray again = second.encode();
    FUZZ_REQUIRE(again == written);
    FUZZ_REQUIRE(SongCard::decode(again) == second);
    return 0;
}
