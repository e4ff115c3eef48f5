#include "InstallerRun.h"

#include "addin/update/FileCalls.h"
#include "addin/update/UpdateInstaller.h"

#include <windows.h>

int RunInstallation(const MKString& folder, const std::function<void(int step)>& afterStep)
{
    UpdateInstaller installer(folder);
    const std::function<bool()> steps[] = {
        [&] { return installer.Prepare(); },
        [&] { return installer.Verify(); },
        [&] {
            installer.PlanBackups();
            return true;
        },
        [&] { return installer.InstallSetups() == InstallSetupsOk; },
        [&] { return installer.ApplyBackups(); },
        [&] { return installer.CommitStaged(); },
        [&] { return installer.RecordInstallation(true, 1, false, MKString(), MKString()); },
        [&] {
            installer.DeleteAll();
            return true;
        },
    };
    int done = 0;
    for (const auto& step : steps) {
        if (!step()) {
            if (done >= 3 && done < 6)
                installer.DiscardStaged();
            return done;
        }
        ++done;
        if (afterStep)
            afterStep(done);
    }
    return done;
}

namespace {

int g_killAt = 0;
int g_calls = 0;

void CountAndMaybeDie()
{
    if (++g_calls == g_killAt)
        TerminateProcess(GetCurrentProcess(), kKilledExitCode);
}

BOOL WINAPI KillingMove(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    CountAndMaybeDie();
    return MoveFileExW(from, to, flags);
}

BOOL WINAPI KillingWrite(HANDLE file, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED overlapped)
{
    CountAndMaybeDie();
    return WriteFile(file, data, n, written, overlapped);
}

const FileCalls kKillAtMove = {KillingMove, DeleteFileW, CreateDirectoryW, WriteFile};
const FileCalls kKillAtWrite = {MoveFileExW, DeleteFileW, CreateDirectoryW, KillingWrite};

}  // namespace

int RunInstallerChild(const std::wstring& folder, const std::wstring& argument)
{
    size_t colon = argument.find(L':');
    std::wstring kind = argument.substr(0, colon);
    int number = _wtoi(argument.c_str() + colon + 1);
    if (kind == L"move" || kind == L"write") {
        g_killAt = number;
        SetFileCallsForTesting(kind == L"move" ? &kKillAtMove : &kKillAtWrite);
    }
    int done = RunInstallation(folder.c_str(), [&](int step) {
        if (kind == L"step" && step == number)
            TerminateProcess(GetCurrentProcess(), kKilledExitCode);
    });
    return done == kInstallationSteps ? 0 : 10 + done;
}
