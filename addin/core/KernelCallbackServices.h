#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"

#include <windows.h>
#include <oaidl.h>
#include <stdint.h>

// The add-in's product-level services that the kernel reaches through its
// callback object.
class KernelCallbackServices {
public:
    virtual MKVersion GetKernelVersion() = 0;
    // The diagnostic system report.
    virtual MKString WriteSystemReport() = 0;
    // The per-user AutoCheckUpdates setting (true when unset).
    virtual bool GetAutoCheckUpdates() = 0;
    // Stops a running automatic check; a new update check automation object
    // with one reference, or null.
    virtual IDispatch* MakeUpdateCheckObject() = 0;
    // AutoInstallUpdates as the update engine applies it (true when unset).
    virtual bool IsAutoInstallEnabled() = 0;
    // Stores both settings, then starts the automatic check (when it is due)
    // or stops a running one.
    virtual void SetUpdateSettings(bool autoCheck, bool autoInstall) = 0;
    // The update history as XML; false when it cannot be read.
    virtual bool GetUpdateHistoryXml(MKString& xml) = 0;
    // Replaces the preferences blob and saves the preferences without force;
    // the save's answer.
    virtual bool ReplacePreferences(const uint8_t* bytes, int length) = 0;
    // The preferences blob's current address and length, looked up under its
    // lock; the bytes stay where they are until the blob is next replaced.
    virtual void GetPreferencesBlob(const uint8_t** bytes, int* length) = 0;
    virtual bool GetInstallationGuid(GUID& out) = 0;
    // The value the next update check sends.
    virtual void SetUpdateCheckValue(int32_t value) = 0;

protected:
    ~KernelCallbackServices() = default;
};
