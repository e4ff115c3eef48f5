// Stand-in for the product's installer program, which this tree does not
// build yet, so that the setup program has something to carry and start.
// It does what the product asks of its installer and no more: with
// "/install" it copies the product's files (from "/source", else from beside
// the setup program) into the program-files folder and registers them; with
// "/update /path <folder>" it registers the installation in that folder
// again, as after an update. Boxes tell the outcome unless "/silent" is given.
// Tests may have it only record its command line (InstallerLog.h).
// Exit codes: 0 done, 1 bad command line, 2 no product at the source,
// 3 files not copied, 4 registration failed.
#include "InstallerCommand.h"
#include "InstallerLog.h"
#include "ProductInstall.h"

#include <windows.h>

namespace {

enum Outcome { kDone = 0, kBadCommandLine = 1, kNoProduct = 2, kNotCopied = 3, kNotRegistered = 4 };

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring NameOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

Outcome Install(const InstallerCommand& command, std::wstring& folder)
{
    std::wstring source = command.source.empty() ? FolderOf(command.setupPath) : command.source;
    if (!HoldsProduct(source))
        return kNoProduct;
    folder = DefaultInstallFolder();
    if (folder.empty() || !CopyProductFiles(source, folder, NameOf(command.setupPath)) ||
        !MakeUpdaterFolder(folder))
        return kNotCopied;
    return RegisterProduct(folder) ? kDone : kNotRegistered;
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
    case kNoProduct: return L"The product's files were not found. Command line:\n";
    case kNotCopied: return L"The product's files could not be copied into:\n";
    case kNotRegistered: return L"The product's components could not be registered in:\n";
    }
    return L"";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (LogInsteadOfRunning(GetCommandLineW()))
        return kDone;
    InstallerCommand command = ParseInstallerCommand(GetCommandLineW());
    std::wstring folder = command.folder;
    Outcome outcome = kBadCommandLine;
    if (command.kind == InstallerCommand::Kind::kInstall)
        outcome = Install(command, folder);
    else if (command.kind == InstallerCommand::Kind::kUpdate)
        outcome = Update(command);
    if (!command.silent) {
        std::wstring text = Describe(outcome) + (outcome == kBadCommandLine || outcome == kNoProduct
                                                     ? std::wstring(GetCommandLineW()) : folder);
        MessageBoxW(nullptr, text.c_str(), L"Vistello installer stand-in",
                    outcome == kDone ? MB_ICONINFORMATION : MB_ICONERROR);
    }
    return outcome;
}
