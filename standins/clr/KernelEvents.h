#pragma once
#include "hostapi/PluginInterfaces.h"
#include "standins/clr/ScriptedObject.h"

namespace standin_clr {

// The stand-in kernel's event object: logs each event as
// "Kernel.<event> <identity of each argument>" (the IUnknown address, in
// hex). The "before" events answer the number in VISTELLO_CLR_CANCEL (0
// when unset); Query answers VISTELLO_CLR_QUERY (-1 when unset).
class KernelEvents : public ScriptedObject<KernelEventSink> {
public:
    KernelEvents() : ScriptedObject(L"KernelEvents") {}

    HRESULT STDMETHODCALLTYPE OnStarted() override;
    HRESULT STDMETHODCALLTYPE WindowSelectionChange(IDispatch* selection) override;
    HRESULT STDMETHODCALLTYPE WindowBeforeRightClick(IDispatch* selection, long* cancel) override;
    HRESULT STDMETHODCALLTYPE WindowBeforeDoubleClick(long* cancel) override;
    HRESULT STDMETHODCALLTYPE PresentationClose(IDispatch* presentation) override;
    HRESULT STDMETHODCALLTYPE PresentationSave(IDispatch* presentation) override;
    HRESULT STDMETHODCALLTYPE PresentationOpen(IDispatch* presentation) override;
    HRESULT STDMETHODCALLTYPE NewPresentation(IDispatch* presentation) override;
    HRESULT STDMETHODCALLTYPE PresentationNewSlide(IDispatch* slide) override;
    HRESULT STDMETHODCALLTYPE WindowActivate(IDispatch* presentation, IDispatch* window) override;
    HRESULT STDMETHODCALLTYPE WindowDeactivate(IDispatch* presentation, IDispatch* window) override;
    HRESULT STDMETHODCALLTYPE SlideShowBegin(IDispatch* showWindow) override;
    HRESULT STDMETHODCALLTYPE SlideShowEnd(IDispatch* presentation) override;
    HRESULT STDMETHODCALLTYPE PresentationPrint(IDispatch* presentation) override;
    HRESULT STDMETHODCALLTYPE SlideSelectionChanged(IDispatch* range) override;
    HRESULT STDMETHODCALLTYPE ColorSchemeChanged(IDispatch* range) override;
    HRESULT STDMETHODCALLTYPE Query(long code, BSTR text, long* answer) override;
    HRESULT STDMETHODCALLTYPE ShowMessage(BSTR caption, BSTR text) override;

protected:
    void* QueryOwn(REFIID iid) override;

private:
    HRESULT Event(const wchar_t* name, IUnknown* first = nullptr, IUnknown* second = nullptr);
};

// The identity of a COM object as text: its IUnknown's address in hex,
// "null" for none.
std::wstring Identity(IUnknown* object);

}  // namespace standin_clr
