#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ShapePartObject.h"

namespace standin {

// Shape.OLEFormat of one shape (see ShapePartObject).
class OleFormatObject : public ShapePartObject<PowerPoint::OLEFormat> {
public:
    explicit OleFormatObject(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Object(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_ProgID(BSTR* result) override;

protected:
    ~OleFormatObject() override = default;
    // Object (2004) and ProgID (2005) by DISPID.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;
};

}  // namespace standin
