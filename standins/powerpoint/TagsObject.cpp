#include "standins/powerpoint/TagsObject.h"

#include "standins/powerpoint/ComValues.h"

namespace standin {

TagsObject::TagsObject(const DocumentStatePtr& document)
    : DispatchObject(L"Tags", {PowerPoint::IID_Tags, PowerPoint::IID_Collection}), m_document(document)
{
}

void TagsObject::Set(const std::wstring& name, const std::wstring& value)
{
    std::wstring key = UpperCase(name);
    for (auto& entry : m_entries) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    m_entries.emplace_back(key, value);
}

std::wstring TagsObject::Value(const std::wstring& name) const
{
    std::wstring key = UpperCase(name);
    for (const auto& entry : m_entries) {
        if (entry.first == key)
            return entry.second;
    }
    return std::wstring();
}

HRESULT TagsObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_entries.size()), result);
}

HRESULT TagsObject::Item(BSTR name, BSTR* result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    return ReturnText(Value(TextFromBstr(name)), result);
}

HRESULT TagsObject::Add(BSTR name, BSTR value)
{
    STANDIN_ENTER(L"Add");
    if (SysStringLen(name) == 0)
        return E_INVALIDARG;
    Set(TextFromBstr(name), TextFromBstr(value));
    m_document->Touch();
    return S_OK;
}

HRESULT TagsObject::Delete(BSTR name)
{
    STANDIN_ENTER(L"Delete");
    std::wstring key = UpperCase(TextFromBstr(name));
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->first == key) {
            m_entries.erase(it);
            m_document->Touch();
            return S_OK;
        }
    }
    return S_OK;
}

}  // namespace standin
