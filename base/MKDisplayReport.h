#pragma once
#include <windows.h>

class MKTextBuffer;

// Where the display report learns about adapters and monitors; the system's
// own source asks EnumDisplayDevicesW and EnumDisplaySettingsW.
class MKDisplaySource {
public:
    virtual ~MKDisplaySource() = default;
    // The adapter at index (of the whole desktop); false past the last one.
    virtual bool GetAdapter(DWORD index, DISPLAY_DEVICEW& adapter) = 0;
    // The first monitor of an adapter; false when none is attached.
    virtual bool GetMonitor(const wchar_t* adapterName, DISPLAY_DEVICEW& monitor) = 0;
    virtual bool GetCurrentMode(const wchar_t* adapterName, DEVMODEW& mode) = 0;
};

// One block per adapter with a monitor ("Display <index + 1>", names, flags,
// and the resolution and DPI when the current mode is known).
void MKWriteDisplays(MKTextBuffer& out);
void MKWriteDisplaysFrom(MKTextBuffer& out, MKDisplaySource& source);
