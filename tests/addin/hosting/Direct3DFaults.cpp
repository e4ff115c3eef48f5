#include "Direct3DFaults.h"

#include "addin/hosting/Direct3D9Library.h"

namespace {

// Method slots in the interfaces' tables.
constexpr int kGetAdapterDisplayMode = 8;
constexpr int kCreateDevice = 16;
constexpr int kTestCooperativeLevel = 3;
constexpr int kReset = 16;

using CreateDeviceFn = HRESULT(STDMETHODCALLTYPE*)(IDirect3D9*, UINT, D3DDEVTYPE, HWND, DWORD,
                                                    D3DPRESENT_PARAMETERS*, IDirect3DDevice9**);
using DisplayModeFn = HRESULT(STDMETHODCALLTYPE*)(IDirect3D9*, UINT, D3DDISPLAYMODE*);
using CooperativeFn = HRESULT(STDMETHODCALLTYPE*)(IDirect3DDevice9*);
using ResetFn = HRESULT(STDMETHODCALLTYPE*)(IDirect3DDevice9*, D3DPRESENT_PARAMETERS*);

void** s_direct3DTable = nullptr;
void** s_deviceTable = nullptr;
CreateDeviceFn s_createDevice = nullptr;
DisplayModeFn s_displayMode = nullptr;
CooperativeFn s_cooperative = nullptr;
ResetFn s_reset = nullptr;
HRESULT s_createResult = S_OK;
HRESULT s_cooperativeResult = S_OK;
D3DFORMAT s_displayFormat = D3DFMT_UNKNOWN;
int s_resets = 0;

void** TableOf(void* object)
{
    return *static_cast<void***>(object);
}

void Patch(void** table, int slot, void* function, void** original)
{
    DWORD old = 0;
    VirtualProtect(&table[slot], sizeof(void*), PAGE_EXECUTE_READWRITE, &old);
    if (original)
        *original = table[slot];
    table[slot] = function;
    VirtualProtect(&table[slot], sizeof(void*), old, &old);
}

HRESULT STDMETHODCALLTYPE Cooperative(IDirect3DDevice9* device)
{
    return s_cooperativeResult != S_OK ? s_cooperativeResult : s_cooperative(device);
}

HRESULT STDMETHODCALLTYPE Reset(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters)
{
    HRESULT result = s_reset(device, parameters);
    if (SUCCEEDED(result)) {
        ++s_resets;
        s_cooperativeResult = S_OK;
    }
    return result;
}

HRESULT STDMETHODCALLTYPE DisplayMode(IDirect3D9* direct3D, UINT adapter, D3DDISPLAYMODE* mode)
{
    HRESULT result = s_displayMode(direct3D, adapter, mode);
    if (SUCCEEDED(result) && s_displayFormat != D3DFMT_UNKNOWN)
        mode->Format = s_displayFormat;
    return result;
}

HRESULT STDMETHODCALLTYPE CreateDevice(IDirect3D9* direct3D, UINT adapter, D3DDEVTYPE type, HWND window,
                                       DWORD flags, D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device)
{
    if (s_createResult != S_OK)
        return s_createResult;
    HRESULT result = s_createDevice(direct3D, adapter, type, window, flags, parameters, device);
    if (SUCCEEDED(result) && !s_deviceTable) {
        s_deviceTable = TableOf(*device);
        Patch(s_deviceTable, kTestCooperativeLevel, reinterpret_cast<void*>(Cooperative),
              reinterpret_cast<void**>(&s_cooperative));
        Patch(s_deviceTable, kReset, reinterpret_cast<void*>(Reset), reinterpret_cast<void**>(&s_reset));
    }
    return result;
}

}  // namespace

Direct3DFaults::Direct3DFaults()
{
    s_createResult = S_OK;
    s_cooperativeResult = S_OK;
    s_displayFormat = D3DFMT_UNKNOWN;
    s_resets = 0;
    IDirect3D9* direct3D = LoadDirect3D9() ? CreateDirect3D9(D3D_SDK_VERSION) : nullptr;
    if (!direct3D)
        return;
    s_direct3DTable = TableOf(direct3D);
    Patch(s_direct3DTable, kCreateDevice, reinterpret_cast<void*>(CreateDevice),
          reinterpret_cast<void**>(&s_createDevice));
    Patch(s_direct3DTable, kGetAdapterDisplayMode, reinterpret_cast<void*>(DisplayMode),
          reinterpret_cast<void**>(&s_displayMode));
    direct3D->Release();
}

Direct3DFaults::~Direct3DFaults()
{
    if (s_deviceTable) {
        Patch(s_deviceTable, kTestCooperativeLevel, reinterpret_cast<void*>(s_cooperative), nullptr);
        Patch(s_deviceTable, kReset, reinterpret_cast<void*>(s_reset), nullptr);
    }
    if (s_direct3DTable) {
        Patch(s_direct3DTable, kCreateDevice, reinterpret_cast<void*>(s_createDevice), nullptr);
        Patch(s_direct3DTable, kGetAdapterDisplayMode, reinterpret_cast<void*>(s_displayMode), nullptr);
    }
    s_deviceTable = nullptr;
    s_direct3DTable = nullptr;
}

void Direct3DFaults::SetCreateDeviceResult(HRESULT result)
{
    s_createResult = result;
}

void Direct3DFaults::SetCooperativeLevel(HRESULT result)
{
    s_cooperativeResult = result;
}

void Direct3DFaults::SetDisplayFormat(D3DFORMAT format)
{
    s_displayFormat = format;
}

int Direct3DFaults::GetResetCount() const
{
    return s_resets;
}

bool Direct3DFaults::IsInstalled() const
{
    return s_direct3DTable != nullptr;
}
