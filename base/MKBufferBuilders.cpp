#include "base/MKBufferBuilders.h"

#include "base/MKAlloc.h"
#include "base/MKTextConvert.h"

bool MKByteArrayAppendChars(MKByteArray& array, const char* bytes, int n)
{
    if (n < 1)
        return true;
    int count = array.GetCount();
    int at = count > 0 ? count - 1 : 0;
    if (n > INT32_MAX - at - 1)
        return false;
    const uint8_t* source = reinterpret_cast<const uint8_t*>(bytes);
    const uint8_t* start = array.GetData();
    ptrdiff_t inside = start && source >= start && source < start + array.GetCapacity() ? source - start : -1;
    if (count == 0 ? !array.SetSize(n + 1) : !(array.Reserve(at + n + 1) && array.SetSize(at + n + 1)))
        return false;
    if (inside >= 0)
        source = array.GetData() + inside;
    memmove(array.GetData() + at, source, size_t(n));
    array[at + n] = 0;
    return true;
}

bool MKByteArrayAppendUtf8(MKByteArray& array, const wchar_t* text, int count)
{
    if (count <= 0)
        return true;
    if (count <= 31) {
        char local[128];
        int n = MKWideToUtf8(text, count, local, int(sizeof(local)));
        return MKByteArrayAppendChars(array, local, n);
    }
    MKByteArray bytes;
    int n = MKWideToUtf8Array(text, count, bytes);
    return n > 0 && MKByteArrayAppendChars(array, reinterpret_cast<const char*>(bytes.GetData()), n);
}
