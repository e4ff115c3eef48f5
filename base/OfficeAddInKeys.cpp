#include "base/OfficeAddInKeys.h"

#include "base/MKRegKey.h"

bool OfficeAddInKeys::RemoveVirtualStoreCopy(const wchar_t* applicationName, const MKString& addInKeyName,
                                             const MKRegKey& key)
{
    if (!key)
        return true;
    MKString path =
        MKString::FromFormat(L"VirtualStore\\MACHINE\\SOFTWARE\\Microsoft\\Office\\%s\\Addins", applicationName);
    MKString addInPath = MKString::ConcatChar(path, L'\\');
    addInPath.AppendString(addInKeyName);
    if (addInKeyName.IsEmpty() || !key.SubKeyExists(addInPath))
        return true;
    MKRegKey addIns = key.OpenSubKey(path, true);
    return addIns && addIns.DeleteSubKeyTree(addInKeyName);
}
