#include "InstallerCommand.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

bool Is(const std::wstring& argument, const wchar_t* name)
{
    return lstrcmpiW(argument.c_str(), name) == 0;
}

}  // namespace

InstallerCommand ParseInstallerCommand(const std::wstring& commandLine)
{
    InstallerCommand command;
    int count = 0;
    wchar_t** split = CommandLineToArgvW(commandLine.c_str(), &count);
    if (!split)
        return command;
    std::vector<std::wstring> arguments(split + (count > 0 ? 1 : 0), split + count);
    LocalFree(split);

    bool install = false, update = false, valid = true;
    for (size_t i = 0; i < arguments.size() && valid; ++i) {
        const std::wstring& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (Is(argument, L"/install") && hasValue) {
            install = true;
            command.setupPath = arguments[++i];
        } else if (Is(argument, L"/source") && hasValue) {
            command.source = arguments[++i];
        } else if (Is(argument, L"/path") && hasValue) {
            command.folder = arguments[++i];
        } else if (Is(argument, L"/update")) {
            update = true;
        } else if (Is(argument, L"/silent")) {
            command.silent = true;
        } else if (Is(argument, L"/from_updater")) {
            command.fromUpdater = true;
        } else {
            valid = false;
        }
    }
    if (valid && install && !update)
        command.kind = InstallerCommand::Kind::kInstall;
    else if (valid && update && !install && !command.folder.empty())
        command.kind = InstallerCommand::Kind::kUpdate;
    return command;
}
