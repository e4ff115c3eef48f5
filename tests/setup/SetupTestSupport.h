#pragma once
#include <string>
#include <vector>

// The installer payload language that VistelloSetup carries its payload in.
const unsigned short kPayloadLanguage = 0;

// A copy of the built VistelloSetup.exe at folder\fileName whose resource
// "BIN" 500 holds the bytes of a payload fixture instead; empty on failure.
std::wstring StampedSetup(const std::wstring& folder, const wchar_t* fileName, const wchar_t* payloadFixture);

std::vector<unsigned char> ReadBytes(const std::wstring& path);

// What the echo installer wrote: its own path and its command line.
struct EchoRecord {
    bool present = false;
    std::wstring installerPath;
    std::wstring commandLine;
};
EchoRecord ReadEchoRecord(const std::wstring& path);

// The arguments of a command line as the usual split gives them.
std::vector<std::wstring> SplitArguments(const std::wstring& commandLine);

// Whether the folder exists and holds no entry.
bool IsEmptyFolder(const std::wstring& path);

// Points TMP and TEMP of this process at a folder for its lifetime.
class TempVariables {
public:
    explicit TempVariables(const std::wstring& path);
    ~TempVariables();
    TempVariables(const TempVariables&) = delete;
    TempVariables& operator=(const TempVariables&) = delete;

private:
    std::wstring saved_[2];
};
