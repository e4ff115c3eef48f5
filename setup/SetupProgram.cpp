#include "setup/SetupProgram.h"

#include "setup/BusyCursor.h"
#include "setup/InstallerLaunch.h"
#include "setup/SetupTempFolder.h"
#include "setup/UnpackedInstaller.h"

namespace {

const DWORD kModulePathCapacity = 300;

int SetupMain(SetupCommandLine& options)
{
    // Options first, so that "/silent" holds for every failure.
    options.Parse(GetCommandLineW());
    HMODULE module = GetModuleHandleW(nullptr);
    if (!module)
        return kNoModuleHandle;
    DismissBusyCursor(module);
    wchar_t path[kModulePathCapacity];
    DWORD length = GetModuleFileNameW(nullptr, path, kModulePathCapacity);
    // A path that fills the buffer was cut.
    if (length == 0 || length >= kModulePathCapacity)
        return kNoModulePath;
    return RunSetup(module, MKString::MKStringFromChars(path, int(length)), options);
}

}  // namespace

int RunSetup(HMODULE module, const MKString& setupPath, SetupCommandLine& options)
{
    MKString folder;
    int result = MakeSetupTempFolder(folder);
    if (result != 0)
        return result;
    {
        UnpackedInstaller installer;
        result = installer.Extract(module, kInstallerPayloadId, setupPath, folder);
        if (result == 0)
            result = RunInstaller(installer.Path(), setupPath, options);
    }
    // Fails, leaving the folder, only when the installer left files in it.
    RemoveDirectoryW(folder.GetText());
    return result;
}

void ReportSetupFailure(int code, const SetupCommandLine& options, SetupErrorReporter& reporter)
{
    if (code == 0 || options.silent || options.installerFailed)
        return;
    MKString text = MKString::FromFormat(L"An unexpected error occurred. (error %d)", code);
    reporter.ShowError(text.GetText(), L"Setup - ");
}

int SetupEntry(SetupErrorReporter& reporter)
{
    SetupCommandLine options;
    int result = SetupMain(options);
    ReportSetupFailure(result, options, reporter);
    return result;
}
