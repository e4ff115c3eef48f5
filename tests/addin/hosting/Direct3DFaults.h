#pragma once
#include <d3d9.h>

// Answers a real Direct3D 9 under Wine never gives: a refused device, a lost
// device, a device that needs a reset. The methods of the process's
// IDirect3D9 and IDirect3DDevice9 objects are wrapped (their shared method
// tables patched) for the lifetime of this object and restored after it;
// every other call reaches the real objects.
class Direct3DFaults {
public:
    Direct3DFaults();
    ~Direct3DFaults();
    Direct3DFaults(const Direct3DFaults&) = delete;
    Direct3DFaults& operator=(const Direct3DFaults&) = delete;

    // CreateDevice answers this failure (S_OK: the real device).
    void SetCreateDeviceResult(HRESULT result);
    // TestCooperativeLevel answers this until the device is reset (S_OK: the
    // device's own answer); a successful Reset clears it.
    void SetCooperativeLevel(HRESULT result);
    // GetAdapterDisplayMode reports this format (UNKNOWN: the real one).
    void SetDisplayFormat(D3DFORMAT format);
    int GetResetCount() const;
    bool IsInstalled() const;
};
