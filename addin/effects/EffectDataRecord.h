#pragma once
#include "base/MKRefClass.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

#include <windows.h>
#include <stdint.h>

class Plugin;

// What a plug-in's module package says of one effect type: two texts (its
// name and description), its version and its flags (0: the type takes no
// calls from other plug-ins).
struct PackageTypeInfo {
    MKString name;
    MKString description;
    MKVersion version;
    int32_t flags = 0;
};

// One effect type a plug-in registered. Reference counted: the plug-in that
// made it holds one reference, the add-in core's table of effect types one
// while it is registered, and slide-show objects may hold more.
class EffectDataRecord : public MKRefClass {
public:
    EffectDataRecord(Plugin* plugin, const GUID& type, const PackageTypeInfo& packageType);

    // The 24-bit code of a type GUID: the exclusive-or of its four 32-bit
    // words, low 24 bits. Also the type's feature id in the usage counters.
    static uint32_t UsageIdOf(const GUID& type);

    // The plug-in that registered the type; null once it unloaded.
    Plugin* GetPlugin() const { return m_plugin; }
    // Called by the plug-in as it unloads: holders of the record may outlive
    // the plug-in object.
    void ForgetPlugin() { m_plugin = nullptr; }
    const GUID& GetTypeGuid() const { return m_type; }
    // The content type shapes carry: the GUID as 32 upper-case hexadecimal
    // digits.
    const MKString& GetContentType() const { return m_contentType; }
    // "_VQZ_" + content type + "_", the start of the type's shape tags.
    const MKString& GetTagPrefix() const { return m_tagPrefix; }
    uint32_t GetUsageId() const { return m_usageId; }
    const PackageTypeInfo& GetPackageType() const { return m_packageType; }

    // The index in the core's table of effect types, from 1; -1 until
    // registered.
    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    bool GetStateFlag(int which) const { return m_stateFlags[which & 1]; }
    void SetStateFlag(int which, bool on) { m_stateFlags[which & 1] = on; }
    int32_t GetValue() const { return m_value; }
    void SetValue(int32_t value) { m_value = value; }

private:
    Plugin* m_plugin;
    GUID m_type;
    MKString m_contentType;
    MKString m_tagPrefix;
    uint32_t m_usageId;
    PackageTypeInfo m_packageType;
    int m_index = -1;
    bool m_stateFlags[2] = {false, false};
    int32_t m_value = 0;
};
