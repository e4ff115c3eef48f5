#include "ScratchInstallation.h"

#include <objbase.h>

namespace {

void CopyTree(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + L"\\" + name, to + L"\\" + name);
        else
            CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void DeleteTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

ScratchInstallation::ScratchInstallation(const std::wstring& installation)
{
    static int s_made = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + L"vistello-install-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++s_made);
    DeleteTree(m_folder);
    CreateDirectoryW(m_folder.c_str(), nullptr);
    DWORD attributes = GetFileAttributesW((std::wstring(VISTELLO_FIXTURES) + L"\\install\\" + installation).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        CopyTree(std::wstring(VISTELLO_FIXTURES) + L"\\install\\" + installation, m_folder);
    std::wstring library = m_folder + L"\\VistelloAddIn.dll";
    CopyFileW(AddInLibrary::Path().c_str(), library.c_str(), FALSE);
    RemoveAddInRegistration();
    m_library = std::make_unique<AddInLibrary>(library);
    m_registered = m_library->RegisterServer();
}

ScratchInstallation::~ScratchInstallation()
{
    RemoveAddInRegistration();
    m_library.reset();
    CoFreeUnusedLibrariesEx(0, 0);
    DeleteTree(m_folder);
}
