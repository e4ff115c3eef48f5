#pragma once
#include "addin/core/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

namespace standin {

class ShapeObject;

// Shape.PlaceholderFormat of one shape, made on each request;
// holds a reference on the shape and answers E_FAIL once the shape is gone.
class PlaceholderFormatObject : public DispatchObject<PowerPoint::PlaceholderFormat> {
public:
    explicit PlaceholderFormatObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Type(long* result) override;

protected:
    ~PlaceholderFormatObject() override;
    // ContainedType (DISPID 2005), from PowerPoint 12 on.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;

private:
    ShapeObject* m_shape;
};

}  // namespace standin
