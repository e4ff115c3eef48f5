#include "addin/core/ComClassRegistry.h"

#include "base/MKRegKey.h"

namespace {

// Deletes the sub-key tree when it is there; true when it is gone.
bool DeleteIfPresent(const MKRegKey& parent, const MKString& name)
{
    return !parent.SubKeyExists(name) || parent.DeleteSubKeyTree(name);
}

bool WriteKeyWithDefault(const MKRegKey& parent, const MKString& path, const MKString& value)
{
    MKRegKey key = parent.CreateSubKey(path);
    return key && key.SetString(nullptr, value);
}

}  // namespace

bool RegisterComClass(const MKString& classIdText, const MKString& progId, const MKString& modulePath,
                      const MKString& name)
{
    if (classIdText.IsEmpty() || progId.IsEmpty() || modulePath.IsEmpty() || name.IsEmpty())
        return false;
    MKRegKey root = MKOpenRegKey::ClassesRoot();
    MKRegKey classes = root.OpenSubKey(L"CLSID", true);
    if (!classes || !DeleteIfPresent(classes, classIdText))
        return false;
    MKRegKey classKey = classes.CreateSubKey(classIdText);
    bool ok = classKey && classKey.SetString(nullptr, name) &&
              WriteKeyWithDefault(classKey, L"InprocServer32", modulePath) &&
              WriteKeyWithDefault(classKey, L"ProgID", progId);
    ok = ok && DeleteIfPresent(root, progId);
    MKRegKey progIdKey = ok ? root.CreateSubKey(progId) : MKRegKey();
    return progIdKey && progIdKey.SetString(nullptr, name) && WriteKeyWithDefault(progIdKey, L"CLSID", classIdText);
}

bool UnregisterComClass(const MKString& classIdText, const MKString& progId)
{
    if (classIdText.IsEmpty() || progId.IsEmpty())
        return false;
    MKRegKey root = MKOpenRegKey::ClassesRoot();
    MKRegKey classes = root.OpenSubKey(L"CLSID", true);
    bool classGone = classes ? DeleteIfPresent(classes, classIdText) : !root.SubKeyExists(L"CLSID");
    bool progIdGone = DeleteIfPresent(root, progId);
    return classGone && progIdGone;
}
