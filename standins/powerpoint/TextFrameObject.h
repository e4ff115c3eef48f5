#pragma once
#include "addin/core/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

namespace standin {

class ShapeObject;

// Shape.TextFrame of one shape, made on each request;
// holds a reference on the shape and answers E_FAIL once the shape is gone.
class TextFrameObject : public DispatchObject<PowerPoint::TextFrame> {
public:
    explicit TextFrameObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_HasText(long* result) override;

protected:
    ~TextFrameObject() override;

private:
    ShapeObject* m_shape;
};

}  // namespace standin
