#pragma once
#include "base/MKString.h"
#include "slidecontrol/IFOfficeDoc.h"
#include "slidecontrol/MKOleControl.h"
#include "slidecontrol/MovieProperties.h"
#include "slidecontrol/SlideShowEventTarget.h"
#include "slidecontrol/SwfHeaderReader.h"

class MKCFlashWnd;
class OfficeHostApp;
class SlideShowEventHandler;

// The slide movie control: keeps a whole SWF file and its playing properties
// in the document (IPersistStreamInit, "Contents" of a storage), draws a
// cached picture of the movie's start frame while inactive, plays the movie
// in a live Flash Player control while in-place active, and in PowerPoint
// follows the slide show: it restarts when its slide is shown and stops and
// rewinds when another slide is shown or the show ends.
//
// Made by the class factory (Create); apartment-threaded. It refuses
// in-place deactivation until the container calls IOleObject::Close.
class FOfficeDoc final : public MKOleControl, public IFOfficeDoc, private SlideShowEventTarget {
public:
    // A new control answering iid; outer is the controlling unknown when
    // aggregated (then iid must be IID_IUnknown).
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // IUnknown (to the controlling unknown)
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, driven by the type library
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IFOfficeDoc
    HRESULT STDMETHODCALLTYPE SetMovie(BSTR filename) override;
    HRESULT STDMETHODCALLTYPE GetInternalID(long* intid) override;
    HRESULT STDMETHODCALLTYPE LockActivateFlag(long) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetAddIn(VARIANT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_EnableVerbProperties(long* value) override;
    HRESULT STDMETHODCALLTYPE put_EnableVerbProperties(long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterATLEvents(VARIANT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UnregisterATLEvents(VARIANT) override { return S_OK; }

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }
    using MKOleControl::Load;
    using MKOleControl::Save;
    using MKOleControl::InitNew;

    // IOleObject and IOleInPlaceObject members with rules of their own.
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    using MKOleControl::GetExtent;

protected:
    void* QueryOwn(REFIID iid) override;
    HRESULT OnDraw(HDC dc, const RECT& bounds) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    explicit FOfficeDoc(IUnknown* outer);
    ~FOfficeDoc() override;

    // SlideShowEventTarget
    long InternalId() override;
    void RestartLiveMovie() override;
    void StopLiveMovie() override;

    void InitMembers();
    void FinalRelease();
    ITypeInfo* InterfaceTypeInfo();
    // Reads the header fields from the movie bytes (all zero when they hold none).
    void ReadMovieHeader();

    // Window messages
    LRESULT OnCreate(const CREATESTRUCTA& create);
    void OnDestroy();
    void OnSize(int width, int height);
    void OnSetFocus();
    void UIActivateSelf();

    // Flash hosting
    // Gives the control's properties and movie to a Flash window.
    void ConfigureFlash(MKCFlashWnd& flash);
    void LoadMovieInto(MKCFlashWnd& flash);
    void ShowFlashMissingOnce();

    // Snapshot
    void RenderSnapshot(HDC target, const RECT& bounds);
    void UpdateLiveSnapshot();
    // Copies w by h pixels that the Flash window paints into a memory DC to
    // (0, 0) of `target`; `faceRect` gets the button face when GDI fails.
    void PaintFlash(HWND flash, HDC target, int w, int h, const RECT& faceRect);
    void DropSnapshot();

    // Host
    long IsInPresentation();
    HRESULT DetectHost();
    void ConnectHostEvents();

    OfficeHostApp* m_pHost = nullptr;
    SlideShowEventHandler* m_pShowEvents = nullptr;
    bool m_bFlashUnavailable = false;
    MKCFlashWnd* m_pFlashWnd = nullptr;
    bool m_bFresh = true;
    MovieProperties m_properties;
    SwfHeaderInfo m_header;
    HMETAFILE m_hSnapshot = nullptr;
    int m_cxSnapshot = 0;
    int m_cySnapshot = 0;
    bool m_bHoldActive = true;
    ITypeInfo* m_interfaceInfo = nullptr;
};
