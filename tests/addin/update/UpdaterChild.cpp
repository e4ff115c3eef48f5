#include "UpdaterChild.h"
#include "InstallerRun.h"

#include "addin/update/UpdaterLock.h"
#include "base/MKFile.h"

#include <gtest/gtest.h>

#include <windows.h>

ChildProcessResult RunUpdaterChild(const std::wstring& task, const std::wstring& folder,
                                   const std::wstring& argument)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) +
        L"\" --gtest_filter=UpdaterChild.DISABLED_Run --gtest_also_run_disabled_tests";
    return RunChildProcess(line, {{L"VISTELLO_CHILD_TASK", task},
                                  {L"VISTELLO_CHILD_FOLDER", folder},
                                  {L"VISTELLO_CHILD_ARGUMENT", argument}});
}

UpdaterChild::UpdaterChild(const std::wstring& task, const std::wstring& folder, const std::wstring& argument)
    : m_thread([this, task, folder, argument] { m_result = RunUpdaterChild(task, folder, argument); })
{
}

const ChildProcessResult& UpdaterChild::Join()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_result;
}

bool WaitForFlag(const std::wstring& path)
{
    for (int i = 0; i < 3000; ++i) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(10);
    }
    return false;
}

void SetFlag(const std::wstring& path)
{
    MKWriteFile(path.c_str(), "", 0);
}

namespace {

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[2048] = L"";
    GetEnvironmentVariableW(name, value, 2048);
    return value;
}

// Holds the updater lock, or a file without sharing, until told to let go.
void Hold(const std::wstring& folder, const std::wstring& file)
{
    UpdaterLock lock(folder.c_str());
    HANDLE held = INVALID_HANDLE_VALUE;
    if (file.empty()) {
        if (!lock.Acquire())
            ExitProcess(2);
    } else {
        held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (held == INVALID_HANDLE_VALUE)
            ExitProcess(2);
    }
    SetFlag(folder + L"\\held.flag");
    if (!WaitForFlag(folder + L"\\release.flag"))
        ExitProcess(3);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    lock.Release();
}

// Takes and gives up the lock again and again while another process probes
// it; the exit code counts the takes that failed.
int Contend(const std::wstring& folder)
{
    if (!WaitForFlag(folder + L"\\probe.flag"))
        return 100;
    UpdaterLock lock(folder.c_str());
    int failures = 0;
    for (int i = 0; i < 300; ++i) {
        if (!lock.Acquire()) {
            ++failures;
            continue;
        }
        lock.Release();
    }
    SetFlag(folder + L"\\contend.flag");
    return failures;
}

void Probe(const std::wstring& folder)
{
    UpdaterLock lock(folder.c_str());
    SetFlag(folder + L"\\probe.flag");
    for (int i = 0; i < 100000 && GetFileAttributesW((folder + L"\\contend.flag").c_str()) == INVALID_FILE_ATTRIBUTES;
         ++i)
        lock.IsLocked();
}

}  // namespace

// Not a test: the body of the helper process.
TEST(UpdaterChild, DISABLED_Run)
{
    std::wstring task = Variable(L"VISTELLO_CHILD_TASK");
    std::wstring folder = Variable(L"VISTELLO_CHILD_FOLDER");
    std::wstring argument = Variable(L"VISTELLO_CHILD_ARGUMENT");
    int code = 0;
    if (task == L"hold-lock")
        Hold(folder, std::wstring());
    else if (task == L"hold-file")
        Hold(folder, argument);
    else if (task == L"contend")
        code = Contend(folder);
    else if (task == L"probe")
        Probe(folder);
    else if (task == L"install")
        code = RunInstallerChild(folder, argument);
    else
        code = 50;
    fflush(stdout);
    ExitProcess(code);
}
