#include "standins/powerpoint/LanguageSettingsObject.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/ComValues.h"

namespace standin {

LanguageSettingsObject::LanguageSettingsObject()
    : DispatchObject(L"LanguageSettings", {Office::IID_LanguageSettings, Office::IID_IMsoDispObj})
{
}

HRESULT LanguageSettingsObject::get_Application(IDispatch** result)
{
    STANDIN_ENTER_OUT(L"get_Application", result);
    return ApplicationObject::ReturnCurrent(result);
}

HRESULT LanguageSettingsObject::get_Creator(long* result)
{
    return GetValue(L"get_Creator", ApplicationObject::kOfficeCreator, result);
}

HRESULT LanguageSettingsObject::get_LanguageID(long id, int* result)
{
    STANDIN_ENTER_OUT(L"get_LanguageID", result);
    if (id < Office::msoLanguageIDInstall || id > Office::msoLanguageIDUIPrevious)
        return E_INVALIDARG;
    auto found = m_ids.find(id);
    *result = found != m_ids.end() ? found->second : 1033;
    return S_OK;
}

}  // namespace standin
