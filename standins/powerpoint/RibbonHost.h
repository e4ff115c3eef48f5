#pragma once
#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/CustomUi.h"
#include "standins/powerpoint/RibbonUiObject.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace standin {

// Office's side of one add-in's ribbon: GetCustomUI on the add-in's
// IRibbonExtensibility, the parsed customUI document, the onLoad call with an
// IRibbonUI, and callbacks called by name through the IDispatch that the
// extension answers, each with an IRibbonControl as first argument.
class RibbonHost {
public:
    // Asks the add-in object for IRibbonExtensibility and its XML for the
    // ribbon id. Null when the add-in offers no ribbon, GetCustomUI fails or
    // the XML does not parse (Office shows no ribbon then).
    static std::unique_ptr<RibbonHost> Load(IUnknown* addIn, const std::wstring& ribbonId);
    ~RibbonHost();
    RibbonHost(const RibbonHost&) = delete;
    RibbonHost& operator=(const RibbonHost&) = delete;

    // Calls the root's onLoad callback with the IRibbonUI; S_FALSE when the
    // document names none.
    HRESULT CallOnLoad();
    // Calls the get-callbacks of every control with an id, as Office does when
    // it shows the ribbon; the text of each answer is kept (ShownValue).
    void ShowControls();

    // Calls the callback by name with the control (id and tag of the element
    // with that id) and the further arguments in published order. The answer
    // goes to `result` when given.
    HRESULT Invoke(const std::wstring& callback, const std::wstring& controlId,
                   const std::vector<VARIANT>& extra = {}, VARIANT* result = nullptr);
    // Calls the callback that the control's attribute (onAction, getLabel...)
    // names; DISP_E_UNKNOWNNAME when the control or the attribute is missing.
    HRESULT InvokeControl(const std::wstring& controlId, const std::wstring& attribute,
                          const std::vector<VARIANT>& extra = {}, VARIANT* result = nullptr);

    const std::wstring& Xml() const { return m_xml; }
    const CustomUi& Document() const { return m_document; }
    RibbonUiObject* Ui() const { return m_ui; }
    // The text answered by a get-callback during ShowControls, empty when none.
    std::wstring ShownValue(const std::wstring& controlId, const std::wstring& attribute) const;

private:
    RibbonHost() = default;
    HRESULT Call(const std::wstring& callback, const std::vector<VARIANT>& argsInOrder, VARIANT* result);

    Office::IRibbonExtensibility* m_extension = nullptr;
    IDispatch* m_callbacks = nullptr;
    RibbonUiObject* m_ui = nullptr;
    std::wstring m_xml;
    CustomUi m_document;
    std::map<std::wstring, std::wstring> m_shown;
};

}  // namespace standin
