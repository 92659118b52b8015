#include "records/FieldTable.h"

#include <cstring>

const FieldInfo *FieldTable::byControl(const char *control) const
{
    for (const FieldInfo &f : *this)
        if (f.control && std::strcmp(f.control, control) == 0)
            return &f;
    return nullptr;
}
