#include "CarriedPackages.h"

#include "addin/update/ReadyRecord.h"
#include "addin/update/UpdateInstaller.h"
#include "addin/update/UpdatePackage.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKSharedSecurity.h"

#include <windows.h>

namespace {

const int kFirstPackage = 1000;
const int kLastPackage = 1005;
const int32_t kInstallUpdate = 1;
const int32_t kSetupInstalled = 1;
const int32_t kMethodInstaller = 4;

bool WriteWhole(const std::wstring& path, const void* data, DWORD size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, data, size, &written, nullptr) && written == size;
    return CloseHandle(file) && ok;
}

bool IsSound(const std::wstring& path)
{
    UpdatePackage package;
    if (package.Open(MKString(path.c_str())) != UpdatePackageOk || !package.IsSigned())
        return false;
    for (int i = 0; i < package.GetItemCount(); ++i) {
        const PackageItem& item = *package.GetItem(i);
        if (!item.HasData() || !item.digest.IsSha1())
            return false;
    }
    return package.VerifyItems();
}

void DeleteAll(std::vector<std::wstring>& paths)
{
    for (const std::wstring& path : paths)
        DeleteFileW(path.c_str());
    paths.clear();
}

// Moves each package to the name the ready record gives it in the updater
// folder and lists it there.
bool MakeReadyRecord(const std::vector<std::wstring>& paths, ReadyRecord& record)
{
    for (const std::wstring& path : paths) {
        UpdatePackage package;
        if (package.Open(MKString(path.c_str())) != UpdatePackageOk)
            return false;
        ReadySetup* setup = new ReadySetup(&record);
        setup->name = package.GetName();
        setup->guid = package.GetGuid();
        setup->version = package.GetVersion();
        setup->size = package.GetFileSize();
        setup->setupType = kSetupInstalled;
        if (record.GetSetupCount() == 0)
            record.version = package.GetVersion();
        MKString target = setup->GetPackagePath();
        if (!record.AddSetup(setup) ||
            !MoveFileExW(path.c_str(), target.GetText(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING))
            return false;
    }
    record.updateType = kInstallUpdate;
    record.dateTime = MKDateTime::UtcNow();
    return WriteReadyFile(record.GetInstallationFolder(), MKSharedSecurity::Global(), record);
}

bool RunUpdateInstaller(const MKString& folder)
{
    UpdateInstaller installer(folder);
    if (!installer.Prepare() || installer.IsComplete() || !installer.Verify())
        return false;
    installer.PlanBackups();
    if (installer.InstallSetups() != InstallSetupsOk)
        return false;
    if (!installer.ApplyBackups()) {
        installer.DiscardStaged();
        return false;
    }
    return installer.CommitStaged() && installer.RecordInstallation(true, kMethodInstaller, false, MKString(), MKString());
}

}  // namespace

CarriedResult UnpackCarriedPackages(const std::wstring& setupPath, const std::wstring& folder,
                                    std::vector<std::wstring>& paths)
{
    paths.clear();
    HMODULE setup = LoadLibraryExW(setupPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!setup)
        return CarriedResult::kNone;
    CarriedResult result = CarriedResult::kOk;
    for (int id = kFirstPackage; id <= kLastPackage && result == CarriedResult::kOk; ++id) {
        HRSRC found = FindResourceW(setup, MAKEINTRESOURCEW(id), L"BIN");
        if (!found)
            break;
        HGLOBAL loaded = LoadResource(setup, found);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        // Listed first, so that a partly written file goes too.
        paths.push_back(folder + L"\\" + std::to_wstring(id) + L".vlx");
        if (!data || !WriteWhole(paths.back(), data, SizeofResource(setup, found)))
            result = CarriedResult::kNotWritten;
        else if (!IsSound(paths.back()))
            result = CarriedResult::kDamaged;
    }
    FreeLibrary(setup);
    if (result == CarriedResult::kOk && paths.empty())
        result = CarriedResult::kNone;
    if (result != CarriedResult::kOk)
        DeleteAll(paths);
    return result;
}

bool InstallCarriedPackages(const std::vector<std::wstring>& paths, const std::wstring& installationFolder)
{
    MKString folder(installationFolder.c_str());
    if (!EnsureUpdaterFolder(folder, MKSharedSecurity::Global()))
        return false;
    bool installed = false;
    {
        ReadyRecord record(folder);
        installed = MakeReadyRecord(paths, record) && RunUpdateInstaller(folder);
        // Packages the installer did not take into "setups", and the record.
        record.DeleteAll();
    }
    for (const std::wstring& path : paths)
        DeleteFileW(path.c_str());
    return installed;
}
