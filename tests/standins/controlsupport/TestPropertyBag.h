#pragma once
#include <windows.h>
#include <ocidl.h>
#include <string>
#include <utility>
#include <vector>

// Start-up properties for a control under test: an IPropertyBag2 listing
// text values in the order given (hint = index), and an IPropertyBag reading
// them by name. Made with one reference for its creator.
class TestPropertyBag final : public IPropertyBag2, public IPropertyBag {
public:
    explicit TestPropertyBag(std::vector<std::pair<std::wstring, std::wstring>> values) : m_values(std::move(values)) {}
    TestPropertyBag(const TestPropertyBag&) = delete;
    TestPropertyBag& operator=(const TestPropertyBag&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override;

    // IPropertyBag2
    HRESULT STDMETHODCALLTYPE Read(ULONG count, PROPBAG2* properties, IErrorLog*, VARIANT* values,
                                   HRESULT* results) override;
    HRESULT STDMETHODCALLTYPE Write(ULONG, PROPBAG2*, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CountProperties(ULONG* count) override;
    HRESULT STDMETHODCALLTYPE GetPropertyInfo(ULONG first, ULONG count, PROPBAG2* properties, ULONG* filled) override;
    HRESULT STDMETHODCALLTYPE LoadObject(LPCOLESTR, DWORD, IUnknown*, IErrorLog*) override { return E_NOTIMPL; }

    // IPropertyBag
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

private:
    ~TestPropertyBag() = default;

    LONG m_refs = 1;
    std::vector<std::pair<std::wstring, std::wstring>> m_values;
};
