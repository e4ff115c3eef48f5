#include "base/MKSystemChecks.h"

#include "base/MKDynLib.h"

namespace {

MKSystemCheckAnswers g_answers;

bool AskVistaOrLater()
{
    OSVERSIONINFOEXW wanted = {};
    wanted.dwOSVersionInfoSize = sizeof(wanted);
    wanted.dwMajorVersion = 6;
    wanted.dwMinorVersion = 0;
    ULONGLONG condition = 0;
    condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_SERVICEPACKMINOR, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&wanted,
                              VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR,
                              condition) != FALSE;
}

bool AskWow64()
{
    typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
    IsWow64ProcessFunction isWow64 = nullptr;
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"))
        MKCastProc(GetProcAddress(kernel, "IsWow64Process"), isWow64);
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

// The system's own answer, whatever a test installs.
bool SystemWow64()
{
    static const bool answer = AskWow64();
    return answer;
}

int AskOSVersionNumber()
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
            return 0;
    }
    return MKOSVersionNumberOf(info.dwMajorVersion, info.dwMinorVersion, info.wServicePackMajor, SystemWow64());
}

typedef HRESULT(WINAPI* DwmIsCompositionEnabledFunction)(BOOL*);

}  // namespace

void MKSetSystemCheckAnswers(const MKSystemCheckAnswers* answers)
{
    g_answers = answers ? *answers : MKSystemCheckAnswers();
}

bool MKIsVistaOrLater()
{
    if (g_answers.vistaOrLater >= 0)
        return g_answers.vistaOrLater != 0;
    static const bool answer = AskVistaOrLater();
    return answer;
}

bool MKIsDwmCompositionEnabled()
{
    if (g_answers.dwmCompositionEnabled >= 0)
        return g_answers.dwmCompositionEnabled != 0;
    if (!MKIsVistaOrLater())
        return false;
    // The one attempt to load dwmapi.dll; the library stays for the process.
    static MKDynLib library;
    static DwmIsCompositionEnabledFunction isEnabled =
        MKLoadProc<DwmIsCompositionEnabledFunction>(library, L"dwmapi.dll", "DwmIsCompositionEnabled");
    BOOL enabled = FALSE;
    return isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
}

int MKGetElevationType()
{
    if (g_answers.elevationType >= 0)
        return g_answers.elevationType;
    if (!MKIsVistaOrLater())
        return TokenElevationTypeDefault;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    TOKEN_ELEVATION_TYPE type = TOKEN_ELEVATION_TYPE(0);
    DWORD size = 0;
    BOOL ok = GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &size);
    CloseHandle(token);
    return ok ? int(type) : 0;
}

bool MKIsMemberOfBuiltinGroup(DWORD relativeId)
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID group = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, relativeId, 0, 0, 0, 0, 0, 0,
                                  &group))
        return false;
    BOOL member = FALSE;
    BOOL ok = CheckTokenMembership(nullptr, group, &member);
    FreeSid(group);
    return ok && member;
}

bool MKIsUserAdmin()
{
    if (g_answers.userAdmin >= 0)
        return g_answers.userAdmin != 0;
    return MKIsMemberOfBuiltinGroup(DOMAIN_ALIAS_RID_ADMINS);
}

bool MKIsWow64()
{
    if (g_answers.wow64 >= 0)
        return g_answers.wow64 != 0;
    return SystemWow64();
}

int MKGetOSVersionNumber()
{
    if (g_answers.osVersionNumber >= 0)
        return g_answers.osVersionNumber;
    static const int answer = AskOSVersionNumber();
    return answer;
}

int MKOSVersionNumberOf(DWORD major, DWORD minor, DWORD servicePackMajor, bool wow64)
{
    return int(major % 100) * 10000 + int(minor % 100) * 100 + int(servicePackMajor % 100) + (wow64 ? 1000000 : 0);
}
