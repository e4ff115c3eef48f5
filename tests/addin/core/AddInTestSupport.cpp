#include "AddInTestSupport.h"

#include <sstream>

const wchar_t kUserEntry[] = L"Software\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn";
const wchar_t kMachineEntry[] = L"SOFTWARE\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn";

AddInLibrary::AddInLibrary() : m_module(LoadLibraryW(Path().c_str())) {}

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

DWORD RunProgram(const std::wstring& commandLine, std::string* output)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return DWORD(-1);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;
    BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(writeEnd);
    std::string text;
    if (started) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            text.append(buffer, read);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(readEnd);
    DWORD exitCode = DWORD(-1);
    if (started) {
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (output)
        *output = text;
    return exitCode;
}

std::vector<std::string> RegQuery(const std::wstring& key)
{
    std::string text;
    std::vector<std::string> lines;
    if (RunProgram(L"reg.exe query \"" + key + L"\" /s", &text) != 0)
        return lines;
    std::istringstream stream(text);
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
