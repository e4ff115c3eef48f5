#include "PlayerProcess.h"

#include <commctrl.h>

#include <vector>

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindTopWindow(HWND window, LPARAM argument)
{
    auto* search = reinterpret_cast<WindowSearch*>(argument);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId)
        return TRUE;
    wchar_t text[256];
    if (search->className && (!GetClassNameW(window, text, 256) || wcscmp(text, search->className) != 0))
        return TRUE;
    if (search->caption && (!GetWindowTextW(window, text, 256) || wcscmp(text, search->caption) != 0))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::wstring PlayerProgramPath()
{
    return PLOVA_PLAYER_EXE;
}

PlayerProcess::PlayerProcess(const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + PlayerProgramPath() + L"\" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    STARTUPINFOW startup = {sizeof startup};
    CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process);
}

PlayerProcess::~PlayerProcess()
{
    if (!m_process.hProcess)
        return;
    if (Close() == -1)
        TerminateProcess(m_process.hProcess, 1);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

HWND PlayerProcess::MainWindow()
{
    if (m_window || !m_process.hProcess)
        return m_window;
    for (int i = 0; i < 300 && !m_window; ++i) {
        WindowSearch search = {m_process.dwProcessId, L"DravoPlayerMain", nullptr, nullptr};
        EnumWindows(&FindTopWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && IsWindowVisible(search.found))
            m_window = search.found;
        else if (WaitForSingleObject(m_process.hProcess, 100) == WAIT_OBJECT_0)
            break;
    }
    return m_window;
}

bool PlayerProcess::Command(UINT id)
{
    DWORD_PTR result = 0;
    return MainWindow() &&
           SendMessageTimeoutW(MainWindow(), WM_COMMAND, id, 0, SMTO_NORMAL, 30000, &result) != 0;
}

void PlayerProcess::PostCommand(UINT id)
{
    PostMessageW(MainWindow(), WM_COMMAND, id, 0);
}

HWND PlayerProcess::ChildOfClass(HWND parent, const wchar_t* className)
{
    return parent ? FindWindowExW(parent, nullptr, className, nullptr) : nullptr;
}

std::string PlayerProcess::PaneText(int index)
{
    HWND statusBar = ChildOfClass(MainWindow(), L"msctls_statusbar32");
    if (!statusBar)
        return "<no status bar>";
    // The pane's text is copied into the player's own memory and read back.
    const SIZE_T size = 512;
    void* remote = VirtualAllocEx(m_process.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return "<no memory>";
    std::string text;
    DWORD_PTR length = 0;
    if (SendMessageTimeoutA(statusBar, SB_GETTEXTLENGTHA, WPARAM(index), 0, SMTO_NORMAL, 10000, &length) &&
        LOWORD(length) < size &&
        SendMessageTimeoutA(statusBar, SB_GETTEXTA, WPARAM(index), reinterpret_cast<LPARAM>(remote), SMTO_NORMAL,
                            10000, &length)) {
        char buffer[size] = {};
        SIZE_T read = 0;
        if (ReadProcessMemory(m_process.hProcess, remote, buffer, size - 1, &read))
            text = buffer;
    }
    VirtualFreeEx(m_process.hProcess, remote, 0, MEM_RELEASE);
    return text;
}

std::string PlayerProcess::WaitForPane(int index, const std::string& text, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    std::string last;
    do {
        last = PaneText(index);
        if (last == text)
            break;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return last;
}

HWND PlayerProcess::WaitForDialog(const wchar_t* caption)
{
    // A modal dialog shows itself once its items are filled in; until then
    // the texts read back empty.
    for (int i = 0; i < 600; ++i) {
        WindowSearch search = {m_process.dwProcessId, L"#32770", caption, nullptr};
        EnumWindows(&FindTopWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && IsWindowVisible(search.found))
            return search.found;
        Sleep(50);
    }
    return nullptr;
}

bool PlayerProcess::Responds(DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return MainWindow() && SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

long PlayerProcess::Close()
{
    if (!m_process.hProcess)
        return -1;
    if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_OBJECT_0 && MainWindow())
        PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    if (!WaitForExit(30000))
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    return long(code);
}

bool PlayerProcess::WaitForExit(DWORD timeoutMs)
{
    return m_process.hProcess && WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

std::string DialogItemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}
