#pragma once
#include "addin/update/UserRecordStore.h"
#include "base/MKRegKey.h"
#include "base/MKTArray.h"

#include <stdint.h>

// A setting that the registry may not hold: present is false when the value
// is missing.
struct FlagSetting {
    bool present = false;
    bool value = false;
};
struct NumberSetting {
    bool present = false;
    int32_t value = 0;
};

// The product key "Brelix Technologies\Vistello": under Software of
// HKEY_CURRENT_USER per user (writable when asked, and then created on first
// use), or under SOFTWARE of HKEY_LOCAL_MACHINE per machine (read-only, never
// created). It holds the update engine's two opaque records (Preferences and
// User) and three small settings. The key is opened on first access and kept
// until Close; flags are read once and then answered from a cache that only
// this store's own writes change. Used on one thread at a time.
class ProductSettings : public UserRecordStore {
public:
    enum Scope { PerUser, PerMachine };

    // A per-machine store is always read-only.
    ProductSettings(Scope scope, bool writable);
    ProductSettings(const ProductSettings&) = delete;
    ProductSettings& operator=(const ProductSettings&) = delete;

    bool IsMachine() const { return m_machine; }
    // Lets the key go; the next access opens it again.
    void Close() { m_key.Release(); }

    // Binary records. Reading empties bytes first; true with bytes empty when
    // the value is missing (or not REG_BINARY), false when the key cannot be
    // opened or the value exists but cannot be read. A write replaces the
    // value in place; false when the key cannot be opened or written.
    bool ReadPreferences(MKByteArray& bytes) override;
    bool WritePreferences(const MKByteArray& bytes) override;
    bool ReadUser(MKByteArray& bytes) override;
    bool WriteUser(const MKByteArray& bytes) override;

    // AutoCheckUpdates and AutoInstallUpdates (REG_DWORD 0 or 1). A read that
    // cannot open the key answers absent and is tried again next time. A
    // write of the pair already held touches nothing; an absent pair deletes
    // the value.
    FlagSetting GetAutoCheckUpdates();
    bool SetAutoCheckUpdates(FlagSetting setting);
    FlagSetting GetAutoInstallUpdates();
    bool SetAutoInstallUpdates(FlagSetting setting);
    // Source: the installation source code, written by the installer.
    NumberSetting GetSource();
    // UpdateService: the update service's "scheme://host[:port]" when the
    // installation names another than the product's; empty when unset.
    MKString GetUpdateService();

private:
    struct CachedFlag {
        bool read = false;
        FlagSetting setting;
    };

    bool OpenKey();
    bool ReadBinary(const wchar_t* name, MKByteArray& bytes);
    bool WriteBinary(const wchar_t* name, const MKByteArray& bytes);
    FlagSetting ReadFlag(const wchar_t* name, CachedFlag& cache);
    bool WriteFlag(const wchar_t* name, CachedFlag& cache, FlagSetting setting);

    bool m_machine;
    bool m_writable;
    MKRegKey m_key;
    CachedFlag m_autoCheck;
    CachedFlag m_autoInstall;
    bool m_sourceRead = false;
    NumberSetting m_source;
};

// AutoCheckUpdates as the update engine applies it: on unless stored off.
bool GetAutoCheckUpdates(ProductSettings& settings);
// Stores the value (always as a present setting).
bool SetAutoCheckUpdates(ProductSettings& settings, bool on);
