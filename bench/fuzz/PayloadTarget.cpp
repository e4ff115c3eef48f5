// The installer payload the setup program carries, unpacked into a scratch
// file as the setup does before it starts the installer.
#include <windows.h>

#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "setup/SetupPayload.h"

namespace {

void AddSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    AddSeedFilesMatching(fixtures, L"setup_payload_*.bin", "payload", seeds);
}

void Run(const FuzzInput& input)
{
    const std::wstring path = FuzzScratchFile(L"installer.exe");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    UnpackPayload(input.bytes.data(), DWORD(input.bytes.size()), file);
    CloseHandle(file);
}

}  // namespace

const FuzzTarget& SetupPayloadTarget()
{
    static const FuzzTarget target = {"setup-payload", AddSeeds, Run, nullptr};
    return target;
}
