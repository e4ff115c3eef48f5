#include "standins/powerpoint/RibbonHost.h"

#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/RibbonControlObject.h"

namespace standin {

std::unique_ptr<RibbonHost> RibbonHost::Load(IUnknown* addIn, const std::wstring& ribbonId)
{
    if (!addIn)
        return nullptr;
    std::unique_ptr<RibbonHost> host(new RibbonHost());
    if (FAILED(addIn->QueryInterface(Office::IID_IRibbonExtensibility, reinterpret_cast<void**>(&host->m_extension))))
        return nullptr;
    BSTR id = SysAllocString(ribbonId.c_str());
    BSTR xml = nullptr;
    HRESULT hr = host->m_extension->GetCustomUI(id, &xml);
    SysFreeString(id);
    CallLog::Get().Note(L"Ribbon.GetCustomUI");
    host->m_xml = TextFromBstr(xml);
    SysFreeString(xml);
    if (FAILED(hr) || !host->m_document.Parse(host->m_xml))
        return nullptr;
    // The callbacks answer through the IDispatch of the extension.
    host->m_extension->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&host->m_callbacks));
    host->m_ui = new RibbonUiObject();
    return host;
}

RibbonHost::~RibbonHost()
{
    if (m_ui)
        m_ui->Release();
    if (m_callbacks)
        m_callbacks->Release();
    if (m_extension)
        m_extension->Release();
}

HRESULT RibbonHost::CallOnLoad()
{
    std::wstring onLoad = m_document.RootAttribute(L"onLoad");
    if (onLoad.empty())
        return S_FALSE;
    VARIANT ui;
    VariantInit(&ui);
    ui.vt = VT_DISPATCH;
    ui.pdispVal = m_ui;
    return Call(onLoad, {ui}, nullptr);
}

void RibbonHost::ShowControls()
{
    for (const CustomUiElement& element : m_document.Elements()) {
        std::wstring id = element.Attribute(L"id");
        if (id.empty())
            continue;
        for (const auto& [name, callback] : element.attributes) {
            if (name.compare(0, 3, L"get") != 0)
                continue;
            VARIANT answer;
            VariantInit(&answer);
            if (SUCCEEDED(Invoke(callback, id, {}, &answer)) &&
                SUCCEEDED(VariantChangeType(&answer, &answer, VARIANT_ALPHABOOL, VT_BSTR)))
                m_shown[id + L"/" + name] = TextFromBstr(answer.bstrVal);
            VariantClear(&answer);
        }
    }
}

HRESULT RibbonHost::Invoke(const std::wstring& callback, const std::wstring& controlId,
                           const std::vector<VARIANT>& extra, VARIANT* result)
{
    const CustomUiElement* element = m_document.FindById(controlId);
    RibbonControlObject* control =
        new RibbonControlObject(controlId, element ? element->Attribute(L"tag") : std::wstring());
    std::vector<VARIANT> args;
    VARIANT first;
    VariantInit(&first);
    first.vt = VT_DISPATCH;
    first.pdispVal = control;
    args.push_back(first);
    args.insert(args.end(), extra.begin(), extra.end());
    HRESULT hr = Call(callback, args, result);
    control->Release();
    return hr;
}

HRESULT RibbonHost::InvokeControl(const std::wstring& controlId, const std::wstring& attribute,
                                  const std::vector<VARIANT>& extra, VARIANT* result)
{
    const CustomUiElement* element = m_document.FindById(controlId);
    std::wstring callback = element ? element->Attribute(attribute) : std::wstring();
    if (callback.empty())
        return DISP_E_UNKNOWNNAME;
    return Invoke(callback, controlId, extra, result);
}

std::wstring RibbonHost::ShownValue(const std::wstring& controlId, const std::wstring& attribute) const
{
    auto found = m_shown.find(controlId + L"/" + attribute);
    return found != m_shown.end() ? found->second : std::wstring();
}

HRESULT RibbonHost::Call(const std::wstring& callback, const std::vector<VARIANT>& argsInOrder, VARIANT* result)
{
    CallLog::Get().Note(L"Ribbon." + callback);
    if (!m_callbacks)
        return E_NOINTERFACE;
    std::wstring name = callback;
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = m_callbacks->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    std::vector<VARIANT> reversed(argsInOrder.rbegin(), argsInOrder.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    VARIANT local;
    VariantInit(&local);
    EXCEPINFO exception{};
    UINT badArgument = 0;
    hr = m_callbacks->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result ? result : &local,
                             &exception, &badArgument);
    VariantClear(&local);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

}  // namespace standin
