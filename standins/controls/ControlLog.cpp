#include "standins/controls/ControlLog.h"

#include <cstdio>

namespace standin {

std::wstring ControlLog::Path()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"VISTELLO_CONTROL_LOG", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return path;
    length = GetTempPathW(MAX_PATH, path);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    return folder + L"vistello-controls.log";
}

void ControlLog::Write(const wchar_t* control, const std::wstring& line)
{
    std::wstring text = std::wstring(control) + L" " + line + L"\n";
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    HANDLE file = CreateFileW(Path().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring Quote(const wchar_t* text)
{
    if (!text)
        return L"null";
    std::wstring quoted = L"\"";
    for (const wchar_t* c = text; *c; ++c) {
        if (*c == L'\\' || *c == L'"') {
            quoted += L'\\';
            quoted += *c;
        } else if (*c < 0x20) {
            wchar_t escape[8];
            swprintf(escape, 8, L"\\x%02X", static_cast<unsigned>(*c));
            quoted += escape;
        } else {
            quoted += *c;
        }
    }
    return quoted + L"\"";
}

std::wstring Hex(HRESULT value)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%08X", static_cast<unsigned>(value));
    return text;
}

std::wstring VariantText(const VARIANT& value)
{
    switch (value.vt) {
    case VT_ERROR:
        return value.scode == DISP_E_PARAMNOTFOUND ? L"missing" : L"ERROR " + Hex(value.scode);
    case VT_I4:
        return L"I4 " + std::to_wstring(value.lVal);
    case VT_BOOL:
        return value.boolVal ? L"BOOL true" : L"BOOL false";
    case VT_BSTR:
        return L"BSTR " + Quote(value.bstrVal);
    case VT_EMPTY:
        return L"empty";
    default:
        return L"vt " + std::to_wstring(value.vt);
    }
}

std::wstring RectText(const RECT& rect)
{
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," + std::to_wstring(rect.right) + L"," +
           std::to_wstring(rect.bottom);
}

}  // namespace standin
