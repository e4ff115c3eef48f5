#include "standins/powerpoint/ComAddInsObject.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/OfficeAddInEntries.h"

namespace standin {

ComAddInsObject::ComAddInsObject() : DispatchObject(L"COMAddIns", {Office::IID_COMAddIns, Office::IID_IMsoDispObj}) {}

ComAddInsObject::~ComAddInsObject()
{
    Detach();
}

void ComAddInsObject::Detach()
{
    std::vector<ComAddInObject*> items;
    items.swap(m_items);
    for (ComAddInObject* item : items) {
        item->Detach();
        item->Release();
    }
}

void ComAddInsObject::LoadAtStartup()
{
    Refresh();
    std::vector<ComAddInObject*> items = m_items;
    for (ComAddInObject* item : items)
        item->AddRef();
    for (ComAddInObject* item : items) {
        if (item->Entry().loadBehavior == 3)
            item->ConnectAddIn(Office::ext_cm_Startup);
    }
    for (ComAddInObject* item : items)
        item->CallAddInsUpdate();
    for (ComAddInObject* item : items)
        item->CallStartupComplete();
    for (ComAddInObject* item : items) {
        if (item->IsConnected() && item->Ribbon()) {
            item->Ribbon()->CallOnLoad();
            item->Ribbon()->ShowControls();
        }
    }
    for (ComAddInObject* item : items)
        item->Release();
}

void ComAddInsObject::ShutdownAll()
{
    std::vector<ComAddInObject*> items = m_items;
    for (ComAddInObject* item : items)
        item->AddRef();
    for (ComAddInObject* item : items)
        item->CallBeginShutdown();
    for (ComAddInObject* item : items)
        item->DisconnectAddIn(Office::ext_dm_HostShutdown);
    for (ComAddInObject* item : items)
        item->Release();
}

void ComAddInsObject::NotifyAddInsUpdate()
{
    std::vector<ComAddInObject*> items = m_items;
    for (ComAddInObject* item : items)
        item->AddRef();
    for (ComAddInObject* item : items)
        item->CallAddInsUpdate();
    for (ComAddInObject* item : items)
        item->Release();
}

void ComAddInsObject::Refresh()
{
    std::vector<OfficeAddInEntry> entries = ReadOfficeAddInEntries();
    for (auto it = m_items.begin(); it != m_items.end();) {
        bool listed = false;
        for (const OfficeAddInEntry& entry : entries)
            listed = listed || SameTextIgnoringCase(entry.progId, (*it)->Entry().progId);
        if (listed || (*it)->IsConnected()) {
            ++it;
            continue;
        }
        (*it)->Detach();
        (*it)->Release();
        it = m_items.erase(it);
    }
    for (const OfficeAddInEntry& entry : entries) {
        ComAddInObject* known = Find(entry.progId);
        if (known)
            known->SetEntry(entry);
        else
            m_items.push_back(new ComAddInObject(this, entry));
    }
}

ComAddInObject* ComAddInsObject::Find(const std::wstring& progId) const
{
    for (ComAddInObject* item : m_items) {
        if (SameTextIgnoringCase(item->Entry().progId, progId))
            return item;
    }
    return nullptr;
}

HRESULT ComAddInsObject::get_Application(IDispatch** result)
{
    STANDIN_ENTER_OUT(L"get_Application", result);
    return ApplicationObject::ReturnCurrent(result);
}

HRESULT ComAddInsObject::get_Creator(long* result)
{
    return GetValue(L"get_Creator", ApplicationObject::kOfficeCreator, result);
}

HRESULT ComAddInsObject::Item(VARIANT* index, Office::COMAddIn** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    if (!index)
        return E_POINTER;
    std::wstring progId;
    long position = 0;
    ComAddInObject* found = nullptr;
    if (TextFromVariant(*index, &progId))
        found = Find(progId);
    else if (IndexFromVariant(*index, &position))
        found = ItemAt(m_items, position);
    return ReturnItem(found, result);
}

HRESULT ComAddInsObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT ComAddInsObject::Update()
{
    STANDIN_ENTER(L"Update");
    Refresh();
    return S_OK;
}

}  // namespace standin
