#include "companions/trampoline/TrampolineRegistration.h"

#include "companions/trampoline/TrampolineIds.h"

#include "base/MKOpenRegKey.h"
#include "base/MKRegKey.h"

#include <oleauto.h>

// Exported by oleaut32 but missing from the toolchain's headers.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpFolder);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD major, WORD minor, LCID locale,
                                                   SYSKIND kind);

namespace {

const wchar_t kName[] = L"VistelloTrampolineObject Class";
const wchar_t kProgId[] = L"VistelloTrampoline.VistelloTrampolineObject.1";
const wchar_t kIndependentProgId[] = L"VistelloTrampoline.VistelloTrampolineObject";
const wchar_t kAppName[] = L"VistelloTrampoline";
const wchar_t kAppExe[] = L"AppID\\VistelloTrampoline.EXE";

MKRegKey ClassesRoot(bool perUser)
{
    return perUser ? MKOpenRegKey::CurrentUser().CreateSubKey(L"Software\\Classes") : MKOpenRegKey::ClassesRoot();
}

// Creates the key below the root and sets its default text (none for null).
bool WriteKey(const MKRegKey& root, const MKString& path, const wchar_t* text)
{
    MKRegKey key = root.CreateSubKey(path);
    return key && (!text || key.SetString(nullptr, text));
}

// The program path as COM reads a command line: quoted, so that a folder with
// blanks cannot be taken for a shorter program name followed by arguments.
MKString QuotedPath(const MKString& programPath)
{
    return MKString(L"\"") + programPath + L"\"";
}

bool WriteProgId(const MKRegKey& root, const MKString& progId, bool withVerbs, const MKString& programPath)
{
    bool ok = WriteKey(root, progId, kName) && WriteKey(root, progId + L"\\CLSID", kTrampolineClassIdText);
    if (withVerbs) {
        ok = ok && WriteKey(root, progId + L"\\Insertable", L"") &&
             WriteKey(root, progId + L"\\protocol\\StdFileEditing\\server", QuotedPath(programPath).GetText()) &&
             WriteKey(root, progId + L"\\protocol\\StdFileEditing\\verb\\0", L"&Edit");
    } else {
        ok = ok && WriteKey(root, progId + L"\\CurVer", kProgId);
    }
    return ok;
}

bool WriteClass(const MKRegKey& root, const MKString& programPath)
{
    const MKString classKey = MKString(L"CLSID\\") + kTrampolineClassIdText;
    // Replaced whole: nothing of an older registration stays.
    root.DeleteTree(classKey);
    const wchar_t* none = nullptr;
    struct Entry {
        const wchar_t* sub;
        const wchar_t* text;
    };
    const MKString quoted = QuotedPath(programPath);
    const Entry entries[] = {
        {L"", kName},
        {L"\\ProgID", kProgId},
        {L"\\VersionIndependentProgID", kIndependentProgId},
        {L"\\Programmable", none},
        {L"\\LocalServer32", quoted.GetText()},
        {L"\\InprocHandler32", L"ole32.dll"},
        {L"\\Insertable", none},
        {L"\\TypeLib", kTrampolineLibIdText},
        {L"\\Verb\\0", L"&Edit,0,2"},
        {L"\\Verb\\1", L"&Open,0,2"},
    };
    for (const Entry& entry : entries) {
        if (!WriteKey(root, classKey + entry.sub, entry.text))
            return false;
    }
    return true;
}

bool RegisterTypeLibrary(const MKString& programPath, bool perUser)
{
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLibEx(programPath.GetText(), REGKIND_NONE, &library)))
        return false;
    auto path = const_cast<wchar_t*>(programPath.GetText());
    HRESULT hr = perUser ? RegisterTypeLibForUser(library, path, nullptr) : RegisterTypeLib(library, path, nullptr);
    library->Release();
    return SUCCEEDED(hr);
}

// True when the library's registration is gone, also when there was none.
bool UnregisterTypeLibrary(const MKRegKey& root, bool perUser)
{
    HRESULT hr = perUser ? UnRegisterTypeLibForUser(LIBID_VistelloTrampolineLib, 1, 0, LOCALE_NEUTRAL, SYS_WIN32)
                         : UnRegisterTypeLib(LIBID_VistelloTrampolineLib, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
    return SUCCEEDED(hr) || !root.SubKeyExists(MKString(L"TypeLib\\") + kTrampolineLibIdText + L"\\1.0");
}

// Deletes the key with everything below it; true when it is gone.
bool RemoveKey(const MKRegKey& root, const MKString& path)
{
    root.DeleteTree(path);
    return !root.SubKeyExists(path);
}

}  // namespace

bool RegisterTrampoline(const MKString& programPath, bool perUser)
{
    MKRegKey root = ClassesRoot(perUser);
    if (!root || programPath.IsEmpty())
        return false;
    MKRegKey appExe = root.CreateSubKey(kAppExe);
    bool ok = WriteKey(root, MKString(L"AppID\\") + kTrampolineAppIdText, kAppName) && appExe &&
              appExe.SetString(L"AppID", kTrampolineAppIdText);
    ok = ok && WriteProgId(root, kProgId, true, programPath) &&
         WriteProgId(root, kIndependentProgId, false, programPath) && WriteClass(root, programPath);
    return ok && RegisterTypeLibrary(programPath, perUser);
}

bool UnregisterTrampoline(bool perUser)
{
    MKRegKey root = ClassesRoot(perUser);
    if (!root)
        return false;
    bool ok = UnregisterTypeLibrary(root, perUser);
    ok = RemoveKey(root, MKString(L"AppID\\") + kTrampolineAppIdText) && ok;
    ok = RemoveKey(root, kAppExe) && ok;
    ok = RemoveKey(root, kProgId) && ok;
    ok = RemoveKey(root, kIndependentProgId) && ok;
    return RemoveKey(root, MKString(L"CLSID\\") + kTrampolineClassIdText) && ok;
}
