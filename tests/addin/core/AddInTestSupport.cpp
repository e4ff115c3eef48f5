#include "AddInTestSupport.h"
#include "fixtures/ChildProcess.h"

#include <sstream>

const wchar_t kUserEntry[] = L"Software\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn";
const wchar_t kMachineEntry[] = L"SOFTWARE\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn";

AddInLibrary::AddInLibrary() : m_module(LoadLibraryW(Path().c_str())) {}

AddInLibrary::AddInLibrary(const std::wstring& path) : m_module(LoadLibraryW(path.c_str())) {}

AddInLibrary::~AddInLibrary()
{
    // COM keeps its own load while an add-in lives; this one goes.
    if (m_module)
        FreeLibrary(m_module);
}

std::wstring AddInLibrary::Path()
{
    return VISTELLO_ADDIN_DLL;
}

FARPROC AddInLibrary::Export(const char* name) const
{
    return m_module ? GetProcAddress(m_module, name) : nullptr;
}

HRESULT AddInLibrary::CanUnloadNow() const
{
    auto function = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(Export("DllCanUnloadNow")));
    return function ? function() : E_NOTIMPL;
}

HRESULT AddInLibrary::GetClassObject(REFCLSID classId, REFIID iid, void** out) const
{
    auto function = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(Export("DllGetClassObject")));
    return function ? function(classId, iid, out) : E_NOTIMPL;
}

HRESULT AddInLibrary::RegisterServer() const
{
    auto function = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(Export("DllRegisterServer")));
    return function ? function() : E_NOTIMPL;
}

HRESULT AddInLibrary::UnregisterServer() const
{
    auto function = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(Export("DllUnregisterServer")));
    return function ? function() : E_NOTIMPL;
}

bool AddInLibrary::LoaderCreate(const LoaderInfo* info, LoaderCallbacks* callbacks) const
{
    auto function = reinterpret_cast<bool(WINAPI*)(const LoaderInfo*, LoaderCallbacks*)>(
        reinterpret_cast<void*>(Export("VistelloLoader_Create")));
    return function && function(info, callbacks);
}

std::vector<std::string> RegQuery(const std::wstring& key)
{
    std::vector<std::string> lines;
    ChildProcessResult run = RunChildProcess(L"reg.exe query \"" + key + L"\" /s");
    if (run.exitCode != 0)
        return lines;
    std::istringstream stream(run.output);
    for (std::string line; std::getline(stream, line);) {
        size_t first = line.find_first_not_of(" \t\r");
        size_t last = line.find_last_not_of(" \t\r");
        if (first != std::string::npos)
            lines.push_back(line.substr(first, last - first + 1));
    }
    return lines;
}

void RemoveAddInRegistration()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CLSID\\{72C90439-0243-496A-9F40-22BE2B131CA1}");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID\\{72C90439-0243-496A-9F40-22BE2B131CA1}");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Vistello.AddIn");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"Vistello.AddIn");
    RegDeleteTreeW(HKEY_CURRENT_USER, kUserEntry);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kMachineEntry);
}

std::wstring ReadText(HKEY root, const std::wstring& key, const wchar_t* name)
{
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

long long ReadDword(HKEY root, const std::wstring& key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void WriteDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &value, sizeof(value));
}

void WriteText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool SameVersion(const MKVersion& version, int major, int minor, int build, int revision)
{
    return version.major == major && version.minor == minor && version.build == build && version.revision == revision;
}
