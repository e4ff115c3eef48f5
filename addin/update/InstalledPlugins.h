#pragma once
#include "addin/update/InstalledPlugin.h"
#include "base/MKTArray.h"

class MKBinaryReader;
class UpdatePackage;

enum InstalledPluginsResult {
    InstalledPluginsOk = 0,
    InstalledPluginsCannotOpen = 1,
    InstalledPluginsDamaged = 2,
};

// The list of installed setups, "plugins.dat" in the installation folder: the
// kernel module first, then the other plug-ins. Loaded whole, changed in
// memory, saved whole. Owns its entries. One thread at a time.
class InstalledPlugins {
public:
    explicit InstalledPlugins(const MKString& installationFolder);
    ~InstalledPlugins();
    InstalledPlugins(const InstalledPlugins&) = delete;
    InstalledPlugins& operator=(const InstalledPlugins&) = delete;

    // An InstalledPluginsResult. A list without the main setup's entry counts
    // as damaged; on success that entry is first. A failure may leave the list
    // partly filled.
    int Load();
    // Replaces the file whole (written beside it, then swapped in), stamped
    // with the current time; the folder must exist.
    bool Save();
    bool SaveTo(const MKString& path);

    int FindByGuid(const MKGuid& guid) const;
    // Refreshes the entry of the package's setup, or adds one; null when
    // memory runs out.
    InstalledPlugin* UpdateFromPackage(const UpdatePackage& package);
    InstalledPlugin* AddFromPackage(const UpdatePackage& package);
    // Drops (and deletes) every entry with a main file whose module package
    // cannot be opened or needs a newer product or kernel than given. True when
    // entries remain and the first is the kernel module.
    bool DropIncompatible(const MKVersion& productVersion, const MKVersion& kernelVersion);
    // The kernel entry's opened main module package; null when the first entry
    // is no kernel module or its package is not open.
    ModulePackage* GetMainModule() const;

    int GetCount() const { return m_entries.GetCount(); }
    InstalledPlugin* GetAt(int index) const { return m_entries.SafeGetAt(index); }
    // A new entry at the end, owned by the list; null when memory runs out.
    InstalledPlugin* Add();
    const MKString& GetInstallationFolder() const { return m_installationFolder; }
    MKString GetListPath() const;

    int32_t listKind = 0;
    MKDateTime written;
    // 0.0 with parts three and four -1 when not set.
    MKVersion productVersion;

private:
    bool ReadEntry(MKBinaryReader& reader);

    MKString m_installationFolder;
    MKTArray<InstalledPlugin*> m_entries;
};

// The product version of the list in the folder; 0.0.-1.-1 when it cannot be
// loaded.
MKVersion ReadInstalledVersion(const MKString& installationFolder);
