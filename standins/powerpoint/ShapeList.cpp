#include "standins/powerpoint/ShapeList.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/ShapeObject.h"

namespace standin {

ShapeList::~ShapeList()
{
    Clear();
}

ShapeObject* ShapeList::Add(ShapeObject* shape)
{
    shape->SetList(this);
    m_items.push_back(shape);
    return shape;
}

bool ShapeList::Remove(ShapeObject* shape)
{
    return RemoveItem(m_items, shape, [](ShapeObject* item) { item->SetList(nullptr); });
}

void ShapeList::Clear()
{
    ClearItems(m_items, [](ShapeObject* item) { item->SetList(nullptr); });
}

int ShapeList::IndexOf(const ShapeObject* shape) const
{
    return IndexOfItem(m_items, shape);
}

ShapeObject* ShapeList::FindByName(const std::wstring& name) const
{
    for (ShapeObject* shape : m_items) {
        if (SameTextIgnoringCase(shape->Name(), name))
            return shape;
    }
    return nullptr;
}

}  // namespace standin
