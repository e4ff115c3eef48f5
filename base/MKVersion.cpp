#include "base/MKVersion.h"

#include "base/MKFormat.h"
#include "base/MKTextConvert.h"

namespace {

int CompareParts(int32_t a, int32_t b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

}  // namespace

int MKVersion::Compare(const MKVersion& other) const
{
    int result = CompareParts(major, other.major);
    if (result == 0)
        result = CompareParts(minor, other.minor);
    if (result == 0)
        result = CompareParts(build, other.build);
    if (result == 0)
        result = CompareParts(revision, other.revision);
    return result;
}

int MKVersion::Format(wchar_t* buffer, int size) const
{
    if (build == -1)
        return MKFormatToBuffer(buffer, size, L"%d.%d", major, minor);
    if (revision == -1)
        return MKFormatToBuffer(buffer, size, L"%d.%d.%d", major, minor, build);
    return MKFormatToBuffer(buffer, size, L"%d.%d.%d.%d", major, minor, build, revision);
}

MKString MKVersion::ToString() const
{
    wchar_t buffer[50];
    int length = Format(buffer, 50);
    return MKString::MKStringFromChars(buffer, length < 0 ? 0 : length);
}

bool MKVersion::Parse(const wchar_t* text, MKVersion& out)
{
    out = MKVersion();
    if (!text)
        return false;
    int32_t parts[4] = {0, 0, -1, -1};
    int count = 0;
    const wchar_t* part = text;
    for (;;) {
        if (count == 4)
            return false;
        int value;
        if (MKTextToInt(part, &value) == 0)
            return false;
        parts[count++] = value;
        const wchar_t* dot = part;
        while (*dot && *dot != L'.')
            ++dot;
        if (!*dot)
            break;
        part = dot + 1;
    }
    if (count < 2)
        return false;
    out = MKVersion(parts[0], parts[1], parts[2], parts[3]);
    return true;
}
