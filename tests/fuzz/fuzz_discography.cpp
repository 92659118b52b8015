// Discography songs: five counted texts in 144 bytes.

#include "RecordRoundTrip.h"
#include "records/DiscographySong.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    return recordRoundTrip<DiscographySong>(data, size);
}
