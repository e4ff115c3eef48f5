#include "addin/update/PendingRenames.h"
#include "base/MKOpenRegKey.h"
#include "base/MKRegKey.h"

namespace {

const wchar_t kValue[] = L"PendingFileRenameOperations";
// The object-manager prefix "\??\" in front of every source.
const int kPrefixLength = 4;

} // namespace

bool ReadPendingRenames(MKTOArray<MKString>& list)
{
    list.RemoveAll();
    MKRegKey manager = MKOpenRegKey::LocalMachine().OpenSubKey(
        L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", false);
    if (!manager)
        return false;
    if (!manager.HasValue(kValue))
        return true;
    MKRegValue value = manager.QueryValue(kValue);
    if (value.GetType() != REG_MULTI_SZ)
        return false;
    // The empty target of a deletion looks like the end of an ordinary
    // multi-string, so every string up to the data's end counts; the list
    // ends in one more empty string after the last pair.
    const wchar_t* text = reinterpret_cast<const wchar_t*>(value.GetData());
    int chars = value.GetSize() / int(sizeof(wchar_t));
    int count = 0;
    bool lastEmpty = false;
    for (int start = 0; start < chars; ++count) {
        int end = start;
        while (end < chars && text[end])
            ++end;
        lastEmpty = end == start;
        start = end + 1;
    }
    if (count % 2 == 1 && lastEmpty)
        --count;
    for (int start = 0; list.GetCount() < count;) {
        int end = start;
        while (end < chars && text[end])
            ++end;
        if (!list.Add(MKString::MKStringFromChars(text + start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

bool IsPendingRename(const MKString& path, bool* listed)
{
    *listed = false;
    MKTOArray<MKString> list;
    if (!ReadPendingRenames(list))
        return false;
    for (int i = 0; i + 1 < list.GetCount(); i += 2) {
        const MKString& source = list[i];
        if (list[i + 1].IsEmpty() && source.GetLength() > kPrefixLength &&
            _wcsicmp(source.GetText() + kPrefixLength, path.GetText()) == 0)
            *listed = true;
    }
    return true;
}
