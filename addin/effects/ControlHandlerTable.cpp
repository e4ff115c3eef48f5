#include "addin/effects/ControlHandlerTable.h"

#include "addin/effects/ClrRibbonHandler.h"
#include "base/MKGuid.h"

namespace {

void DeleteHandler(void* handler)
{
    delete static_cast<ClrRibbonHandler*>(handler);
}

}  // namespace

ControlHandlerTable::~ControlHandlerTable()
{
    Clear();
}

bool ControlHandlerTable::Register(ClrRibbonHandler* handler, MKString& id)
{
    MKGuid guid;
    guid.Create();
    id = MKString::PrependText(L"_vqz_", guid.FormatLowerCompact());
    if (!handler || m_handlers.Set(id, handler) < 0) {
        delete handler;
        id.Clear();
        return false;
    }
    return true;
}

void ControlHandlerTable::Unregister(const MKString& id)
{
    delete static_cast<ClrRibbonHandler*>(m_handlers.Remove(id));
}

void ControlHandlerTable::Clear()
{
    m_handlers.DisposeAllValues(DeleteHandler);
}

ClrRibbonHandler* ControlHandlerTable::Find(const MKString& id) const
{
    MKHashNode* node = m_handlers.Find(id);
    return node ? static_cast<ClrRibbonHandler*>(node->value) : nullptr;
}
