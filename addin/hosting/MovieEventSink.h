#pragma once
#include <oaidl.h>

class MovieNode;

// The effect movie node's sink on its Flash control's events: the movie's
// ExternalInterface calls (FlashCall) go to the node; the control's other
// events are checked and accepted. The node owns the sink and forgets it
// (ForgetNode) before it goes; a call arriving later answers E_FAIL.
class MovieEventSink : public IDispatch {
public:
    explicit MovieEventSink(MovieNode* node) : m_node(node) { }
    MovieEventSink(const MovieEventSink&) = delete;
    MovieEventSink& operator=(const MovieEventSink&) = delete;

    void ForgetNode() { m_node = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    virtual ~MovieEventSink() = default;

    LONG m_refs = 0;
    MovieNode* m_node;
};
