// VistelloTrampoline.exe: registers or unregisters itself on request,
// otherwise serves its class until it has been idle for a while.
#include "companions/trampoline/TrampolineRegistration.h"
#include "companions/trampoline/TrampolineServer.h"

#include "base/MKCommandLine.h"
#include "base/MKCrashGuard.h"
#include "base/MKSeh.h"

#include <objbase.h>

namespace {

enum class TrampolineCommand { kServe, kRegister, kUnregister, kRegisterPerUser, kUnregisterPerUser };

TrampolineCommand ReadCommand(const wchar_t* commandLine)
{
    MKCommandLine parsed;
    parsed.slashOptions = true;
    parsed.letterGroups = false;
    if (!parsed.Parse(commandLine))
        return TrampolineCommand::kServe;
    struct Switch {
        const wchar_t* name;
        TrampolineCommand command;
    };
    const Switch switches[] = {
        {L"RegServer", TrampolineCommand::kRegister},
        {L"UnregServer", TrampolineCommand::kUnregister},
        {L"RegServerPerUser", TrampolineCommand::kRegisterPerUser},
        {L"UnregServerPerUser", TrampolineCommand::kUnregisterPerUser},
    };
    for (const Switch& option : switches) {
        if (parsed.FindOption(option.name, true) > 0)
            return option.command;
    }
    return TrampolineCommand::kServe;
}

int RunModule(const wchar_t* commandLine)
{
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    int exitCode = 0;
    TrampolineCommand command = ReadCommand(commandLine);
    if (command == TrampolineCommand::kServe) {
        TrampolineServer server;
        exitCode = server.Run();
    } else {
        wchar_t path[MAX_PATH];
        DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        MKString programPath = length && length < MAX_PATH ? MKString::MKStringFromChars(path, length) : MKString();
        bool perUser = command == TrampolineCommand::kRegisterPerUser ||
                       command == TrampolineCommand::kUnregisterPerUser;
        bool ok = command == TrampolineCommand::kRegister || command == TrampolineCommand::kRegisterPerUser
                      ? RegisterTrampoline(programPath, perUser)
                      : UnregisterTrampoline(perUser);
        exitCode = ok ? 0 : 1;
    }
    CoUninitialize();
    return exitCode;
}

}  // namespace

int TrampolineWinMain(const wchar_t* commandLine)
{
    MKSehModuleInit();
    MKSehInstall(nullptr);
    static MKExceptionInfo s_info;
    int exitCode = MKCrashGuard(s_info, 1, [&] { return RunModule(commandLine); });
    MKUninstallSehTranslator();
    MKSehModuleTerm();
    return exitCode;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return TrampolineWinMain(GetCommandLineW());
}
