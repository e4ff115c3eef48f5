#pragma once
#include "base/MKOptional.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

#include <stdint.h>

class MKTextBuffer;

// Facts about the machine and the host, each written once by whoever learns
// it first (the add-in at construction, the first Office connection of the
// process, the plug-in manager) and read by reports, update checks and the
// slide show. Owned by the add-in; used on PowerPoint's thread only.
struct EnvironmentInfo {
    // "<language> (<country>) (0x<lcid>)" with the English names, "?" for a
    // name the system cannot give; empty for 0.
    static MKString FormatLocale(int32_t lcid);
    // The report's lines of these facts: the system and user languages; the
    // Office product with its MSO.DLL version, PowerPoint's file version and
    // Office's user-interface language; the .NET Framework.
    void WriteLanguageLines(MKTextBuffer& out) const;
    void WriteProductLines(MKTextBuffer& out) const;
    void WriteNetLine(MKTextBuffer& out) const;

    MKOptional<int32_t> officeProductCode;
    MKOptional<MKString> officeProductName;
    MKOptional<MKVersion> msoVersion;
    MKOptional<MKVersion> powerPointVersion;
    // Application.Version as PowerPoint gave it.
    MKOptional<MKString> powerPointVersionText;
    MKOptional<int32_t> systemLocale;
    MKOptional<int32_t> userLocale;
    // LanguageSettings.LanguageID 1 to 5: install, user interface, help,
    // executable mode and previous user interface.
    MKOptional<int32_t> officeLanguages[5];
    MKOptional<MKVersion> kernelVersion;
    MKOptional<MKString> netFramework;
};
