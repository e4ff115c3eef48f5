#include "addin/effects/EffectDataRecord.h"

#include "base/MKGuid.h"

#include <string.h>

EffectDataRecord::EffectDataRecord(Plugin* plugin, const GUID& type, const PackageTypeInfo& packageType)
    : m_plugin(plugin), m_type(type), m_usageId(UsageIdOf(type)), m_packageType(packageType)
{
    m_contentType = MKGuid(type).FormatUpperCompact();
    m_tagPrefix = MKString::PrependText(L"_VQZ_", m_contentType);
    m_tagPrefix.AppendText(L"_");
}

uint32_t EffectDataRecord::UsageIdOf(const GUID& type)
{
    uint32_t words[4];
    memcpy(words, &type, sizeof words);
    return (words[0] ^ words[1] ^ words[2] ^ words[3]) & 0xFFFFFFu;
}
