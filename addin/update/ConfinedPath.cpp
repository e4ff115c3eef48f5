#include "addin/update/ConfinedPath.h"
#include "base/MKPath.h"
#include "base/MKTOArray.h"
#include <wchar.h>

#include <wchar.h>

namespace {

// Whether a path component names a device: CON, PRN, AUX, NUL, COM1-9 or
// LPT1-9 (and the console's CONIN$ and CONOUT$), in any case, with or without
// an extension and trailing blanks. The system opens the device for such a
// name in any folder, so a file of that name can never be meant.
bool IsDeviceName(const MKString& part)
{
    int length = part.FindChar(L'.');
    if (length < 0)
        length = part.GetLength();
    while (length > 0 && part[length - 1] == L' ')
        --length;
    const MKString base = part.Left(length);
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (_wcsicmp(base.GetText(), device) == 0)
            return true;
    }
    return length == 4 && base[3] >= L'1' && base[3] <= L'9' &&
        (_wcsnicmp(base.GetText(), L"COM", 3) == 0 || _wcsnicmp(base.GetText(), L"LPT", 3) == 0);
}

}  // namespace

bool IsConfinedRelativePath(const MKString& path)
{
    if (path.IsEmpty())
        return true;
    if (!MKPathHasValidChars(path) || MKPathIsAbsolute(path) || MKPathRootLength(path) != 0 ||
        path.FindChar(L':') >= 0)
        return false;
    MKTOArray<MKString> parts;
    path.Split(L"\\/", true, parts);
    for (int i = 0; i < parts.GetCount(); ++i) {
        // The system drops trailing dots and blanks, so ".. " or ". ." name the
        // parent too: a component of nothing else is refused, "." aside.
        const MKString& part = parts[i];
        int kept = part.GetLength();
        while (kept > 0 && (part[kept - 1] == L'.' || part[kept - 1] == L' '))
            --kept;
        if ((kept == 0 && !part.EqualsText(L".")) || IsDeviceName(part))
            return false;
    }
    return true;
}

bool IsPlainFileName(const MKString& name)
{
    return !name.IsEmpty() && !name.EqualsText(L".") && name.FindChar(L'\\') < 0 && name.FindChar(L'/') < 0 &&
        IsConfinedRelativePath(name);
}

bool IsPathInsideFolder(const MKString& path, const MKString& folder)
{
    MKString root = MKPathFull(folder);
    while (root.GetLength() > 0 && (root[root.GetLength() - 1] == L'\\' || root[root.GetLength() - 1] == L'/'))
        root = root.Left(root.GetLength() - 1);
    int length = root.GetLength();
    if (length == 0 || path.GetLength() <= length + 1 || _wcsnicmp(path.GetText(), root.GetText(), length) != 0)
        return false;
    if (path[length] != L'\\' && path[length] != L'/')
        return false;
    MKString rest = path.Mid(length + 1);
    if (rest.IsEmpty() || !IsConfinedRelativePath(rest))
        return false;
    // "inst\." or "inst\.\" is the folder itself, not a path inside it.
    MKTOArray<MKString> parts;
    rest.Split(L"\\/", true, parts);
    for (int i = 0; i < parts.GetCount(); ++i) {
        if (!parts[i].EqualsText(L"."))
            return true;
    }
    return false;
}
