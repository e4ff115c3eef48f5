#pragma once
#include "hostapi/OfficeInterfaces.h"

class LoaderAddIn;

// The loader's IDTExtensibility2. It has no count of its own: AddRef and
// Release go to the owner's controlling object, which it must not outlive.
// Office calls it on PowerPoint's user-interface thread.
class LoaderConnection final : public Office::IDTExtensibility2 {
public:
    explicit LoaderConnection(LoaderAddIn* owner) : m_owner(owner) {}
    // Releases Application and AddInInst when still held.
    virtual ~LoaderConnection();
    LoaderConnection(const LoaderConnection&) = delete;
    LoaderConnection& operator=(const LoaderConnection&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // Keeps Application and AddInInst and runs the hand-over; S_OK whatever
    // the hand-over did (E_POINTER without an Application).
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                           SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(long removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

private:
    LoaderAddIn* m_owner;
    IDispatch* m_application = nullptr;
    IDispatch* m_addInInst = nullptr;
    bool m_startupComplete = false;
};
