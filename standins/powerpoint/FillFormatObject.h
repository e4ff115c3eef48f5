#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ShapePartObject.h"

namespace standin {

// Shape.Fill of one shape (see ShapePartObject).
class FillFormatObject : public ShapePartObject<PowerPoint::FillFormat> {
public:
    explicit FillFormatObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Visible(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Visible(long value) override;

protected:
    ~FillFormatObject() override = default;
};

}  // namespace standin
