#include "base/MKExceptionInfo.h"

#include <string.h>

void MKExceptionInfo::Reset()
{
    Set(-1, nullptr, nullptr);
}

void MKExceptionInfo::Set(int32_t newCode, const wchar_t* text, const void* source)
{
    code = newCode;
    int n = 0;
    if (text) {
        for (; n < 30 && text[n]; ++n)
            description[n] = text[n];
    }
    description[n] = 0;
    if (source)
        memcpy(context, source, sizeof(context));
    else
        memset(context, 0, sizeof(context));
}
