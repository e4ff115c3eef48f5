#pragma once
#include <windows.h>
#include <ole2.h>

#include "companions/trampoline/TrampolineIds.h"

// The OLE object on which PowerPoint fires the verbs of content effects in a
// slide show. DoVerb posts the verb to the add-in's message window inside the
// parent window PowerPoint passes and returns at once; nothing comes back.
// Otherwise the object is inert and draws as an empty metafile picture.
// Lives in the server's single-threaded apartment, so its count is plain;
// it holds a module lock for its life. When aggregated, its interfaces
// delegate IUnknown to the outer object and the outer one holds the inner
// unknown, which owns the count.
class VistelloTrampolineObject final : public IVistelloTrampolineObject, public IOleObject, public IDataObject {
public:
    // Count 0: the creator takes the first reference (on Inner()).
    explicit VistelloTrampolineObject(IUnknown* outer = nullptr);
    VistelloTrampolineObject(const VistelloTrampolineObject&) = delete;
    VistelloTrampolineObject& operator=(const VistelloTrampolineObject&) = delete;

    // The object's own (non-delegating) IUnknown.
    IUnknown* Inner() { return &m_inner; }

    // Posts the verb (wParam) to the "VistelloMessageWindow" child of the
    // parent with the process's registered verb message. False for a verb of
    // 0 or below, no live parent, no such child or a failed post.
    static bool PostVerb(LONG verb, HWND parent);

    // IUnknown, delegated to the controlling object.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, from the type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IOleObject.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR application, LPCOLESTR object) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG message, IOleClientSite* activeSite, LONG index, HWND parent,
                                     LPCRECT rectangle) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* classId) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* userType) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

    // IDataObject.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advises) override;

private:
    // The non-delegating IUnknown: the count and the interface map.
    class InnerUnknown final : public IUnknown {
    public:
        explicit InnerUnknown(VistelloTrampolineObject* object) : m_object(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        VistelloTrampolineObject* m_object;
    };

    ~VistelloTrampolineObject();
    // The final release: the holder goes inside the crash guard.
    ULONG FinalRelease();
    // The type library's description of the default interface, loaded once.
    HRESULT LoadTypeInfo();

    ULONG m_refs = 0;
    InnerUnknown m_inner{this};
    IUnknown* m_controlling;
    IDataAdviseHolder* m_adviseHolder = nullptr;
    ITypeInfo* m_typeInfo = nullptr;
};
