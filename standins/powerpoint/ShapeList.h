#pragma once
#include <string>
#include <vector>

namespace standin {

class ShapeObject;

// The shapes of a slide or of a group in z-order (back first), one reference
// each. A shape that leaves its list is gone for its holders (IsAlive false).
class ShapeList {
public:
    ShapeList() = default;
    ~ShapeList();
    ShapeList(const ShapeList&) = delete;
    ShapeList& operator=(const ShapeList&) = delete;

    // Takes over the creator's reference; answers the shape.
    ShapeObject* Add(ShapeObject* shape);
    // False when the shape is not in the list.
    bool Remove(ShapeObject* shape);
    void Clear();

    int Count() const { return static_cast<int>(m_items.size()); }
    ShapeObject* At(int index) const { return m_items[index]; }
    int IndexOf(const ShapeObject* shape) const;
    ShapeObject* FindByName(const std::wstring& name) const;
    const std::vector<ShapeObject*>& Items() const { return m_items; }

private:
    std::vector<ShapeObject*> m_items;
};

}  // namespace standin
