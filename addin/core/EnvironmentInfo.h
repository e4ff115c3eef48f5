#pragma once
#include "addin/core/MKOptionalVersion.h"
#include "base/MKString.h"

#include <stdint.h>

// A number that may not be known yet.
struct OptionalNumber {
    bool present = false;
    int32_t value = 0;

    void Set(int32_t number)
    {
        value = number;
        present = true;
    }
};

// Facts about the machine and the host, each written once by whoever learns
// it first (the add-in at construction, the first Office connection of the
// process, the plug-in manager) and read by reports, update checks and the
// slide show. Owned by the add-in; used on PowerPoint's thread only.
struct EnvironmentInfo {
    OptionalNumber officeProductCode;
    MKOptionalString officeProductName;
    MKOptionalVersion msoVersion;
    MKOptionalVersion powerPointVersion;
    // Application.Version as PowerPoint gave it.
    MKOptionalString powerPointVersionText;
    OptionalNumber systemLocale;
    OptionalNumber userLocale;
    // LanguageSettings.LanguageID 1 to 5: install, user interface, help,
    // executable mode and previous user interface.
    OptionalNumber officeLanguages[5];
    MKOptionalVersion kernelVersion;
    MKOptionalString netFramework;
};
