// Singer cards: counted texts, length bytes beyond a field's capacity included.

#include "RecordRoundTrip.h"
#include "records/SingerCard.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    return recordRoundTrip<SingerCard>(data, size);
}
