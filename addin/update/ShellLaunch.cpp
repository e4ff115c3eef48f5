#include "addin/update/ShellLaunch.h"
#include "addin/update/ProcessLaunch.h"
#include "base/MKDynLib.h"
#include "base/MKSystemChecks.h"

namespace {

ShellLaunch::ExecuteFunction g_testExecute = nullptr;

bool NeedsElevationVerb()
{
    return MKIsVistaOrLater() && !MKIsUserAdmin();
}

} // namespace

ShellLaunch::ShellLaunch() : m_info()
{
    m_info.cbSize = sizeof(m_info);
}

ShellLaunch::~ShellLaunch()
{
    CloseProcess();
}

void ShellLaunch::SetExecuteForTesting(ExecuteFunction execute)
{
    g_testExecute = execute;
}

void ShellLaunch::CloseProcess()
{
    if (m_info.hProcess)
        CloseHandle(m_info.hProcess);
    m_info = SHELLEXECUTEINFOW();
    m_info.cbSize = sizeof(m_info);
}

int ShellLaunch::Run(const MKString& program, const MKString& arguments, bool elevate)
{
    CloseProcess();
    m_program = CleanProgramPath(program);
    m_arguments = arguments;
    m_info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
    m_info.lpVerb = elevate && NeedsElevationVerb() ? L"runas" : nullptr;
    m_info.lpFile = m_program.GetText();
    m_info.lpParameters = m_arguments.GetText();
    m_info.nShow = SW_SHOWNORMAL;
    MKDynLib shell;
    ExecuteFunction execute = g_testExecute;
    if (!execute)
        execute = MKLoadProc<ExecuteFunction>(shell, L"shell32.dll", "ShellExecuteExW");
    if (!execute)
        return ShellLaunchFailed;
    SetLastError(0);
    if (!execute(&m_info))
        return GetLastError() == ERROR_CANCELLED ? ShellLaunchCancelled : ShellLaunchFailed;
    return m_info.hProcess || GetLastError() == 0 ? ShellLaunchStarted : ShellLaunchFailed;
}
