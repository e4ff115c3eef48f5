#pragma once
#include "hostapi/OfficeInterfaces.h"

class UpdaterAddIn;

// The update add-in's IDTExtensibility2. It has no count of its own: AddRef
// and Release go to the owner's controlling object, which it must not
// outlive. Office calls it on PowerPoint's user-interface thread; every
// method answers E_UNEXPECTED after a fault.
class UpdaterConnection final : public Office::IDTExtensibility2 {
public:
    explicit UpdaterConnection(UpdaterAddIn* owner) : m_owner(owner) {}
    virtual ~UpdaterConnection();
    UpdaterConnection(const UpdaterConnection&) = delete;
    UpdaterConnection& operator=(const UpdaterConnection&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // Keeps Application and AddInInst; when AddInInst is a COM add-in, runs
    // the request of "cmd.dat". S_OK (E_POINTER without an Application).
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                           SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(long removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

private:
    void ReleaseHeld();

    UpdaterAddIn* m_owner;
    IDispatch* m_application = nullptr;
    IDispatch* m_addInInst = nullptr;
    bool m_startupComplete = false;
};
