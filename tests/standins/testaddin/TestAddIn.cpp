#include "tests/standins/testaddin/TestAddIn.h"

#include "hostapi/PowerPointInterfaces.h"

namespace {

const wchar_t* const kCallbacks[] = {L"OnLoad", L"OnClick", L"GetLabel", L"GetVisible"};

const wchar_t kCustomUi[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    L"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" onLoad=\"OnLoad\">"
    L"<ribbon><tabs><tab id=\"TestTab\" getLabel=\"GetLabel\">"
    L"<group id=\"TestGroup\" label=\"Tests\">"
    L"<button id=\"TestButton\" tag=\"button-tag\" onAction=\"OnClick\" getLabel=\"GetLabel\" "
    L"getVisible=\"GetVisible\"/>"
    L"</group></tab></tabs></ribbon></customUI>";

std::wstring ControlId(const VARIANT& control)
{
    if (control.vt != VT_DISPATCH || !control.pdispVal)
        return L"?";
    Office::IRibbonControl* ribbonControl = nullptr;
    if (FAILED(control.pdispVal->QueryInterface(Office::IID_IRibbonControl, reinterpret_cast<void**>(&ribbonControl))))
        return L"?";
    BSTR id = nullptr;
    ribbonControl->get_Id(&id);
    std::wstring text = id ? id : L"";
    SysFreeString(id);
    ribbonControl->Release();
    return text;
}

}  // namespace

TestAddIn::TestAddIn() = default;

TestAddIn::~TestAddIn()
{
    if (m_ribbon)
        m_ribbon->Release();
}

HRESULT TestAddIn::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == Office::IID_IDTExtensibility2)
        *out = static_cast<Office::IDTExtensibility2*>(this);
    else if (iid == Office::IID_IRibbonExtensibility || iid == IID_IDispatch)
        *out = static_cast<Office::IRibbonExtensibility*>(this);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG TestAddIn::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG TestAddIn::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT TestAddIn::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT TestAddIn::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT TestAddIn::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (int known = 0; known < 4; ++known) {
            if (lstrcmpW(names[i], kCallbacks[known]) == 0)
                ids[i] = known + 1;
        }
        if (ids[i] == DISPID_UNKNOWN)
            return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
}

HRESULT TestAddIn::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (id < 1 || id > 4 || !params || params->cArgs < 1)
        return DISP_E_MEMBERNOTFOUND;
    const VARIANT& first = params->rgvarg[params->cArgs - 1];
    if (id == 1) {
        if (first.vt != VT_DISPATCH || !first.pdispVal)
            return DISP_E_BADVARTYPE;
        if (m_ribbon)
            m_ribbon->Release();
        m_ribbon = nullptr;
        first.pdispVal->QueryInterface(Office::IID_IRibbonUI, reinterpret_cast<void**>(&m_ribbon));
        AddEvent(m_ribbon ? L"OnLoad" : L"OnLoad without IRibbonUI");
        return S_OK;
    }
    std::wstring control = ControlId(first);
    AddEvent(std::wstring(kCallbacks[id - 1]) + L" " + control);
    if (id == 2 && m_ribbon) {
        BSTR text = SysAllocString(control.c_str());
        m_ribbon->InvalidateControl(text);
        SysFreeString(text);
    }
    if (result && id == 3) {
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString((L"Label of " + control).c_str());
    } else if (result && id == 4) {
        VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

HRESULT TestAddIn::OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst, SAFEARRAY**)
{
    // Calls PowerPoint through the declared table, as the product does.
    std::wstring version = L"?";
    PowerPoint::Application* powerPoint = nullptr;
    if (application &&
        SUCCEEDED(application->QueryInterface(PowerPoint::IID_Application, reinterpret_cast<void**>(&powerPoint)))) {
        BSTR text = nullptr;
        if (SUCCEEDED(powerPoint->get_Version(&text)))
            version = text;
        SysFreeString(text);
        powerPoint->Release();
    }
    std::wstring connected = L"?";
    Office::COMAddIn* instance = nullptr;
    if (addInInst &&
        SUCCEEDED(addInInst->QueryInterface(Office::IID_COMAddIn, reinterpret_cast<void**>(&instance)))) {
        VARIANT_BOOL connect = VARIANT_FALSE;
        if (SUCCEEDED(instance->get_Connect(&connect)))
            connected = connect ? L"true" : L"false";
        instance->put_Object(static_cast<Office::IRibbonExtensibility*>(this));
        instance->Release();
    }
    AddEvent(L"OnConnection " + std::to_wstring(connectMode) + L" " + version + L" connect=" + connected);
    return S_OK;
}

HRESULT TestAddIn::OnDisconnection(long removeMode, SAFEARRAY**)
{
    AddEvent(L"OnDisconnection " + std::to_wstring(removeMode));
    return S_OK;
}

HRESULT TestAddIn::OnAddInsUpdate(SAFEARRAY**)
{
    AddEvent(L"OnAddInsUpdate");
    return S_OK;
}

HRESULT TestAddIn::OnStartupComplete(SAFEARRAY**)
{
    AddEvent(L"OnStartupComplete");
    return S_OK;
}

HRESULT TestAddIn::OnBeginShutdown(SAFEARRAY**)
{
    AddEvent(L"OnBeginShutdown");
    return S_OK;
}

HRESULT TestAddIn::GetCustomUI(BSTR ribbonId, BSTR* ribbonXml)
{
    if (!ribbonXml)
        return E_POINTER;
    AddEvent(std::wstring(L"GetCustomUI ") + (ribbonId ? ribbonId : L""));
    *ribbonXml = SysAllocString(kCustomUi);
    return *ribbonXml ? S_OK : E_OUTOFMEMORY;
}
