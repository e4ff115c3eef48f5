#include "standins/powerpoint/OfficeInstallation.h"

#include "standins/powerpoint/StandInFiles.h"

#include <vector>

namespace standin {

namespace {

std::wstring CommonKey(int major)
{
    return L"SOFTWARE\\Microsoft\\Office\\" + std::to_wstring(major) + L".0\\Common";
}

bool WriteText(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::wstring CommonFilesDir()
{
    wchar_t buffer[MAX_PATH] = L"C:\\Program Files\\Common Files";
    DWORD size = sizeof(buffer);
    RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"CommonFilesDir",
                 RRF_RT_REG_SZ, nullptr, buffer, &size);
    return buffer;
}

bool IsZero(const FileVersion& version)
{
    return !version.major && !version.minor && !version.build && !version.revision;
}

// Creates every missing folder of the path.
void CreateFolders(const std::wstring& folder)
{
    for (size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

std::wstring WithBackslash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

}  // namespace

bool CopyWithVersion(const std::wstring& source, const std::wstring& target, const FileVersion& version)
{
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE))
        return false;
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::vector<BYTE> resource;
    WORD language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HMODULE module = LoadLibraryExW(target.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_VERSION));
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
        if (bytes)
            resource.assign(bytes, bytes + SizeofResource(module, found));
        FreeLibrary(module);
    }
    if (resource.empty())
        return false;
    bool strip = IsZero(version);
    if (!strip) {
        bool stamped = false;
        for (size_t at = 0; at + sizeof(VS_FIXEDFILEINFO) <= resource.size(); at += 4) {
            auto* info = reinterpret_cast<VS_FIXEDFILEINFO*>(resource.data() + at);
            if (info->dwSignature != 0xFEEF04BD)
                continue;
            info->dwFileVersionMS = info->dwProductVersionMS = MAKELONG(version.minor, version.major);
            info->dwFileVersionLS = info->dwProductVersionLS = MAKELONG(version.revision, version.build);
            stamped = true;
            break;
        }
        if (!stamped)
            return false;
    }
    // Stripping drops every resource: the stand-ins carry no other.
    HANDLE update = BeginUpdateResourceW(target.c_str(), strip);
    if (!update)
        return false;
    BOOL written = strip || UpdateResourceW(update, reinterpret_cast<LPCWSTR>(RT_VERSION), MAKEINTRESOURCEW(1),
                                            language, resource.data(), static_cast<DWORD>(resource.size()));
    return EndUpdateResourceW(update, !written) && written;
}

std::wstring OfficeInstallation::MsoPath() const
{
    if (msoPlace == MsoPlace::SharedFolder)
        return CommonFilesDir() + L"\\Microsoft Shared\\Office" + std::to_wstring(major) + L"\\MSO.DLL";
    return WithBackslash(folder) + L"MSO.DLL";
}

bool OfficeInstallation::Install() const
{
    std::wstring root = WithBackslash(folder);
    CreateFolders(folder);
    if (!WriteText(CommonKey(major) + L"\\InstallRoot", L"Path", root))
        return false;
    if (withPowerPoint &&
        !CopyWithVersion(StandInBinaryPath(L"POWERPNT.EXE"), root + L"POWERPNT.EXE", powerPointVersion))
        return false;
    if (msoPlace == MsoPlace::None)
        return true;
    std::wstring mso = MsoPath();
    if (msoPlace == MsoPlace::FilesPaths && !WriteText(CommonKey(major) + L"\\FilesPaths", L"mso.dll", mso))
        return false;
    CreateFolders(mso.substr(0, mso.rfind(L'\\')));
    return CopyWithVersion(StandInBinaryPath(L"MSO.DLL"), mso, msoVersion);
}

void OfficeInstallation::Remove() const
{
    std::wstring common = CommonKey(major);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, (common + L"\\FilesPaths").c_str(), L"mso.dll");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (common + L"\\FilesPaths").c_str());
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, (common + L"\\InstallRoot").c_str(), L"Path");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (common + L"\\InstallRoot").c_str());
    std::wstring root = WithBackslash(folder);
    DeleteFileW((root + L"POWERPNT.EXE").c_str());
    if (msoPlace != MsoPlace::None)
        DeleteFileW(MsoPath().c_str());
}

}  // namespace standin
