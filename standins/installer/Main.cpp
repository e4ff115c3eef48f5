// Stands in for the product's installer program VistelloUpdater, which
// this tree does not build yet, so that the setup program has something to
// carry and start. It does what the product asks of its installer and no
// more: with "/install" it reads the product's setup packages from the setup
// program named after it, checks every one with the update engine's package
// reader before anything is installed, installs them into the program-files
// folder through the update engine's installer (which writes "plugins.dat"
// and the history) and registers the product; with "/update /path <folder>"
// it registers the installation in that folder again, as after an update.
// Boxes tell the outcome unless "/silent" is given. Tests may have it only
// record its command line (InstallerLog.h).
// Exit codes: 0 done, 1 bad command line, 2 the setup program carries no
// product, 3 the product could not be installed, 4 registration failed,
// 5 a carried package is damaged (nothing is installed).
#include "CarriedPackages.h"
#include "InstallerCommand.h"
#include "InstallerLog.h"
#include "ProductInstall.h"

#include "base/MKSharedSecurity.h"

#include <windows.h>

#include <vector>

namespace {

enum Outcome {
    kDone = 0,
    kBadCommandLine = 1,
    kNoProduct = 2,
    kNotInstalled = 3,
    kNotRegistered = 4,
    kDamagedPackage = 5,
};

Outcome Install(const InstallerCommand& command, std::wstring& folder)
{
    std::wstring scratch = MakeScratchFolder();
    if (scratch.empty())
        return kNotInstalled;
    std::vector<std::wstring> packages;
    Outcome outcome = kDone;
    switch (UnpackCarriedPackages(command.setupPath, scratch, packages)) {
    case CarriedResult::kOk: break;
    case CarriedResult::kNone: outcome = kNoProduct; break;
    case CarriedResult::kDamaged: outcome = kDamagedPackage; break;
    case CarriedResult::kNotWritten: outcome = kNotInstalled; break;
    }
    if (outcome == kDone) {
        folder = DefaultInstallFolder();
        if (folder.empty() || (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) ||
            !InstallCarriedPackages(packages, folder) || !HoldsProduct(folder))
            outcome = kNotInstalled;
        else if (!RegisterProduct(folder))
            outcome = kNotRegistered;
    }
    RemoveDirectoryW(scratch.c_str());
    return outcome;
}

Outcome Update(const InstallerCommand& command)
{
    if (!HoldsProduct(command.folder))
        return kNoProduct;
    return RegisterProduct(command.folder) ? kDone : kNotRegistered;
}

const wchar_t* Describe(Outcome outcome)
{
    switch (outcome) {
    case kDone: return L"Vistello was installed in:\n";
    case kBadCommandLine: return L"The installer was started with a command line it does not know:\n";
    case kNoProduct: return L"The setup program carries no product. Command line:\n";
    case kNotInstalled: return L"The product could not be installed in:\n";
    case kNotRegistered: return L"The product's components could not be registered in:\n";
    case kDamagedPackage: return L"A package of the setup program is damaged; nothing was installed. Command line:\n";
    }
    return L"";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (LogInsteadOfRunning(GetCommandLineW()))
        return kDone;
    // Without shared attributes the files are made with the defaults.
    MKSharedSecurity::CreateGlobal();
    InstallerCommand command = ParseInstallerCommand(GetCommandLineW());
    std::wstring folder = command.folder;
    Outcome outcome = kBadCommandLine;
    if (command.kind == InstallerCommand::Kind::kInstall)
        outcome = Install(command, folder);
    else if (command.kind == InstallerCommand::Kind::kUpdate)
        outcome = Update(command);
    if (!command.silent) {
        bool namesCommand = outcome == kBadCommandLine || outcome == kNoProduct || outcome == kDamagedPackage;
        std::wstring text = Describe(outcome) + (namesCommand ? std::wstring(GetCommandLineW()) : folder);
        MessageBoxW(nullptr, text.c_str(), L"Vistello installer stand-in",
                    outcome == kDone ? MB_ICONINFORMATION : MB_ICONERROR);
    }
    MKSharedSecurity::DestroyGlobal();
    return outcome;
}
