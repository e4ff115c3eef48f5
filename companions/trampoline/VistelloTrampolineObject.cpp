#include "companions/trampoline/VistelloTrampolineObject.h"

#include "companions/trampoline/TrampolineModule.h"

#include "base/MKCrashGuard.h"

namespace {

const wchar_t kMessageWindow[] = L"VistelloMessageWindow";
const wchar_t kVerbMessageName[] = L"{7A121FE9-1253-48e4-9337-9205C2B179DF}";

// The one picture format the object offers: an empty metafile picture.
bool IsPictureFormat(const FORMATETC* format)
{
    return format && format->lindex == -1 && static_cast<WORD>(format->cfFormat) == CF_METAFILEPICT &&
           (format->tymed & TYMED_MFPICT) != 0;
}

}  // namespace

VistelloTrampolineObject::VistelloTrampolineObject(IUnknown* outer) : m_controlling(outer ? outer : &m_inner)
{
    TrampolineLock();
}

VistelloTrampolineObject::~VistelloTrampolineObject()
{
    if (m_typeInfo)
        m_typeInfo->Release();
    TrampolineUnlock();
}

bool VistelloTrampolineObject::PostVerb(LONG verb, HWND parent)
{
    // Registered once per process; a failed registration is not retried.
    static const UINT s_message = RegisterWindowMessageW(kVerbMessageName);
    if (s_message == 0 || verb <= 0)
        return false;
    if (!parent || !IsWindow(parent))
        return false;
    HWND target = FindWindowExW(parent, nullptr, kMessageWindow, kMessageWindow);
    return target && PostMessageW(target, s_message, static_cast<WPARAM>(verb), 0);
}

HRESULT VistelloTrampolineObject::InnerUnknown::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    VistelloTrampolineObject* object = m_object;
    // Aggregated, the outer object asks for this very unknown; alone, the
    // object's identity is its first interface.
    if (iid == IID_IUnknown && object->m_controlling != this)
        *out = static_cast<IUnknown*>(this);
    else if (iid == IID_IUnknown || iid == IID_IVistelloTrampolineObject || iid == IID_IDispatch)
        *out = static_cast<IVistelloTrampolineObject*>(object);
    else if (iid == IID_IOleObject)
        *out = static_cast<IOleObject*>(object);
    else if (iid == IID_IDataObject)
        *out = static_cast<IDataObject*>(object);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

ULONG VistelloTrampolineObject::InnerUnknown::AddRef()
{
    return ++m_object->m_refs;
}

ULONG VistelloTrampolineObject::InnerUnknown::Release()
{
    ULONG refs = --m_object->m_refs;
    return refs == 0 ? m_object->FinalRelease() : refs;
}

ULONG VistelloTrampolineObject::FinalRelease()
{
    static MKExceptionInfo s_info;
    MKCrashGuard(s_info, [&] {
        if (m_adviseHolder) {
            IDataAdviseHolder* holder = m_adviseHolder;
            m_adviseHolder = nullptr;
            holder->Release();
        }
    });
    delete this;
    return 0;
}

HRESULT VistelloTrampolineObject::QueryInterface(REFIID iid, void** out)
{
    return m_controlling->QueryInterface(iid, out);
}

ULONG VistelloTrampolineObject::AddRef()
{
    return m_controlling->AddRef();
}

ULONG VistelloTrampolineObject::Release()
{
    return m_controlling->Release();
}

HRESULT VistelloTrampolineObject::LoadTypeInfo()
{
    if (m_typeInfo)
        return S_OK;
    ITypeLib* library = nullptr;
    HRESULT hr = LoadRegTypeLib(LIBID_VistelloTrampolineLib, 1, 0, LOCALE_NEUTRAL, &library);
    if (FAILED(hr)) {
        // Not registered: the server program carries the library itself.
        wchar_t path[MAX_PATH];
        DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return hr;
        hr = LoadTypeLibEx(path, REGKIND_NONE, &library);
        if (FAILED(hr))
            return hr;
    }
    hr = library->GetTypeInfoOfGuid(IID_IVistelloTrampolineObject, &m_typeInfo);
    library->Release();
    return hr;
}

HRESULT VistelloTrampolineObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    HRESULT hr = LoadTypeInfo();
    if (FAILED(hr))
        return hr;
    m_typeInfo->AddRef();
    *info = m_typeInfo;
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    HRESULT hr = LoadTypeInfo();
    return FAILED(hr) ? hr : DispGetIDsOfNames(m_typeInfo, names, count, ids);
}

HRESULT VistelloTrampolineObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                         EXCEPINFO* exception, UINT* argumentError)
{
    HRESULT hr = LoadTypeInfo();
    if (FAILED(hr))
        return hr;
    return DispInvoke(static_cast<IVistelloTrampolineObject*>(this), m_typeInfo, id, flags, params, result,
                      exception, argumentError);
}

HRESULT VistelloTrampolineObject::SetClientSite(IOleClientSite*)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetClientSite(IOleClientSite** site)
{
    if (site)
        *site = nullptr;
    return S_OK;
}

HRESULT VistelloTrampolineObject::SetHostNames(LPCOLESTR, LPCOLESTR)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::Close(DWORD)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::SetMoniker(DWORD, IMoniker*)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return S_OK;
}

HRESULT VistelloTrampolineObject::InitFromData(IDataObject*, BOOL, DWORD)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetClipboardData(DWORD, IDataObject** data)
{
    if (data)
        *data = nullptr;
    return S_OK;
}

HRESULT VistelloTrampolineObject::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT)
{
    // PowerPoint waits for nothing: a verb that reaches no show is dropped.
    PostVerb(verb, parent);
    return S_OK;
}

HRESULT VistelloTrampolineObject::EnumVerbs(IEnumOLEVERB**)
{
    return E_NOTIMPL;
}

HRESULT VistelloTrampolineObject::Update()
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::IsUpToDate()
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetUserClassID(CLSID* classId)
{
    if (!classId)
        return E_POINTER;
    *classId = CLSID_VistelloTrampolineObject;
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetUserType(DWORD, LPOLESTR*)
{
    return E_NOTIMPL;
}

HRESULT VistelloTrampolineObject::SetExtent(DWORD, SIZEL*)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::GetExtent(DWORD, SIZEL* size)
{
    if (size)
        size->cx = size->cy = 0;
    return S_OK;
}

HRESULT VistelloTrampolineObject::Advise(IAdviseSink*, DWORD* connection)
{
    if (connection)
        *connection = 0;
    return S_OK;
}

HRESULT VistelloTrampolineObject::Unadvise(DWORD)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::EnumAdvise(IEnumSTATDATA**)
{
    return E_NOTIMPL;
}

HRESULT VistelloTrampolineObject::GetMiscStatus(DWORD, DWORD* status)
{
    if (status)
        *status = 0;
    return S_OK;
}

HRESULT VistelloTrampolineObject::SetColorScheme(LOGPALETTE*)
{
    return E_NOTIMPL;
}

HRESULT VistelloTrampolineObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        if (!medium)
            return E_POINTER;
        medium->tymed = TYMED_NULL;
        medium->hGlobal = nullptr;
        medium->pUnkForRelease = nullptr;
        if (!IsPictureFormat(format))
            return DV_E_FORMATETC;
        HDC recorder = CreateMetaFileW(nullptr);
        HMETAFILE metafile = recorder ? CloseMetaFile(recorder) : nullptr;
        if (!metafile)
            return DV_E_FORMATETC;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(METAFILEPICT));
        if (!memory) {
            DeleteMetaFile(metafile);
            return DV_E_FORMATETC;
        }
        auto* picture = static_cast<METAFILEPICT*>(GlobalLock(memory));
        if (!picture) {
            DeleteMetaFile(metafile);
            GlobalFree(memory);
            return DV_E_FORMATETC;
        }
        picture->mm = MM_ANISOTROPIC;
        picture->xExt = 100;
        picture->yExt = 100;
        picture->hMF = metafile;
        GlobalUnlock(memory);
        medium->tymed = TYMED_MFPICT;
        medium->hMetaFilePict = memory;
        return S_OK;
    });
}

HRESULT VistelloTrampolineObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT VistelloTrampolineObject::QueryGetData(FORMATETC* format)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT { return IsPictureFormat(format) ? S_OK : DV_E_FORMATETC; });
}

HRESULT VistelloTrampolineObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*)
{
    return E_NOTIMPL;
}

HRESULT VistelloTrampolineObject::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return S_OK;
}

HRESULT VistelloTrampolineObject::EnumFormatEtc(DWORD, IEnumFORMATETC** formats)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        if (formats)
            *formats = nullptr;
        return E_NOTIMPL;
    });
}

HRESULT VistelloTrampolineObject::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        if (connection)
            *connection = 0;
        if (!m_adviseHolder && FAILED(CreateDataAdviseHolder(&m_adviseHolder)))
            return E_OUTOFMEMORY;
        return m_adviseHolder->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
    });
}

HRESULT VistelloTrampolineObject::DUnadvise(DWORD connection)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        return m_adviseHolder ? m_adviseHolder->Unadvise(connection) : E_FAIL;
    });
}

HRESULT VistelloTrampolineObject::EnumDAdvise(IEnumSTATDATA**)
{
    return E_NOTIMPL;
}
