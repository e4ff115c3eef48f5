#pragma once
#include "base/MKRefClass.h"
#include "base/MKString.h"

#include <stdint.h>
#include <windows.h>

class MKRegKey;

// One open registry key, shared through MKRegKey handles: its handle, its
// full path ("HKEY_CURRENT_USER\Software\...") and whether it was opened for
// writing. The last release closes the handle unless it is a predefined root
// (borrowed), which is never closed.
class MKOpenRegKey : public MKRefClass {
public:
    MKOpenRegKey(HKEY handle, const MKString& path, bool writable, bool borrowed);
    ~MKOpenRegKey() override;

    HKEY GetHandle() const { return m_handle; }
    const MKString& GetPath() const { return m_path; }
    bool IsWritable() const { return (m_flags & kWritable) != 0; }
    bool IsBorrowed() const { return (m_flags & kBorrowed) != 0; }

    // The predefined roots, writable and borrowed, named by their root name.
    static MKRegKey ClassesRoot();
    static MKRegKey CurrentUser();
    static MKRegKey LocalMachine();
    static MKRegKey Users();

private:
    static constexpr uint8_t kWritable = 1;
    static constexpr uint8_t kBorrowed = 2;

    HKEY m_handle;
    MKString m_path;
    uint8_t m_flags;
};
