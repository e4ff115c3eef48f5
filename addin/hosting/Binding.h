#pragma once
#include "base/MKComHolder.h"
#include "base/MKString.h"

#include <stdint.h>
#include <urlmon.h>

class BindingManager;

// One served binding of a name below the virtual root: plays the bind-status
// protocol to the control's callback. Owned by its manager's list; holds
// references on the callback, the handle it gave out, the manager and the
// stream being delivered. Deleting it releases them without calling back.
class Binding {
public:
    Binding(IBindStatusCallback* callback, BindingManager* manager, const MKString& url, int id);
    ~Binding();
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    // OnStartBinding with a new handle; the callback's failure is returned,
    // any success gives S_OK. E_FAIL without a callback or when already
    // started. The binding may have been deleted when it returns.
    HRESULT Start();
    // After a refused start: lets go of the handle, so that Stop does not
    // call OnStopBinding.
    void ForgetStart() { m_handle.Reset(); }
    // One OnDataAvailable with first and last data at once and the whole
    // stream; its answer.
    HRESULT Deliver(IStream* stream, uint32_t size);
    // OnStopBinding(S_FALSE) when started, then lets go of everything.
    void Stop();

    IBindStatusCallback* GetCallback() const { return m_callback.Get(); }
    const MKString& GetResolveUrl() const { return m_resolveUrl; }
    int GetId() const { return m_id; }
    void SetHandled(int handled) { m_handled = handled; }

private:
    MKComHolder<IBindStatusCallback> m_callback;
    MKComHolder<IBinding> m_handle;
    MKComHolder<BindingManager> m_manager;
    MKComHolder<IStream> m_stream;
    uint32_t m_size = 0;
    MKString m_url;
    MKString m_resolveUrl;
    int m_handled = 0;
    int m_id;
};
