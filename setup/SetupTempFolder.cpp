#include "setup/SetupTempFolder.h"

#include "base/MKPath.h"
#include "setup/UserOnlySecurity.h"

namespace {

const DWORD kTempPathCapacity = 300;
// Names taken in a row before we give up; far beyond what setups started
// together can take.
const int kMaxAttempts = 10000;

}  // namespace

MKString SetupFolderName(DWORD tick)
{
    static const wchar_t kDigits[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUV";
    wchar_t name[2 + 7 + 4 + 1] = L"vl";
    int n = 2;
    do {
        name[n++] = kDigits[tick % 32];
        tick /= 32;
    } while (tick);
    return MKString::MKStringFromChars(name, n) + L".tmp";
}

int CreateSetupFolderIn(const MKString& tempPath, DWORD tick, MKString& folder)
{
    UserOnlySecurity security;
    if (!security.Init())
        return kTempFolderNotCreated;
    MKString base = tempPath;
    MKPathAddTrailingSeparator(base);
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt, ++tick) {
        MKString candidate = base + SetupFolderName(tick);
        if (CreateDirectoryW(candidate.GetText(), security.Get())) {
            folder = candidate;
            return 0;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return kTempFolderNotCreated;
    }
    return kTempFolderNotCreated;
}

int MakeSetupTempFolder(MKString& folder)
{
    wchar_t path[kTempPathCapacity];
    DWORD length = GetTempPathW(kTempPathCapacity, path);
    // A path that does not fit comes back as the size it needs.
    if (length == 0 || length >= kTempPathCapacity)
        return kNoTempPath;
    return CreateSetupFolderIn(MKString::MKStringFromChars(path, int(length)), GetTickCount(), folder);
}
