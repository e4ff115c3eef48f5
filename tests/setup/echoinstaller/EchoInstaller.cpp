// An installer program for the setup tests. It writes its own path and its
// command line, as UTF-16 separated by a line feed, to the file named by
// VISTELLO_ECHO_RECORD and ends with the exit code in VISTELLO_ECHO_EXIT (0
// when unset). With VISTELLO_ECHO_HOLD=<name> it then sets the event
// "<name>_started" and waits up to 60 s for "<name>_release", so that a test
// can look at it while it runs.
#include <windows.h>

#include <string>

namespace {

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[1024];
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

void WriteRecord(const std::wstring& path)
{
    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring record = std::wstring(self, n) + L"\n" + GetCommandLineW();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, record.data(), DWORD(record.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
}

void Hold(const std::wstring& name)
{
    HANDLE started = OpenEventW(EVENT_MODIFY_STATE, FALSE, (name + L"_started").c_str());
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, (name + L"_release").c_str());
    if (started)
        SetEvent(started);
    if (release)
        WaitForSingleObject(release, 60000);
    if (started)
        CloseHandle(started);
    if (release)
        CloseHandle(release);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::wstring record = Variable(L"VISTELLO_ECHO_RECORD");
    if (!record.empty())
        WriteRecord(record);
    std::wstring hold = Variable(L"VISTELLO_ECHO_HOLD");
    if (!hold.empty())
        Hold(hold);
    return _wtoi(Variable(L"VISTELLO_ECHO_EXIT").c_str());
}
