#include "addin/hosting/FlashCalls.h"

#include "addin/hosting/ActiveXNode.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/MemoryMoniker.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "addin/hosting/PlayerVersionProbes.h"
#include "hostapi/FlashInterfaces.h"

#include <new>

namespace FlashCalls {

namespace {

// Runs `call` on the control's interface, released afterwards.
template <class Call>
HRESULT WithFlash(const ActiveXNode& node, Call&& call)
{
    IShockwaveFlash* flash = Query(node);
    if (!flash)
        return E_FAIL;
    HRESULT hr = call(flash);
    flash->Release();
    return hr;
}

}  // namespace

MKVersion InstalledVersion()
{
    if (PlayerVersionCache* cache = GetHostingPlayerVersionCache())
        return cache->GetFlashVersion();
    MKVersion version;
    ProbeFlashPlayerVersion(version);
    return version;
}

IShockwaveFlash* Query(const ActiveXNode& node)
{
    IShockwaveFlash* flash = nullptr;
    if (FAILED(node.QueryControl(IID_IShockwaveFlash, reinterpret_cast<void**>(&flash))))
        return nullptr;
    return flash;
}

HRESULT SetPlaying(const ActiveXNode& node, bool playing)
{
    return WithFlash(
        node, [&](IShockwaveFlash* flash) { return flash->put_Playing(playing ? VARIANT_TRUE : VARIANT_FALSE); });
}

HRESULT IsPlaying(const ActiveXNode& node, bool& playing)
{
    playing = false;
    return WithFlash(node, [&](IShockwaveFlash* flash) {
        VARIANT_BOOL value = VARIANT_FALSE;
        HRESULT hr = flash->get_Playing(&value);
        playing = SUCCEEDED(hr) && value != VARIANT_FALSE;
        return hr;
    });
}

HRESULT GotoFrame(const ActiveXNode& node, int32_t frame)
{
    return WithFlash(node, [&](IShockwaveFlash* flash) { return flash->GotoFrame(frame); });
}

HRESULT GetCurrentFrame(const ActiveXNode& node, int32_t& frame)
{
    frame = 0;
    return WithFlash(node, [&](IShockwaveFlash* flash) {
        long current = 0;
        HRESULT hr = flash->CurrentFrame(&current);
        if (SUCCEEDED(hr))
            frame = current;
        return hr;
    });
}

HRESULT CallFunction(const ActiveXNode& node, int playerMajor, const MKString& request, MKString* response)
{
    if (response)
        response->Clear();
    if (playerMajor < 8)
        return E_NOTIMPL;
    return WithFlash(node, [&](IShockwaveFlash* flash) {
        BSTR text = request.ToBstr();
        BSTR answer = nullptr;
        HRESULT hr = flash->CallFunction(text, &answer);
        SysFreeString(text);
        if (response && answer)
            *response = answer;
        SysFreeString(answer);
        return hr;
    });
}

HRESULT SetReturnValue(const ActiveXNode& node, const wchar_t* value)
{
    return WithFlash(node, [&](IShockwaveFlash* flash) {
        BSTR text = value ? SysAllocString(value) : nullptr;
        HRESULT hr = flash->SetReturnValue(text);
        SysFreeString(text);
        return hr;
    });
}

HRESULT SetBackgroundColorText(const ActiveXNode& node, const MKString& colour)
{
    return WithFlash(node, [&](IShockwaveFlash* flash) {
        BSTR text = colour.ToBstr();
        HRESULT hr = flash->put_BGColor(text);
        SysFreeString(text);
        return hr;
    });
}

HRESULT GetBackgroundColorText(const ActiveXNode& node, MKString& colour)
{
    colour.Clear();
    return WithFlash(node, [&](IShockwaveFlash* flash) {
        BSTR text = nullptr;
        HRESULT hr = flash->get_BGColor(&text);
        if (SUCCEEDED(hr) && text)
            colour = text;
        SysFreeString(text);
        return hr;
    });
}

}  // namespace FlashCalls

namespace FlashCalls {

HRESULT CheckEvent(DISPID id, const DISPPARAMS* params)
{
    VARTYPE wanted;
    UINT count;
    switch (id) {
    case kFlashEventFSCommand: wanted = VT_BSTR, count = 2; break;
    case kFlashEventFlashCall: wanted = VT_BSTR, count = 1; break;
    case kFlashEventProgress:
    case kFlashEventReadyStateChange: wanted = VT_I4, count = 1; break;
    default: return DISP_E_MEMBERNOTFOUND;
    }
    if (!params || params->cArgs != count || !params->rgvarg)
        return DISP_E_BADPARAMCOUNT;
    for (UINT i = 0; i < count; ++i) {
        if (params->rgvarg[i].vt != wanted)
            return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

}  // namespace FlashCalls

namespace FlashCalls {

HRESULT DriveMoniker(IMoniker** moniker)
{
    if (!moniker)
        return E_POINTER;
    *moniker = new (std::nothrow) MemoryMoniker(MKString(L"C:\\"));
    if (!*moniker)
        return E_OUTOFMEMORY;
    (*moniker)->AddRef();
    return S_OK;
}

}  // namespace FlashCalls
