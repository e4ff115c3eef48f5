#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ShapePartObject.h"

namespace standin {

// Shape.Line of one shape (see ShapePartObject).
class LineFormatObject : public ShapePartObject<PowerPoint::LineFormat> {
public:
    explicit LineFormatObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Visible(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Visible(long value) override;

protected:
    ~LineFormatObject() override = default;
};

}  // namespace standin
