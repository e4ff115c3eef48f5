#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "addin/core/LoaderRecords.h"
#include "base/MKVersion.h"

// Helpers of the add-in core's tests.

// The built VistelloAddIn.dll, loaded into the test process, with its exports.
class AddInLibrary {
public:
    AddInLibrary();
    // Another copy of the library.
    explicit AddInLibrary(const std::wstring& path);
    ~AddInLibrary();
    AddInLibrary(const AddInLibrary&) = delete;
    AddInLibrary& operator=(const AddInLibrary&) = delete;

    static std::wstring Path();
    HMODULE Module() const { return m_module; }

    HRESULT CanUnloadNow() const;
    HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** out) const;
    HRESULT RegisterServer() const;
    HRESULT UnregisterServer() const;
    bool LoaderCreate(const LoaderInfo* info, LoaderCallbacks* callbacks) const;

private:
    FARPROC Export(const char* name) const;

    HMODULE m_module;
};

// "reg query" of the key with /s: the lines of its output, trimmed, or
// nothing when the key does not exist.
std::vector<std::string> RegQuery(const std::wstring& key);

// Deletes every registry trace of the add-in: its COM class, its ProgID and
// its Office add-in entries of the machine and the current user.
void RemoveAddInRegistration();

// The registry's REG_SZ / REG_DWORD value, or "<none>" / -1 when missing.
std::wstring ReadText(HKEY root, const std::wstring& key, const wchar_t* name);
long long ReadDword(HKEY root, const std::wstring& key, const wchar_t* name);
bool KeyExists(HKEY root, const std::wstring& key);
// Creates the key (and its parents) and sets the DWORD / text value.
void WriteDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value);
void WriteText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value);

// The version is major.minor.build.revision.
bool SameVersion(const MKVersion& version, int major, int minor, int build, int revision);

// The Office add-in entry of "Vistello.AddIn" below a root.
extern const wchar_t kUserEntry[];
extern const wchar_t kMachineEntry[];
