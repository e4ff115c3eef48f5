#include "tests/standins/controlsupport/ControlLogFile.h"

#include <windows.h>

ControlLogFile::ControlLogFile()
{
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"ctl", 0, path);
    m_path = path;
    SetEnvironmentVariableW(L"VISTELLO_CONTROL_LOG", m_path.c_str());
}

ControlLogFile::~ControlLogFile()
{
    SetEnvironmentVariableW(L"VISTELLO_CONTROL_LOG", nullptr);
    DeleteFileW(m_path.c_str());
}

std::vector<std::wstring> ControlLogFile::Lines(const std::vector<std::wstring>& omit) const
{
    std::vector<std::wstring> lines;
    HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lines;
    std::string bytes;
    char buffer[16384];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        start = end == std::wstring::npos ? text.size() : end + 1;
        bool omitted = false;
        for (const std::wstring& part : omit)
            omitted = omitted || line.find(part) != std::wstring::npos;
        if (!omitted)
            lines.push_back(line);
    }
    return lines;
}

bool ControlLogFile::Contains(const std::wstring& text) const
{
    for (const std::wstring& line : Lines()) {
        if (line.find(text) != std::wstring::npos)
            return true;
    }
    return false;
}

void ControlLogFile::Clear() const
{
    HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

void ReplaceQuoted(std::vector<std::wstring>& lines, const std::wstring& text, const std::wstring& replacement)
{
    std::wstring quoted;
    for (wchar_t c : text)
        quoted += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
    for (std::wstring& line : lines) {
        for (size_t at = line.find(quoted); at != std::wstring::npos; at = line.find(quoted, at + replacement.size()))
            line.replace(at, quoted.size(), replacement);
    }
}

bool PumpUntil(const std::function<bool()>& done, unsigned milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start > milliseconds)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
