#include "addin/hosting/InstalledControlPath.h"

#include "base/MKGuid.h"
#include "base/MKRegKey.h"
#include "base/MKOpenRegKey.h"

namespace {

MKString ExpandEnvironment(const MKString& text)
{
    DWORD needed = ExpandEnvironmentStringsW(text.GetText(), nullptr, 0);
    MKString expanded;
    // The answer counts the terminator; a failure keeps the text as written.
    wchar_t* chars = needed > 1 ? expanded.PrepareOverwrite(int(needed - 1)) : nullptr;
    if (!chars)
        return text;
    DWORD written = ExpandEnvironmentStringsW(text.GetText(), chars, needed);
    if (written == 0 || written > needed)
        return text;
    expanded.SetLength(int(written - 1));
    return expanded;
}

}  // namespace

MKString GetInstalledControlPath(REFCLSID clsid)
{
    MKString path = MKString::FromFormat(L"CLSID\\{%s}\\InprocServer32", MKGuid(clsid).FormatUpper().GetText());
    MKRegValue value = MKOpenRegKey::ClassesRoot().OpenSubKey(path, false).QueryValue(nullptr);
    if (value.GetType() == REG_SZ)
        return value.GetString();
    // Installers that write %ProgramFiles% or %SystemRoot% paths leave an
    // expandable value, which names the same file once expanded.
    if (value.GetType() == REG_EXPAND_SZ)
        return ExpandEnvironment(value.GetString());
    return MKString();
}
