#pragma once
#include <windows.h>
#include <urlmon.h>
#include <map>
#include <string>
#include <vector>

// A bind host of our own for tests of controls that load through their site:
// names given to Serve are bound from memory the way the product's bind host
// serves its virtual folder (OnStartBinding, one OnDataAvailable with the
// whole stream and flags 5, OnStopBinding(S_FALSE), all before
// MonikerBindToStorage returns, to the callback registered in the bind
// context); any other name fails with E_FAIL without a callback. Names asked
// for are kept in `requests`. Made with one reference for its creator.
class TestBindHost final : public IBindHost {
public:
    TestBindHost() = default;
    TestBindHost(const TestBindHost&) = delete;
    TestBindHost& operator=(const TestBindHost&) = delete;

    void Serve(const std::wstring& name, const std::string& bytes) { m_content[name] = bytes; }
    std::vector<std::wstring> requests;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateMoniker(LPOLESTR name, IBindCtx* context, IMoniker** moniker,
                                            DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE MonikerBindToStorage(IMoniker* moniker, IBindCtx* context,
                                                   IBindStatusCallback* callback, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE MonikerBindToObject(IMoniker* moniker, IBindCtx* context,
                                                  IBindStatusCallback* callback, REFIID iid, void** object) override;

private:
    ~TestBindHost();

    LONG m_refs = 1;
    std::map<std::wstring, std::string> m_content;
    std::map<IMoniker*, std::wstring> m_monikers;
};
