#include "standins/powerpoint/CommandEffectObject.h"

#include "standins/powerpoint/ComValues.h"

namespace standin {

CommandEffectObject::CommandEffectObject(const DocumentStatePtr& document)
    : DispatchObject(L"CommandEffect", {PowerPoint::IID_CommandEffect}), m_document(document)
{
}

void CommandEffectObject::Set(long type, const std::wstring& command)
{
    m_type = type;
    m_command = command;
}

HRESULT CommandEffectObject::get_Type(long* result)
{
    return GetValue(L"get_Type", m_type, result);
}

HRESULT CommandEffectObject::put_Type(long value)
{
    const bool known = value >= PowerPoint::msoAnimCommandTypeEvent && value <= PowerPoint::msoAnimCommandTypeVerb;
    return PutValue(L"put_Type", m_type, value, m_document.get(), known);
}

HRESULT CommandEffectObject::get_Command(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Command", result);
    return ReturnText(m_command, result);
}

HRESULT CommandEffectObject::put_Command(BSTR value)
{
    STANDIN_ENTER(L"put_Command");
    m_command = TextFromBstr(value);
    m_document->Touch();
    return S_OK;
}

}  // namespace standin
