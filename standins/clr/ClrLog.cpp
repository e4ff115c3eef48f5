#include "standins/clr/ClrLog.h"

#include <stdio.h>

namespace standin_clr {

std::wstring ClrLog::Setting(const wchar_t* name)
{
    wchar_t buffer[4096];
    DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
    if (length == 0 || length >= 4096)
        return std::wstring();
    return std::wstring(buffer, length);
}

void ClrLog::Note(const std::wstring& line)
{
    std::wstring path = Setting(L"VISTELLO_CLR_LOG");
    if (path.empty())
        return;
    FILE* file = _wfopen(path.c_str(), L"ab");
    if (!file)
        return;
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), text.data(), size, nullptr,
                        nullptr);
    text += '\n';
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

bool ClrLog::IsFailing(const std::wstring& call)
{
    std::wstring list = L"," + Setting(L"VISTELLO_CLR_FAIL") + L",";
    return list.find(L"," + call + L",") != std::wstring::npos;
}

HRESULT ClrLog::Enter(const std::wstring& line)
{
    Note(line);
    size_t end = line.find_first_of(L" (");
    return IsFailing(line.substr(0, end)) ? E_FAIL : S_OK;
}

std::wstring Hex(const void* pointer)
{
    wchar_t text[16];
    swprintf(text, 16, L"%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(pointer)));
    return text;
}

}  // namespace standin_clr
