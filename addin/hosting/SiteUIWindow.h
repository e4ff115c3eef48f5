#pragma once
#include <oleidl.h>

// The document window a ControlSite hands to its control in
// GetWindowContext: it only remembers the control's active object. Count
// starts at 0; the last Release deletes it.
class SiteUIWindow : public IOleInPlaceUIWindow {
public:
    SiteUIWindow() = default;
    SiteUIWindow(const SiteUIWindow&) = delete;
    SiteUIWindow& operator=(const SiteUIWindow&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

    IOleInPlaceActiveObject* GetActiveObject() const { return m_activeObject; }

private:
    virtual ~SiteUIWindow();

    LONG m_refs = 0;
    IOleInPlaceActiveObject* m_activeObject = nullptr;
};
