#include "addin/update/UpdaterFolder.h"
#include "addin/update/ProgramFolder.h"
#include "addin/update/FileOperations.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKStopwatch.h"

namespace {

MKString InUpdaterFolder(const MKString& installationFolder, const wchar_t* name)
{
    return MKPathCombine(GetUpdaterFolder(installationFolder), name);
}

} // namespace

MKString GetUpdaterFolder(const MKString& installationFolder)
{
    return MKPathCombine(installationFolder, L"updater");
}

bool EnsureUpdaterFolder(const MKString& installationFolder, const MKSharedSecurity* security)
{
    return MKDirectoryExists(GetUpdaterFolder(installationFolder)) ||
        CreateFolderPath(installationFolder, L"updater", security) == 0;
}

MKString GetAddInDllPath(const MKString& installationFolder)
{
    return MKPathFull(MKPathCombine(installationFolder, L"VistelloAddIn.dll"));
}

MKString GetUpdaterAddInDllPath(const MKString& installationFolder)
{
    return MKPathFull(MKPathCombine(installationFolder, L"VistelloUpdaterAddIn.dll"));
}

MKString GetUpdaterExePath(const MKString& installationFolder)
{
    return MKPathFull(MKPathCombine(installationFolder, L"VistelloUpdater.exe"));
}

MKString GetDownloadedUpdaterPath(const MKString& installationFolder)
{
    return MKPathFull(InUpdaterFolder(installationFolder, L"VistelloUpdater.exe"));
}

MKString GetDownloadedSetupPath(const MKString& installationFolder)
{
    return MKPathFull(InUpdaterFolder(installationFolder, L"VistelloSetup.exe"));
}

MKString GetLockFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"lock.dat");
}

MKString GetCommandFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"cmd.dat");
}

MKString GetResultFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"result.dat");
}

MKString GetAutoRunFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"auto.dat");
}

MKString GetRebootFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"reboot.dat");
}

MKString GetReadyFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"ready.dat");
}

MKString GetHistoryFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"history.dat");
}

MKString GetStateFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"state.dat");
}

MKString GetJournalFilePath(const MKString& installationFolder)
{
    return InUpdaterFolder(installationFolder, L"journal.dat");
}

bool IsRebootFilePresent(const MKString& installationFolder)
{
    return MKPathAccess(GetRebootFilePath(installationFolder), 4) == MKPathAccessible;
}

void DeleteInstallerPrograms(const MKString& installationFolder, int limitMs)
{
    // The programs are started from the user's own program folder; older
    // versions started them from the updater folder.
    MKString programs[] = {GetDownloadedUpdaterPath(installationFolder), GetDownloadedSetupPath(installationFolder),
                           GetProgramFolderUpdaterPath(), GetProgramFolderSetupPath()};
    const int count = sizeof(programs) / sizeof(programs[0]);
    bool remaining[count];
    for (int i = 0; i < count; ++i)
        remaining[i] = !programs[i].IsEmpty() && MKFileExists(programs[i]);
    MKStopwatch watch(true);
    for (;;) {
        bool left = false;
        for (int i = 0; i < count; ++i) {
            if (remaining[i] && DeleteFileW(programs[i].GetText()))
                remaining[i] = false;
            left = left || remaining[i];
        }
        if (!left || watch.ElapsedMs() >= limitMs)
            return;
        Sleep(100);
    }
}
