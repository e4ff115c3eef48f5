#pragma once
#include <windows.h>
#include <ocidl.h>

class SlideShowEventHandler;

// The IDispatch sink of PowerPoint's application events for one control:
// advised on the application's connection point for the event interface,
// it checks each event's arguments (count, and the PowerPoint type of every
// object by its type information) and hands them to the handler's slot.
// Made with one reference for its creator; the handler must outlive the
// connection (Unadvise). UI thread only.
class PowerPointEventSink final : public IDispatch {
public:
    PowerPointEventSink() = default;
    PowerPointEventSink(const PowerPointEventSink&) = delete;
    PowerPointEventSink& operator=(const PowerPointEventSink&) = delete;

    // False for a null handler or application, an application that is not
    // PowerPoint's, or a connection that cannot be made.
    bool Advise(SlideShowEventHandler* handler, IDispatch* application);
    void Unadvise();
    bool Connected() const { return m_connected; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    ~PowerPointEventSink();
    HRESULT Dispatch(DISPID id, DISPPARAMS& params);

    LONG m_refs = 1;
    SlideShowEventHandler* m_handler = nullptr;
    IID m_interface = {};
    DWORD m_cookie = 0;
    bool m_connected = false;
    IConnectionPoint* m_point = nullptr;
    IConnectionPointContainer* m_container = nullptr;
};
