#pragma once
#include <windows.h>
#include <mscoree.h>

namespace standin_clr {

// The stand-in runtime's host object: start and stop, and the domains made
// through it. Each call is logged as "Runtime.<member>". The members that
// manage logical threads, files and enumeration answer E_NOTIMPL.
class RuntimeHost final : public ICorRuntimeHost {
public:
    RuntimeHost() = default;
    RuntimeHost(const RuntimeHost&) = delete;
    RuntimeHost& operator=(const RuntimeHost&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateLogicalThreadState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteLogicalThreadState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SwitchInLogicalThreadState(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SwitchOutLogicalThreadState(DWORD**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LocksHeldByLogicalThread(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MapFile(HANDLE, HMODULE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetConfiguration(ICorConfiguration**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Start() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE CreateDomain(LPCWSTR friendlyName, IUnknown* identity, IUnknown** domain) override;
    HRESULT STDMETHODCALLTYPE GetDefaultDomain(IUnknown** domain) override;
    HRESULT STDMETHODCALLTYPE EnumDomains(HDOMAINENUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NextDomain(HDOMAINENUM, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CloseEnum(HDOMAINENUM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDomainEx(LPCWSTR, IUnknown*, IUnknown*, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDomainSetup(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateEvidence(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnloadDomain(IUnknown* domain) override;
    HRESULT STDMETHODCALLTYPE CurrentDomain(IUnknown**) override { return E_NOTIMPL; }

private:
    ~RuntimeHost();

    volatile LONG m_refs = 1;
    IUnknown* m_defaultDomain = nullptr;
};

}  // namespace standin_clr
