#pragma once
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/ShapeObject.h"

namespace standin {

// Base of the objects a shape makes on each request (Fill, Line, TextFrame,
// PlaceholderFormat, OLEFormat): each holds a reference on its shape and is
// alive while the shape is, so its members answer E_FAIL once it is gone.
template <class I>
class ShapePartObject : public DispatchObject<I> {
public:
    bool IsAlive() const override { return m_shape->IsAlive(); }

protected:
    ShapePartObject(const wchar_t* type, const IID& iid, ShapeObject* shape)
        : DispatchObject<I>(type, {iid}), m_shape(shape)
    {
        m_shape->AddRef();
    }
    ~ShapePartObject() override { m_shape->Release(); }

    ShapeObject& Shape() const { return *m_shape; }

private:
    ShapeObject* const m_shape;
};

}  // namespace standin
