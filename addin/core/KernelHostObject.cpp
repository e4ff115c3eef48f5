#include "addin/core/KernelHostObject.h"

#include "addin/core/AddInCore.h"
#include "addin/core/AddInCoreHost.h"
#include "addin/core/AddInGuard.h"
#include "addin/core/ExportMoviePicture.h"
#include "addin/core/HostCreatedObject.h"
#include "addin/core/ShapeEffectData.h"
#include "addin/core/ShapeEffectMarker.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "addin/imaging/ImageFiles.h"
#include "base/MKCoTaskMemBuffer.h"
#include "base/MKCompressBuffers.h"
#include "base/MKMemoryRange.h"

#include <new>

namespace {

void* AddressOf(long value)
{
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<ULONG>(value)));
}

// A zero-terminated wide text at an address from the .NET side, looked at
// page by page before it is read; false when it runs into memory that may
// not be read.
bool ReadTextAt(const wchar_t* text, MKString& out)
{
    constexpr UINT_PTR kPage = 4096;
    int length = 0;
    for (const wchar_t* at = text;;) {
        const UINT_PTR room = kPage - (reinterpret_cast<UINT_PTR>(at) & (kPage - 1));
        const size_t count = room >= sizeof(wchar_t) ? room / sizeof(wchar_t) : 1;
        if (!MKIsReadableRange(at, count * sizeof(wchar_t)))
            return false;
        for (size_t i = 0; i < count; ++i) {
            if (at[i] == 0) {
                out.Assign(text, length + static_cast<int>(i));
                return true;
            }
        }
        if (length > 0x3FFFFFFF - static_cast<int>(count))
            return false;
        length += static_cast<int>(count);
        at += count;
    }
}

// The PowerPoint effect behind an object address from the .NET side, with
// one reference; null when the address names no readable object or the
// object is no effect.
PowerPoint::Effect* EffectAt(void* address)
{
    auto* object = static_cast<IUnknown*>(address);
    if (!object || !MKIsReadableRange(object, sizeof(void*)) ||
        !MKIsReadableRange(*reinterpret_cast<void**>(object), 3 * sizeof(void*)))
        return nullptr;
    PowerPoint::Effect* effect = nullptr;
    if (FAILED(object->QueryInterface(PowerPoint::IID_Effect, reinterpret_cast<void**>(&effect))))
        return nullptr;
    return effect;
}

}  // namespace

KernelHostObject::KernelHostObject(AddInCore* core, AddInCoreHost* owner) : m_core(core), m_owner(owner) {}

HRESULT KernelHostObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IKernelHost)
        return E_NOINTERFACE;
    *out = static_cast<IKernelHost*>(this);
    AddRef();
    return S_OK;
}

ULONG KernelHostObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG KernelHostObject::Release()
{
    static AddInGuardRecord s_guard;
    return AddInGuardedRelease(s_guard, m_refs, [this] { delete this; });
}

HRESULT KernelHostObject::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return E_NOTIMPL;
}

HRESULT KernelHostObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT KernelHostObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT KernelHostObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT KernelHostObject::ReportPluginException(BSTR, BSTR)
{
    return S_OK;
}

HRESULT KernelHostObject::GetKernelVersion(BSTR* version)
{
    if (!version)
        return E_POINTER;
    *version = m_core->GetKernelVersion().ToString().ToBstr();
    return S_OK;
}

HRESULT KernelHostObject::GetEffectTypeState(long index, long* state)
{
    if (!state)
        return E_POINTER;
    *state = 0;
    // Indices start at 1, the index the first registered type was given.
    EffectDataRecord* record = index >= 1 && index < m_core->GetEffectTypes().GetIndexLimit()
                                   ? m_core->GetEffectTypes().GetAt(static_cast<int>(index))
                                   : nullptr;
    if (!record)
        return E_INVALIDARG;
    *state = record->GetStateFlag(0) ? 2 : record->GetStateFlag(1) ? 1 : 0;
    return S_OK;
}

HRESULT KernelHostObject::CountEffectTypeUse(long index)
{
    EffectDataRecord* record = index >= 1 && index < m_core->GetEffectTypes().GetIndexLimit()
                                   ? m_core->GetEffectTypes().GetAt(static_cast<int>(index))
                                   : nullptr;
    if (record)
        m_owner->CountUse(record->GetUsageId());
    return S_OK;
}

HRESULT KernelHostObject::CountUse(long kind)
{
    if (kind == 1 || kind == 2)
        m_owner->CountUse(static_cast<uint32_t>(kind));
    return S_OK;
}

namespace {

// The version's text; a null BSTR when the control is not installed.
HRESULT AnswerPlayerVersion(const MKVersion& installed, BSTR* version)
{
    if (!version)
        return E_POINTER;
    *version = installed == PlayerVersionCache::NotInstalled() ? nullptr : installed.ToString().ToBstr();
    return S_OK;
}

}  // namespace

HRESULT KernelHostObject::GetFlashVersion(BSTR* version)
{
    PlayerVersionCache* cache = m_owner->GetPlayerVersions();
    return AnswerPlayerVersion(cache ? cache->GetFlashVersion() : PlayerVersionCache::NotInstalled(), version);
}

HRESULT KernelHostObject::GetQuickTimeVersion(BSTR* version)
{
    PlayerVersionCache* cache = m_owner->GetPlayerVersions();
    return AnswerPlayerVersion(cache ? cache->GetQuickTimeControlVersion() : PlayerVersionCache::NotInstalled(),
                               version);
}

HRESULT KernelHostObject::CreateHttpRequest(IDispatch** request)
{
    if (!request)
        return E_POINTER;
    *request = new (std::nothrow) HostCreatedObject(m_owner->GetModuleInstance());
    if (!*request)
        return E_OUTOFMEMORY;
    (*request)->AddRef();
    return S_OK;
}

HRESULT KernelHostObject::ExportPicture(BSTR moviePath, long width, long height, long frame, BSTR outputPath,
                                        long format, long quality, long backgroundMode, long backgroundColor,
                                        BSTR* message)
{
    if (message)
        *message = nullptr;
    MKString error = ExportMoviePicture(MKString(moviePath ? moviePath : L""), width, height, frame,
                                        MKString(outputPath ? outputPath : L""), format, quality, backgroundMode,
                                        static_cast<uint32_t>(backgroundColor));
    if (message && !error.IsEmpty())
        *message = error.ToBstr();
    return S_OK;
}

HRESULT KernelHostObject::GetShapeEffectId(IUnknown* effect, BSTR* id)
{
    if (!id)
        return E_POINTER;
    *id = nullptr;
    PowerPoint::Effect* animation = nullptr;
    if (!effect || FAILED(effect->QueryInterface(PowerPoint::IID_Effect, reinterpret_cast<void**>(&animation))))
        return S_OK;
    MKString text;
    if (ReadShapeEffectId(animation, &text, nullptr))
        *id = text.ToBstr();
    animation->Release();
    return S_OK;
}

HRESULT KernelHostObject::WriteShapeEffect(long effect, long id, long bytes, long length)
{
    // Every address is looked at before it is used: a bad one fails the call.
    MKString idText;
    const bool hasId = id != 0;
    if (hasId && !ReadTextAt(static_cast<const wchar_t*>(AddressOf(id)), idText))
        return E_FAIL;
    const uint8_t* data = static_cast<const uint8_t*>(AddressOf(bytes));
    if (data && length > 0 && !MKIsReadableRange(data, static_cast<size_t>(length)))
        return E_FAIL;
    PowerPoint::Effect* animation = EffectAt(AddressOf(effect));
    if (!animation)
        return E_FAIL;
    const bool written = ::WriteShapeEffect(animation, hasId ? idText.GetText() : nullptr, data,
                                            static_cast<int>(length));
    animation->Release();
    return written ? S_OK : E_FAIL;
}

HRESULT KernelHostObject::ReadShapeEffectData(IUnknown* effect, long* address, long* size)
{
    if (address)
        *address = 0;
    if (size)
        *size = 0;
    if (!address || !size)
        return E_POINTER;
    PowerPoint::Effect* animation = nullptr;
    if (!effect || FAILED(effect->QueryInterface(PowerPoint::IID_Effect, reinterpret_cast<void**>(&animation))))
        return E_FAIL;
    MKCoTaskMemBuffer data;
    int length = 0;
    const bool read = ::ReadShapeEffectData(animation, data, &length);
    animation->Release();
    if (!read)
        return E_FAIL;
    *size = length;
    *address = static_cast<long>(reinterpret_cast<UINT_PTR>(data.Detach()));
    return S_OK;
}

HRESULT KernelHostObject::GetImageFileSize(const wchar_t* path, long* width, long* height, long* ok)
{
    if (!width || !height)
        return E_POINTER;
    int w = 0;
    int h = 0;
    bool read = path && ReadImageFileSize(MKString(path), &w, &h);
    *width = read ? w : 0;
    *height = read ? h : 0;
    if (ok)
        *ok = read ? 1 : 0;
    return S_OK;
}

HRESULT KernelHostObject::StopSlideShow()
{
    if (m_owner)
        m_owner->StopSlideShowSession();
    return S_OK;
}

HRESULT KernelHostObject::CompressBuffer(long source, long sourceLength, long target, long capacity, long level,
                                         long raw, long* produced, long* ok)
{
    if (produced)
        *produced = 0;
    if (ok)
        *ok = 0;
    if (!produced || !ok)
        return E_POINTER;
    // The buffers come from the .NET side as integers: look before touching.
    if (sourceLength < 0 || capacity <= 0 ||
        (sourceLength > 0 && !MKIsReadableRange(AddressOf(source), static_cast<size_t>(sourceLength))) ||
        !MKIsWritableRange(AddressOf(target), static_cast<size_t>(capacity)))
        return S_OK;
    int made = 0;
    if (MKCompressBuffer(AddressOf(source), sourceLength, AddressOf(target), capacity, &made, level, raw != 0)) {
        *produced = made;
        *ok = 1;
    }
    return S_OK;
}

HRESULT KernelHostObject::UncompressBuffer(long source, long sourceLength, long target, long length, long raw,
                                           long* produced, long* ok)
{
    if (produced)
        *produced = 0;
    if (ok)
        *ok = 0;
    if (!produced || !ok)
        return E_POINTER;
    if (sourceLength <= 0 || length <= 0 || !MKIsReadableRange(AddressOf(source), static_cast<size_t>(sourceLength)) ||
        !MKIsWritableRange(AddressOf(target), static_cast<size_t>(length)))
        return S_OK;
    int made = 0;
    if (MKUncompressBuffer(AddressOf(source), sourceLength, AddressOf(target), length, &made, raw != 0)) {
        *produced = made;
        *ok = 1;
    }
    return S_OK;
}
