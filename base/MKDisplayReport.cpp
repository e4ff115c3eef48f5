#include "base/MKDisplayReport.h"

#include "base/MKString.h"
#include "base/MKTextBuffer.h"

namespace {

class SystemDisplays : public MKDisplaySource {
public:
    bool GetAdapter(DWORD index, DISPLAY_DEVICEW& adapter) override
    {
        adapter.cb = sizeof(adapter);
        return EnumDisplayDevicesW(nullptr, index, &adapter, 0) != FALSE;
    }
    bool GetMonitor(const wchar_t* adapterName, DISPLAY_DEVICEW& monitor) override
    {
        monitor.cb = sizeof(monitor);
        return EnumDisplayDevicesW(adapterName, 0, &monitor, 0) != FALSE;
    }
    bool GetCurrentMode(const wchar_t* adapterName, DEVMODEW& mode) override
    {
        mode.dmSize = sizeof(mode);
        return EnumDisplaySettingsW(adapterName, ENUM_CURRENT_SETTINGS, &mode) != FALSE;
    }
};

MKString FlagsText(DWORD state)
{
    static const struct {
        DWORD flag;
        const wchar_t* name;
    } kFlags[] = {
        {DISPLAY_DEVICE_PRIMARY_DEVICE, L"Primary"},
        {DISPLAY_DEVICE_ATTACHED_TO_DESKTOP, L"Desktop"},
        {DISPLAY_DEVICE_MIRRORING_DRIVER, L"Mirroring"},
        {DISPLAY_DEVICE_REMOVABLE, L"Removable"},
    };
    MKString text;
    for (const auto& f : kFlags) {
        if (!(state & f.flag))
            continue;
        if (!text.IsEmpty())
            text.AppendText(L", ");
        text.AppendText(f.name);
    }
    return text;
}

}  // namespace

void MKWriteDisplays(MKTextBuffer& out)
{
    SystemDisplays source;
    MKWriteDisplaysFrom(out, source);
}

void MKWriteDisplaysFrom(MKTextBuffer& out, MKDisplaySource& source)
{
    for (DWORD index = 0;; ++index) {
        DISPLAY_DEVICEW adapter = {};
        if (!source.GetAdapter(index, adapter))
            break;
        DISPLAY_DEVICEW monitor = {};
        if (!source.GetMonitor(adapter.DeviceName, monitor))
            continue;
        MKString block = MKString::FromFormat(
            L"Display %d\n  Display Name: %s\n  Monitor Name: %s\n  Display Flags: %s\n", int(index + 1),
            adapter.DeviceString, monitor.DeviceString, FlagsText(adapter.StateFlags).GetText());
        out.AppendText(block.GetText());
        DEVMODEW mode = {};
        if (source.GetCurrentMode(adapter.DeviceName, mode)) {
            MKString lines = MKString::FromFormat(L"  Resolution: %d x %d x %d\n  DPI: %d\n", int(mode.dmPelsWidth),
                                                  int(mode.dmPelsHeight), int(mode.dmBitsPerPel),
                                                  int(mode.dmLogPixels));
            out.AppendText(lines.GetText());
        }
    }
}
