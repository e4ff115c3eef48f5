#pragma once
#include "addin/hosting/NodeEventInterfaces.h"

#include <string>

namespace standin_clr {

// What a stand-in plug-in attaches to its effect movie node: the node's
// event sink, answering the movie's ExternalInterface calls with nothing.
// The calls are logged as "<owner>.HandleCall <request>".
class MovieSinkObject final : public INodeEventSink, public IMovieCallHandler {
public:
    // A new object carries one reference, owned by its creator.
    static MovieSinkObject* Create(const std::wstring& owner) { return new MovieSinkObject(owner); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    HRESULT STDMETHODCALLTYPE OnDetached() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnClosed() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HandleCall(BSTR request, BSTR* response) override;

private:
    explicit MovieSinkObject(std::wstring owner) : m_owner(std::move(owner)) {}
    ~MovieSinkObject() = default;

    std::wstring m_owner;
    LONG m_refs = 1;
};

}  // namespace standin_clr
