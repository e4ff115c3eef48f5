#include "standins/powerpoint/PresentationsObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/PresentationObject.h"

namespace standin {

PresentationsObject::PresentationsObject()
    : DispatchObject(L"Presentations", {PowerPoint::IID_Presentations, PowerPoint::IID_Collection})
{
}

PresentationsObject::~PresentationsObject()
{
    CloseAll();
}

PresentationObject* PresentationsObject::Add(const std::wstring& name)
{
    auto* presentation = new PresentationObject(name);
    m_items.push_back(presentation);
    return presentation;
}

bool PresentationsObject::Remove(PresentationObject* presentation)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (*it == presentation) {
            m_items.erase(it);
            presentation->Close();
            presentation->Release();
            return true;
        }
    }
    return false;
}

void PresentationsObject::CloseAll()
{
    std::vector<PresentationObject*> items;
    items.swap(m_items);
    for (PresentationObject* presentation : items) {
        presentation->Close();
        presentation->Release();
    }
}

HRESULT PresentationsObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT PresentationsObject::Item(VARIANT index, PowerPoint::Presentation** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    std::wstring name;
    long position = 0;
    PresentationObject* found = nullptr;
    if (TextFromVariant(index, &name)) {
        for (PresentationObject* presentation : m_items) {
            if (!found && SameTextIgnoringCase(presentation->Name(), name))
                found = presentation;
        }
    } else if (IndexFromVariant(index, &position) && position >= 1 &&
               position <= static_cast<long>(m_items.size())) {
        found = m_items[position - 1];
    }
    if (!found)
        return E_INVALIDARG;
    return ReturnObject(found, result);
}

}  // namespace standin
