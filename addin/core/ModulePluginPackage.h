#pragma once
#include "addin/effects/PluginPackage.h"

class ModulePackage;

// A plug-in record's view of an opened module package: its assembly entries
// under the names the runtime gives them, entries extracted whole (checked
// against the digests they carry), its type records and symbol files, which
// lie inside the package's folder.
// The package must outlive the view.
class ModulePluginPackage final : public PluginPackage {
public:
    explicit ModulePluginPackage(const ModulePackage& package) : m_package(package) {}
    ModulePluginPackage(const ModulePluginPackage&) = delete;
    ModulePluginPackage& operator=(const ModulePluginPackage&) = delete;

    const MKString& GetName() const override;
    MKVersion GetVersion() const override;
    bool ListAssemblies(MKTOArray<PackageAssembly>& out) const override;
    bool ReadEntry(const MKString& entryName, MKTArray<uint8_t>& out) const override;
    bool GetSymbolFile(const MKString& entryName, MKString& path) const override;
    bool FindTypeByGuid(const GUID& type, PackageTypeInfo& out) const override;

private:
    const ModulePackage& m_package;
};
