#include "setup/SetupTestSupport.h"

#include <windows.h>
#include <shellapi.h>

std::wstring StampedSetup(const std::wstring& folder, const wchar_t* fileName, const wchar_t* payloadFixture)
{
    std::wstring target = folder + L"\\" + fileName;
    std::wstring source = std::wstring(VISTELLO_OUT_BIN) + L"\\VistelloSetup.exe";
    std::vector<unsigned char> payload = ReadBytes(std::wstring(VISTELLO_FIXTURES) + L"\\" + payloadFixture);
    if (payload.empty() || !CopyFileW(source.c_str(), target.c_str(), FALSE))
        return std::wstring();
    HANDLE update = BeginUpdateResourceW(target.c_str(), FALSE);
    if (!update)
        return std::wstring();
    BOOL written = UpdateResourceW(update, L"BIN", MAKEINTRESOURCEW(500), kPayloadLanguage, payload.data(),
                                   DWORD(payload.size()));
    if (!EndUpdateResourceW(update, !written) || !written)
        return std::wstring();
    return target;
}

std::vector<unsigned char> ReadBytes(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD got = 0;
    if (size && (!ReadFile(file, bytes.data(), size, &got, nullptr) || got != size))
        bytes.clear();
    CloseHandle(file);
    return bytes;
}

EchoRecord ReadEchoRecord(const std::wstring& path)
{
    EchoRecord record;
    std::vector<unsigned char> bytes = ReadBytes(path);
    if (bytes.empty())
        return record;
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    size_t split = text.find(L'\n');
    if (split == std::wstring::npos)
        return record;
    record.present = true;
    record.installerPath = text.substr(0, split);
    record.commandLine = text.substr(split + 1);
    return record;
}

std::vector<std::wstring> SplitArguments(const std::wstring& commandLine)
{
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** split = CommandLineToArgvW(commandLine.c_str(), &count);
    for (int i = 0; split && i < count; ++i)
        arguments.push_back(split[i]);
    LocalFree(split);
    return arguments;
}

bool IsEmptyFolder(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool empty = true;
    do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            empty = false;
    } while (empty && FindNextFileW(find, &entry));
    FindClose(find);
    return empty;
}

namespace {

const wchar_t* const kTempNames[2] = {L"TMP", L"TEMP"};

}  // namespace

TempVariables::TempVariables(const std::wstring& path)
{
    for (int i = 0; i < 2; ++i) {
        wchar_t value[1024];
        DWORD n = GetEnvironmentVariableW(kTempNames[i], value, 1024);
        saved_[i] = n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
        SetEnvironmentVariableW(kTempNames[i], path.c_str());
    }
}

TempVariables::~TempVariables()
{
    for (int i = 0; i < 2; ++i)
        SetEnvironmentVariableW(kTempNames[i], saved_[i].empty() ? nullptr : saved_[i].c_str());
}
