#pragma once
#include "hostapi/OfficeInterfaces.h"

#include <string>

// The test add-in object: IDTExtensibility2 and IRibbonExtensibility, with
// the ribbon callbacks OnLoad, OnClick, GetLabel and GetVisible reached through
// the IDispatch that the ribbon extension answers. Everything it sees goes to
// the module's event record (AddEvent).
class TestAddIn final : public Office::IDTExtensibility2, public Office::IRibbonExtensibility {
public:
    TestAddIn();
    TestAddIn(const TestAddIn&) = delete;
    TestAddIn& operator=(const TestAddIn&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                           SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(long removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

    HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) override;

private:
    ~TestAddIn();

    LONG m_refs = 1;
    Office::IRibbonUI* m_ribbon = nullptr;
};

void AddEvent(const std::wstring& event);
