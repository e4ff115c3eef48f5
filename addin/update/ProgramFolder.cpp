#include "addin/update/ProgramFolder.h"
#include "base/MKPath.h"
#include "base/MKSpecialFolders.h"
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

namespace {

// The current user's SID as text; empty when the token cannot be read.
MKString CurrentUserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return MKString();
    union {
        TOKEN_USER user;
        BYTE bytes[256];
    } buffer;
    DWORD length = 0;
    MKString text;
    wchar_t* sid = nullptr;
    if (GetTokenInformation(token, TokenUser, &buffer, sizeof(buffer), &length) &&
        ConvertSidToStringSidW(buffer.user.User.Sid, &sid)) {
        text = sid;
        LocalFree(sid);
    }
    CloseHandle(token);
    return text;
}

// Full control for the user, the administrators and the system, inherited by
// what the folder holds; nothing inherited from above.
bool MakePrivate(const MKString& folder, bool create)
{
    MKString sid = CurrentUserSid();
    if (sid.IsEmpty())
        return false;
    MKString sddl = MKString(L"D:P(A;OICI;FA;;;") + sid + L")(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.GetText(), SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    bool made = false;
    if (create) {
        SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
        made = CreateDirectoryW(folder.GetText(), &attributes) != 0;
    } else {
        made = SetFileSecurityW(folder.GetText(), DACL_SECURITY_INFORMATION, descriptor) != 0;
    }
    LocalFree(descriptor);
    return made;
}

MKString ProgramFolderPath()
{
    MKString local = MKGetSpecialFolder(CSIDL_LOCAL_APPDATA);
    return local.IsEmpty() ? local : MKPathCombine(MKPathCombine(local, L"Vistello"), L"Update");
}

MKString ProgramPath(const wchar_t* name)
{
    MKString folder = ProgramFolderPath();
    return folder.IsEmpty() ? folder : MKPathCombine(folder, name);
}

} // namespace

MKString EnsureProgramFolder()
{
    MKString folder = ProgramFolderPath();
    if (folder.IsEmpty())
        return folder;
    MKString parent = MKPathDirectory(folder);
    if (!CreateDirectoryW(parent.GetText(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return MKString();
    DWORD attributes = GetFileAttributesW(folder.GetText());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (attributes != INVALID_FILE_ATTRIBUTES && !exists)
        return MKString();
    return MakePrivate(folder, !exists) ? folder : MKString();
}

MKString GetProgramFolderUpdaterPath()
{
    return ProgramPath(L"VistelloUpdater.exe");
}

MKString GetProgramFolderSetupPath()
{
    return ProgramPath(L"VistelloSetup.exe");
}
