#include "slidecontrol/OfficeHostApp.h"

#include "hostapi/PowerPointInterfaces.h"
#include "slidecontrol/DispatchTypeTest.h"

#include <new>

namespace {

constexpr GUID kExcelApplication = {0x000208D5, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kWordApplication = {0x00020970, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

OfficeHostApp::OfficeHostApp(Kind kind, HINSTANCE instance, IDispatch* application)
    : m_kind(kind), m_instance(instance)
{
    m_application.Attach(application, true);
}

OfficeHostApp* OfficeHostApp::Create(HINSTANCE instance, IDispatch* application)
{
    Kind kind;
    if (IsDispatchOfType(application, PowerPoint::IID_Application))
        kind = kPowerPoint;
    else if (IsDispatchOfType(application, kExcelApplication))
        kind = kExcel;
    else if (IsDispatchOfType(application, kWordApplication))
        kind = kWord;
    else {
        if (application)
            application->Release();
        return nullptr;
    }
    OfficeHostApp* host = new (std::nothrow) OfficeHostApp(kind, instance, application);
    if (!host)
        application->Release();
    return host;
}

HRESULT OfficeHostApp::FromClientSite(HINSTANCE instance, IOleClientSite* site, OfficeHostApp** host)
{
    *host = nullptr;
    if (!site)
        return E_POINTER;
    IOleContainer* container = nullptr;
    HRESULT hr = site->GetContainer(&container);
    if (FAILED(hr))
        return hr;
    if (!container)
        return E_POINTER;
    IDispatch* dispatch = nullptr;
    hr = container->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    container->Release();
    if (FAILED(hr))
        return hr;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(L"Application");
    hr = dispatch->GetIDsOfNames(IID_NULL, &name, 1, 1024, &id);
    VARIANT result;
    VariantInit(&result);
    if (SUCCEEDED(hr)) {
        DISPPARAMS none = {};
        hr = dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
        if (SUCCEEDED(hr))
            hr = VariantChangeType(&result, &result, 0, VT_DISPATCH);
    }
    dispatch->Release();
    if (FAILED(hr)) {
        VariantClear(&result);
        return hr;
    }
    IDispatch* application = result.pdispVal;
    if (!application)
        return E_POINTER;
    // The reference in the result moves to the host.
    *host = Create(instance, application);
    return *host ? S_OK : E_FAIL;
}
