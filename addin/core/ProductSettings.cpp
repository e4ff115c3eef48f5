#include "addin/core/ProductSettings.h"

#include "base/MKRegValue.h"

#include <string.h>

namespace {

const wchar_t kMakerKey[] = L"Brelix Technologies";
const wchar_t kProductKey[] = L"Vistello";

}  // namespace

ProductSettings::ProductSettings(Scope scope, bool writable)
    : m_machine(scope == PerMachine), m_writable(writable && scope == PerUser)
{
}

bool ProductSettings::OpenKey()
{
    if (m_key)
        return true;
    bool mayCreate = !m_machine && m_writable;
    MKRegKey maker =
        m_machine ? MKRegOpenMachineSoftwareKey(kMakerKey, false) : MKRegOpenSoftwareKey(kMakerKey, m_writable);
    if (!maker && mayCreate) {
        MKRegKey software = MKOpenRegKey::CurrentUser().OpenSubKey(L"Software", true);
        maker = software ? software.CreateSubKey(kMakerKey) : MKRegKey();
    }
    if (!maker)
        return false;
    MKRegKey product = maker.OpenSubKey(kProductKey, m_writable);
    if (!product && mayCreate)
        product = maker.CreateSubKey(kProductKey);
    m_key = product;
    return bool(m_key);
}

bool ProductSettings::ReadBinary(const wchar_t* name, MKByteArray& bytes)
{
    bytes.RemoveAll();
    if (!OpenKey())
        return false;
    if (!m_key.HasValue(name))
        return true;
    MKRegValue value = m_key.QueryValue(name);
    if (value.IsNull())
        return false;
    return value.GetType() != REG_BINARY || bytes.Assign(value.GetData(), value.GetSize());
}

bool ProductSettings::WriteBinary(const wchar_t* name, const MKByteArray& bytes)
{
    if (!OpenKey())
        return false;
    MKRegValue value = MKRegValue::Alloc(REG_BINARY, bytes.GetCount());
    if (value.IsNull())
        return false;
    if (bytes.GetCount() > 0)
        memcpy(value.GetData(), bytes.GetData(), bytes.GetCount());
    return m_key.SetValue(name, value);
}

bool ProductSettings::ReadPreferences(MKByteArray& bytes)
{
    return ReadBinary(L"Preferences", bytes);
}

bool ProductSettings::WritePreferences(const MKByteArray& bytes)
{
    return WriteBinary(L"Preferences", bytes);
}

bool ProductSettings::ReadUser(MKByteArray& bytes)
{
    return ReadBinary(L"User", bytes);
}

bool ProductSettings::WriteUser(const MKByteArray& bytes)
{
    return WriteBinary(L"User", bytes);
}

FlagSetting ProductSettings::ReadFlag(const wchar_t* name, CachedFlag& cache)
{
    if (cache.read || !OpenKey())
        return cache.setting;
    uint32_t value = 0;
    cache.setting.present = m_key.GetDword(name, value);
    cache.setting.value = cache.setting.present && value != 0;
    cache.read = true;
    return cache.setting;
}

bool ProductSettings::WriteFlag(const wchar_t* name, CachedFlag& cache, FlagSetting setting)
{
    FlagSetting current = ReadFlag(name, cache);
    if (current.present == setting.present && (!setting.present || current.value == setting.value))
        return true;
    if (!OpenKey())
        return false;
    bool ok = setting.present ? m_key.SetDword(name, setting.value ? 1 : 0)
                              : (!m_key.HasValue(name) || m_key.DeleteValue(name));
    if (ok) {
        cache.read = true;
        cache.setting = setting;
    }
    return ok;
}

FlagSetting ProductSettings::GetAutoCheckUpdates()
{
    return ReadFlag(L"AutoCheckUpdates", m_autoCheck);
}

bool ProductSettings::SetAutoCheckUpdates(FlagSetting setting)
{
    return WriteFlag(L"AutoCheckUpdates", m_autoCheck, setting);
}

FlagSetting ProductSettings::GetAutoInstallUpdates()
{
    return ReadFlag(L"AutoInstallUpdates", m_autoInstall);
}

bool ProductSettings::SetAutoInstallUpdates(FlagSetting setting)
{
    return WriteFlag(L"AutoInstallUpdates", m_autoInstall, setting);
}

NumberSetting ProductSettings::GetSource()
{
    if (m_sourceRead || !OpenKey())
        return m_source;
    uint32_t value = 0;
    m_source.present = m_key.GetDword(L"Source", value);
    m_source.value = m_source.present ? static_cast<int32_t>(value) : 0;
    m_sourceRead = true;
    return m_source;
}

MKString ProductSettings::GetUpdateService()
{
    MKString url;
    if (OpenKey())
        m_key.QueryString(L"UpdateService", url);
    return url;
}

bool GetAutoCheckUpdates(ProductSettings& settings)
{
    FlagSetting setting = settings.GetAutoCheckUpdates();
    return !setting.present || setting.value;
}

bool SetAutoCheckUpdates(ProductSettings& settings, bool on)
{
    return settings.SetAutoCheckUpdates(FlagSetting{true, on});
}
