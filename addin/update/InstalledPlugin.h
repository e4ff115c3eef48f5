#pragma once
#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

class FileOperationSet;
class ModulePackage;
class UpdatePackage;

// One installed setup of "plugins.dat": its identity, where its main module
// package lies (relative to the installation folder) and when it was installed
// and last updated. Owns the module and setup packages it opens, which stay
// open until the entry goes.
class InstalledPlugin {
public:
    explicit InstalledPlugin(const MKString& installationFolder) : m_installationFolder(installationFolder) {}
    ~InstalledPlugin();
    InstalledPlugin(const InstalledPlugin&) = delete;
    InstalledPlugin& operator=(const InstalledPlugin&) = delete;

    // Installation folder + main folder + main file; false (path empty) when the
    // folder or file names would reach outside the installation folder or there
    // is no main file.
    bool GetMainModulePath(MKString& path) const;
    // Opens the main module package once; false, keeping none, when it fails.
    bool OpenMainModule();
    // The opened main module package; null before OpenMainModule succeeded.
    ModulePackage* GetMainModule() const { return m_mainModule; }
    // "setups" + the entry's name as a ".vlx"; false (path empty) for a name
    // that is no plain file name.
    bool GetSetupPackagePath(MKString& path) const;
    // Opens the setup package once; false, keeping none, when it fails.
    bool OpenSetupPackage();
    UpdatePackage* GetSetupPackage() const { return m_setupPackage; }
    // Plans moving the entry's installed files and its setup package aside
    // to their names with the suffix appended.
    void PlanBackup(const wchar_t* suffix, FileOperationSet& set);
    // Takes identity and main module place from an installed package (the
    // main module is its first item when that is of kind 1); the installed
    // time is set only while unset, the updated time always.
    void SetFromPackage(const UpdatePackage& package);

    MKGuid guid;
    // Also the name of the setup package in "setups".
    MKString name;
    MKVersion version;
    int32_t packageKind = 0;
    // 1 = the kernel module.
    int32_t moduleKind = 0;
    MKDateTime installed;
    MKDateTime updated;
    MKString mainFolder;
    MKString mainFile;

private:
    MKString m_installationFolder;
    ModulePackage* m_mainModule = nullptr;
    UpdatePackage* m_setupPackage = nullptr;
};
