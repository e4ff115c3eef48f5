#include "standins/powerpoint/ShapeList.h"

#include "standins/powerpoint/ComValues.h"
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
    int index = IndexOf(shape);
    if (index < 0)
        return false;
    m_items.erase(m_items.begin() + index);
    shape->SetList(nullptr);
    shape->Release();
    return true;
}

void ShapeList::Clear()
{
    std::vector<ShapeObject*> items;
    items.swap(m_items);
    for (ShapeObject* shape : items) {
        shape->SetList(nullptr);
        shape->Release();
    }
}

int ShapeList::IndexOf(const ShapeObject* shape) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == shape)
            return static_cast<int>(i);
    }
    return -1;
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
