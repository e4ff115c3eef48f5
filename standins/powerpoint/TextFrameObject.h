#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ShapePartObject.h"

namespace standin {

// Shape.TextFrame of one shape (see ShapePartObject).
class TextFrameObject : public ShapePartObject<PowerPoint::TextFrame> {
public:
    explicit TextFrameObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_HasText(long* result) override;

protected:
    ~TextFrameObject() override = default;
};

}  // namespace standin
