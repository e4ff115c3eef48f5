#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKTOArray.h"
#include "base/MKVersion.h"

#include <windows.h>

struct PackageTypeInfo;

// One assembly a plug-in's package carries: the display name under which the
// runtime knows it, the package entry holding its bytes, and whether it
// holds the plug-in's type.
struct PackageAssembly {
    MKString displayName;
    MKString entryName;
    bool isMain = false;
};

// What a plug-in record needs of its module package.
class PluginPackage {
public:
    virtual const MKString& GetName() const = 0;
    virtual MKVersion GetVersion() const = 0;
    // False when the package's entries cannot be listed.
    virtual bool ListAssemblies(MKTOArray<PackageAssembly>& out) const = 0;
    // The entry's unpacked bytes; false when it is missing or unreadable.
    virtual bool ReadEntry(const MKString& entryName, MKTArray<uint8_t>& out) const = 0;
    // The path of the entry's symbol file on disk; false when it has none.
    virtual bool GetSymbolFile(const MKString& entryName, MKString& path) const = 0;
    // The package's record of an effect type; false when it has none.
    virtual bool FindTypeByGuid(const GUID& type, PackageTypeInfo& out) const = 0;

protected:
    ~PluginPackage() = default;
};
