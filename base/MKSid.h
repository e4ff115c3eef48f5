#pragma once
#include <windows.h>

// A security identifier held in place (no allocation). Invalid until one of
// the fill operations succeeds.
class MKSid {
public:
    MKSid() = default;
    MKSid(const MKSid&) = delete;
    MKSid& operator=(const MKSid&) = delete;

    // The well-known SID of the type (WinWorldSid, WinLocalSystemSid,
    // WinBuiltinUsersSid, ...). CreateWellKnownSid is looked up at run time, so
    // on a system without it the SID stays invalid.
    bool WellKnown(WELL_KNOWN_SID_TYPE type);
    // S-1-5-32-544, built by hand so that it exists on every system.
    bool BuiltinAdministrators();

    bool IsValid() const { return m_valid; }
    PSID Get() { return m_valid ? m_buffer : nullptr; }

private:
    alignas(DWORD) BYTE m_buffer[SECURITY_MAX_SID_SIZE] = {};
    bool m_valid = false;
};
