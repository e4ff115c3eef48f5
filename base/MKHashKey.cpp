#include "base/MKHashKey.h"

uint32_t MKHashText(const wchar_t* chars, int n)
{
    if (n <= 0)
        return 0;
    uint32_t hash = uint32_t(chars[n - 1]) - 113;
    if (n <= 27) {
        for (int i = n - 2; i >= 0; --i)
            hash = hash * 67 + chars[i] - 113;
    } else {
        for (int j = 7; j >= 0; --j)
            hash = hash * 67 + chars[int64_t(n - 1) * j / 8] - 113;
    }
    return hash;
}
