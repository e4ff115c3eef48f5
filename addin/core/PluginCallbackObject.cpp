#include "addin/core/PluginCallbackObject.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/core/KernelCallbackServices.h"
#include "addin/core/WebMessageObject.h"
#include "base/MKGuid.h"
#include "base/MKMemoryRange.h"
#include "base/MKSha1.h"
#include "base/MKTArray.h"

#include <new>

namespace {

// The product's own 40 bytes appended before digesting.
const uint8_t kSalt[40] = {0x3A, 0x91, 0x5C, 0xE7, 0x08, 0x6B, 0xD2, 0x4F, 0x1E, 0xA5, 0x73, 0xC0, 0x29, 0x8D,
                           0xF6, 0x14, 0xB9, 0x47, 0x62, 0x0D, 0xE3, 0x58, 0x9A, 0x21, 0xCF, 0x76, 0x05, 0xBE,
                           0x43, 0x1A, 0x8F, 0xD4, 0x6E, 0x37, 0xA0, 0x5B, 0xF1, 0x82, 0x2C, 0x99};

HRESULT CheckCount(DISPPARAMS* params, UINT count)
{
    return (params ? params->cArgs : 0) == count ? S_OK : DISP_E_BADPARAMCOUNT;
}

}  // namespace

const IID PluginCallbackObject::kIdentity = {
    0xF67454B2, 0xB943, 0x4236, {0x83, 0x4C, 0xEE, 0xC5, 0x37, 0x73, 0x64, 0x55}};

PluginCallbackObject::PluginCallbackObject(KernelCallbackServices* services)
    : MKDispatchObject(0xF67454B2, 0x4236B943, 0xC5EE4C83, 0x55647337), m_services(services)
{
}

MKString PluginCallbackObject::SaltedDigest(const MKString& text)
{
    MKTArray<uint8_t> bytes;
    // ToUtf8 counts the bytes without the terminating zero it appends.
    bytes.SetSize(text.ToUtf8(bytes));
    bytes.AppendRange(kSalt, sizeof kSalt);
    MKSha1Digest digest;
    MKSha1::Compute(bytes.GetData(), bytes.GetCount(), &digest);
    return MKSha1::ToHexString(digest).ToLower();
}

HRESULT PluginCallbackObject::HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    if (!m_services)
        return E_NOTIMPL;
    DispArgs args(params);
    DispResult out(result);
    switch (id) {
    case 1: {
        HRESULT hr = CheckCount(params, 0);
        if (FAILED(hr))
            return hr;
        IDispatch* check = m_services->MakeUpdateCheckObject();
        if (!check)
            return E_OUTOFMEMORY;
        out.SetDispatch(check);
        check->Release();
        return S_OK;
    }
    case 2: {
        HRESULT hr = CheckCount(params, 0);
        return FAILED(hr) ? hr : out.SetText(L"Vistello for Microsoft\u00AE Office PowerPoint\u00AE");
    }
    case 3: {
        HRESULT hr = CheckCount(params, 0);
        return FAILED(hr) ? hr : out.SetString(m_services->GetKernelVersion().ToString());
    }
    case 5: {
        HRESULT hr = CheckCount(params, 0);
        return FAILED(hr) ? hr : out.SetString(m_services->WriteSystemReport());
    }
    case 6: {
        HRESULT hr = CheckCount(params, 0);
        if (SUCCEEDED(hr))
            out.SetBool(m_services->GetAutoCheckUpdates());
        return hr;
    }
    case 7: {
        HRESULT hr = CheckCount(params, 0);
        if (SUCCEEDED(hr))
            out.SetBool(m_services->IsAutoInstallEnabled());
        return hr;
    }
    case 8: {
        HRESULT hr = CheckCount(params, 2);
        bool autoCheck = false;
        bool autoInstall = false;
        if (SUCCEEDED(hr)) {
            args.GetBool(0, &autoCheck);
            args.GetBool(1, &autoInstall);
            hr = args.Error();
        }
        if (SUCCEEDED(hr))
            m_services->SetUpdateSettings(autoCheck, autoInstall);
        return hr;
    }
    case 9: {
        HRESULT hr = CheckCount(params, 0);
        if (FAILED(hr))
            return hr;
        MKString xml;
        // No history reads as a null text, not an empty one.
        if (!m_services->GetUpdateHistoryXml(xml))
            return out.SetText(nullptr);
        return out.SetString(xml);
    }
    case 10: {
        HRESULT hr = CheckCount(params, 1);
        MKString text;
        if (SUCCEEDED(hr))
            hr = args.GetString(0, &text);
        return FAILED(hr) ? hr : out.SetString(SaltedDigest(text));
    }
    case 11: {
        HRESULT hr = CheckCount(params, 2);
        int64_t address = 0;
        int32_t length = 0;
        if (SUCCEEDED(hr)) {
            args.GetInt64(0, &address);
            args.GetInt(1, &length);
            hr = args.Error();
        }
        if (FAILED(hr))
            return hr;
        const void* bytes = reinterpret_cast<const void*>(static_cast<UINT_PTR>(address));
        // The address comes from the .NET side: look before reading.
        if (length < 0 || address < 0 || static_cast<uint64_t>(address) > UINTPTR_MAX ||
            (length > 0 && !MKIsReadableRange(bytes, static_cast<size_t>(length))))
            return E_INVALIDARG;
        out.SetBool(m_services->ReplacePreferences(static_cast<const uint8_t*>(bytes), length));
        return S_OK;
    }
    case 12: {
        HRESULT hr = CheckCount(params, 2);
        int64_t* address = nullptr;
        int32_t* length = nullptr;
        if (SUCCEEDED(hr)) {
            args.GetInt64Ref(0, &address);
            args.GetIntRef(1, &length);
            hr = args.Error();
        }
        if (FAILED(hr))
            return hr;
        if (!address || !length)
            return E_POINTER;
        // The blob is read in place: the caller copies it before it calls
        // into the add-in again, and frees nothing.
        const uint8_t* bytes = nullptr;
        int count = 0;
        m_services->GetPreferencesBlob(&bytes, &count);
        *address = static_cast<int64_t>(reinterpret_cast<UINT_PTR>(bytes));
        *length = bytes ? count : 0;
        return S_OK;
    }
    case 13: {
        HRESULT hr = CheckCount(params, 0);
        if (FAILED(hr))
            return hr;
        WebMessageObject* channel = new (std::nothrow) WebMessageObject();
        if (!channel)
            return E_OUTOFMEMORY;
        // Held across SetDispatch, so a caller that wants no result frees it.
        channel->AddRef();
        out.SetDispatch(channel);
        channel->Release();
        return S_OK;
    }
    case 14: {
        HRESULT hr = CheckCount(params, 0);
        GUID guid = {};
        if (FAILED(hr))
            return hr;
        if (!m_services->GetInstallationGuid(guid))
            return E_FAIL;
        return out.SetString(MKGuid(guid).FormatUpperCompact());
    }
    case 29: {
        HRESULT hr = CheckCount(params, 1);
        int32_t value = 0;
        if (SUCCEEDED(hr))
            hr = args.GetInt(0, &value);
        if (SUCCEEDED(hr))
            m_services->SetUpdateCheckValue(value);
        return hr;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
