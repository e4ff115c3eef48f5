#pragma once
#include "base/MKString.h"
#include "base/MKVersion.h"

// The Office installation that PowerPoint belongs to, as found in the
// registry and in the version resources of MSO.DLL and POWERPNT.EXE. The
// product code is major x 100 + service pack (1000 Office XP ... 1400 Office
// 2010); 0 means none. Unknown file versions read 0.0.-1.-1.
class OfficeInfo {
public:
    OfficeInfo() = default;
    OfficeInfo(const OfficeInfo&) = delete;
    OfficeInfo& operator=(const OfficeInfo&) = delete;

    // Looks for the installation of the major version (0: 14, 12, 11, then
    // 10, the first with an install root that holds POWERPNT.EXE). False,
    // with the record reset, when no install root is found.
    bool Detect(int major);
    // For a PowerPoint whose installation was not found: code major x 100,
    // version major.0.-1.-1.
    void SetFallback(int major);

    // Display name of the product code; null for codes without one.
    const wchar_t* GetProductName() const { return ProductName(m_productCode); }
    static const wchar_t* ProductName(int productCode);
    // The product code that a file version of MSO.DLL or of POWERPNT.EXE
    // stands for.
    static int ProductCodeFromMso(const MKVersion& version);
    static int ProductCodeFromPowerPoint(const MKVersion& version);

    int GetProductCode() const { return m_productCode; }
    // {code / 100, 0, code % 100, 0} after detection.
    const MKVersion& GetVersion() const { return m_version; }
    const MKString& GetInstallRoot() const { return m_installRoot; }
    const MKString& GetMsoPath() const { return m_msoPath; }
    const MKString& GetPowerPointPath() const { return m_powerPointPath; }
    const MKVersion& GetMsoVersion() const { return m_msoVersion; }
    const MKVersion& GetPowerPointVersion() const { return m_powerPointVersion; }

private:
    void Reset();

    MKString m_installRoot;
    MKString m_msoPath;
    MKString m_powerPointPath;
    int m_productCode = 0;
    MKVersion m_version;
    MKVersion m_msoVersion;
    MKVersion m_powerPointVersion;
};
