// Song cards: zero-terminated texts, remains after the zero, fields without any zero byte.

#include "RecordRoundTrip.h"
#include "records/SongCard.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    return recordRoundTrip<SongCard>(data, size);
}
