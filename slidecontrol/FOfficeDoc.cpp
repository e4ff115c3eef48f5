#include "slidecontrol/FOfficeDoc.h"

#include "base/MKMemInStream.h"
#include "player/app/framework/MKCFlashWnd.h"
#include "slidecontrol/MovieFile.h"
#include "slidecontrol/OfficeHostApp.h"
#include "slidecontrol/PlovapointModule.h"
#include "slidecontrol/SlideShowEventHandler.h"

#include <new>

HRESULT FOfficeDoc::Create(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && iid != IID_IUnknown)
        return CLASS_E_NOAGGREGATION;
    FOfficeDoc* doc = new (std::nothrow) FOfficeDoc(outer);
    if (!doc)
        return E_OUTOFMEMORY;
    IUnknown* inner = doc->Inner();
    inner->AddRef();
    HRESULT hr = inner->QueryInterface(iid, out);
    inner->Release();
    return hr;
}

FOfficeDoc::FOfficeDoc(IUnknown* outer) : MKOleControl(outer, CLSID_FOfficeDoc, IID_IFOfficeDoc)
{
    InitMembers();
}

FOfficeDoc::~FOfficeDoc()
{
    FinalRelease();
}

void FOfficeDoc::InitMembers()
{
    m_pHost = nullptr;
    m_pShowEvents = nullptr;
    m_bFlashUnavailable = false;
    m_pFlashWnd = nullptr;
    m_bFresh = true;
    m_properties.movie.RemoveAll();
    m_properties.scaleMode = 2;
    m_properties.quality = 2;
    m_properties.background = false;
    m_properties.backgroundColour = 0xFFFFFF;
    m_properties.loop = true;
    m_properties.autoPlay = true;
    m_properties.startFrame = 0;
    m_properties.extraFlag = false;
    m_header = SwfHeaderInfo();
    m_hSnapshot = nullptr;
    m_cxSnapshot = 0;
    m_cySnapshot = 0;
    m_bHoldActive = true;
}

void FOfficeDoc::FinalRelease()
{
    DropSnapshot();
    // The handler unadvises its sink before the host it uses goes.
    delete m_pShowEvents;
    m_pShowEvents = nullptr;
    delete m_pHost;
    m_pHost = nullptr;
    m_properties.movie.RemoveAll();
    if (m_pFlashWnd) {
        delete m_pFlashWnd;
        m_pFlashWnd = nullptr;
    }
    if (m_interfaceInfo) {
        m_interfaceInfo->Release();
        m_interfaceInfo = nullptr;
    }
}

// IUnknown

HRESULT FOfficeDoc::QueryInterface(REFIID iid, void** out)
{
    return MKOleControl::QueryInterface(iid, out);
}

ULONG FOfficeDoc::AddRef()
{
    return MKOleControl::AddRef();
}

ULONG FOfficeDoc::Release()
{
    return MKOleControl::Release();
}

void* FOfficeDoc::QueryOwn(REFIID iid)
{
    if (iid == IID_IFOfficeDoc || iid == IID_IDispatch)
        return static_cast<IFOfficeDoc*>(this);
    return nullptr;
}

// IDispatch

ITypeInfo* FOfficeDoc::InterfaceTypeInfo()
{
    if (m_interfaceInfo)
        return m_interfaceInfo;
    ITypeInfo* dispatchInfo = TypeInfoOf(IID_IFOfficeDoc);
    if (!dispatchInfo)
        return nullptr;
    // Calls go through the virtual table: the dual interface's own
    // description, not its dispatch view.
    HREFTYPE reference = 0;
    ITypeInfo* interfaceInfo = nullptr;
    if (SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(UINT(-1), &reference)) &&
        SUCCEEDED(dispatchInfo->GetRefTypeInfo(reference, &interfaceInfo)))
        m_interfaceInfo = interfaceInfo;
    dispatchInfo->Release();
    return m_interfaceInfo;
}

HRESULT FOfficeDoc::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT FOfficeDoc::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    *info = TypeInfoOf(IID_IFOfficeDoc);
    return *info ? S_OK : TYPE_E_CANTLOADLIBRARY;
}

HRESULT FOfficeDoc::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    ITypeInfo* info = InterfaceTypeInfo();
    if (!info)
        return TYPE_E_CANTLOADLIBRARY;
    return DispGetIDsOfNames(info, names, count, ids);
}

HRESULT FOfficeDoc::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, UINT* argumentError)
{
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    return PlovapointModule::Guard([&] {
        ITypeInfo* info = InterfaceTypeInfo();
        if (!info)
            return HRESULT(TYPE_E_CANTLOADLIBRARY);
        return DispInvoke(static_cast<IFOfficeDoc*>(this), info, id, flags, params, result, exception,
                          argumentError);
    });
}

// IFOfficeDoc

HRESULT FOfficeDoc::SetMovie(BSTR filename)
{
    return PlovapointModule::Guard([&] {
        m_bFresh = false;
        SetDirty(true);
        // The wide name is read as it is: no file name is lost to the ANSI
        // code page. An unreadable file leaves the movie empty.
        ReadMovieFile(filename, m_properties.movie);
        ReadMovieHeader();
        SetDirty(true);
        DropSnapshot();
        SendOnDataChange();
        FireViewChange();
        return S_OK;
    });
}

HRESULT FOfficeDoc::GetInternalID(long* intid)
{
    if (!intid)
        return E_POINTER;
    *intid = InternalId();
    return S_OK;
}

HRESULT FOfficeDoc::get_EnableVerbProperties(long* value)
{
    if (value)
        *value = 0;
    return E_NOTIMPL;
}

void FOfficeDoc::ReadMovieHeader()
{
    m_header = SwfHeaderInfo();
    if (m_properties.movie.IsEmpty())
        return;
    MKMemInStream bytes(m_properties.movie.GetData(), m_properties.movie.GetCount());
    ReadSwfHeader(bytes, m_header);
}

// IPersistStreamInit

HRESULT FOfficeDoc::IsDirty()
{
    return IsDirtyFlag() ? S_OK : S_FALSE;
}

// IOleObject, IOleInPlaceObject

HRESULT FOfficeDoc::Close(DWORD saveOption)
{
    m_bHoldActive = false;
    return MKOleControl::Close(saveOption);
}

HRESULT FOfficeDoc::InPlaceDeactivate()
{
    // PowerPoint deactivates controls on its own schedule; the movie keeps
    // playing until the container closes the control.
    if (m_bHoldActive)
        return S_OK;
    return MKOleControl::InPlaceDeactivate();
}

HRESULT FOfficeDoc::SetExtent(DWORD aspect, SIZEL* size)
{
    HRESULT hr = MKOleControl::SetExtent(aspect, size);
    if (!m_bFresh) {
        if (m_pFlashWnd)
            UpdateLiveSnapshot();
        else
            DropSnapshot();
    }
    return hr;
}

// SlideShowEventTarget

long FOfficeDoc::InternalId()
{
    // The object's address: stable for its life, unique among live objects.
    return long(reinterpret_cast<uintptr_t>(this));
}

void FOfficeDoc::RestartLiveMovie()
{
    if (!m_pFlashWnd)
        return;
    m_pFlashWnd->GotoFrame(m_properties.startFrame);
    if (m_properties.autoPlay)
        m_pFlashWnd->Play();
}

void FOfficeDoc::StopLiveMovie()
{
    if (!m_pFlashWnd)
        return;
    m_pFlashWnd->Stop();
    m_pFlashWnd->GotoFrame(m_properties.startFrame);
}
