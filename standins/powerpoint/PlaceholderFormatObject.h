#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ShapePartObject.h"

namespace standin {

// Shape.PlaceholderFormat of one shape (see ShapePartObject).
class PlaceholderFormatObject : public ShapePartObject<PowerPoint::PlaceholderFormat> {
public:
    explicit PlaceholderFormatObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Type(long* result) override;

protected:
    ~PlaceholderFormatObject() override = default;
    // ContainedType (DISPID 2005), from PowerPoint 12 on.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;
};

}  // namespace standin
