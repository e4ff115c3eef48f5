#pragma once
#include "addin/core/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

namespace standin {

class ShapeObject;

// Shape.OLEFormat of one shape, made on each request;
// holds a reference on the shape and answers E_FAIL once the shape is gone.
class OleFormatObject : public DispatchObject<PowerPoint::OLEFormat> {
public:
    explicit OleFormatObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Object(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_ProgID(BSTR* result) override;

protected:
    ~OleFormatObject() override;

private:
    ShapeObject* m_shape;
};

}  // namespace standin
