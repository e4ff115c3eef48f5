#pragma once
#include "base/MKString.h"

#include <oaidl.h>
#include <stdint.h>

// What the QuickTime Control's node hears of its control's events: its status
// reports (event 4).
class QuickTimeStatusHandler {
public:
    virtual void OnQuickTimeStatus(int32_t first, int32_t second, const MKString& text) = 0;

protected:
    ~QuickTimeStatusHandler() = default;
};

// The sink a QuickTime Control node connects to its control's events: the
// arguments of the known events are checked (count, then types) before
// anything happens; status reports go to the handler. The node owns the sink
// and forgets it (ForgetHandler) before it goes. Count starts at 0.
class QuickTimeEventSink : public IDispatch {
public:
    explicit QuickTimeEventSink(QuickTimeStatusHandler* handler)
        : m_handler(handler)
    {
    }
    QuickTimeEventSink(const QuickTimeEventSink&) = delete;
    QuickTimeEventSink& operator=(const QuickTimeEventSink&) = delete;

    void ForgetHandler() { m_handler = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    virtual ~QuickTimeEventSink() = default;

    LONG m_refs = 0;
    QuickTimeStatusHandler* m_handler;
};
