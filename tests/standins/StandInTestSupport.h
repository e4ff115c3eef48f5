#pragma once
#include <windows.h>
#include <oaidl.h>
#include <functional>
#include <string>
#include <vector>

// Helpers of the stand-in host's tests.

// Registers the test add-in's class (DllRegisterServer of its DLL) and its
// per-user Office add-in entry with the load behaviour; the destructor removes
// both. Events() reads the add-in's record of what happened to it.
class TestAddInRegistration {
public:
    explicit TestAddInRegistration(DWORD loadBehavior = 3);
    ~TestAddInRegistration();
    TestAddInRegistration(const TestAddInRegistration&) = delete;
    TestAddInRegistration& operator=(const TestAddInRegistration&) = delete;

    bool Registered() const { return m_registered; }
    std::vector<std::wstring> Events() const;
    void ResetEvents() const;

private:
    HMODULE m_module;
    bool m_registered = false;
};

// An application-event sink that records each event's DISPID and argument
// types, and may act inside an event (to nest events, unadvise...).
class EventRecorder final : public IDispatch {
public:
    struct Record {
        DISPID id;
        std::vector<VARTYPE> types;
    };

    EventRecorder() = default;
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    std::vector<Record> records;
    std::function<void(DISPID, DISPPARAMS*)> onEvent;
    HRESULT answer = S_OK;

    std::vector<DISPID> Ids() const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    ULONG References() const { return m_refs; }

private:
    ULONG m_refs = 1;
};
