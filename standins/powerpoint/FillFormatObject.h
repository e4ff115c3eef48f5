#pragma once
#include "addin/core/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

namespace standin {

class ShapeObject;

// Shape.Fill of one shape, made on each request;
// holds a reference on the shape and answers E_FAIL once the shape is gone.
class FillFormatObject : public DispatchObject<PowerPoint::FillFormat> {
public:
    explicit FillFormatObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Visible(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Visible(long value) override;

protected:
    ~FillFormatObject() override;

private:
    ShapeObject* m_shape;
};

}  // namespace standin
