#include "standins/powerpoint/PlaceholderFormatObject.h"

#include "standins/powerpoint/ApplicationObject.h"

namespace standin {

PlaceholderFormatObject::PlaceholderFormatObject(ShapeObject* shape)
    : ShapePartObject(L"PlaceholderFormat", PowerPoint::IID_PlaceholderFormat, shape)
{
}

HRESULT PlaceholderFormatObject::get_Type(long* result)
{
    STANDIN_ENTER_OUT(L"get_Type", result);
    if (!IsAlive())
        return E_FAIL;
    *result = Shape().PlaceholderType();
    return S_OK;
}

HRESULT PlaceholderFormatObject::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result)
{
    ApplicationObject* application = ApplicationObject::Current();
    if (id != PowerPoint::DISPID_PlaceholderFormat_ContainedType || !application || application->MajorVersion() < 12)
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    if (!IsAlive())
        return E_FAIL;
    if (result) {
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = Shape().ContainedType();
    }
    return S_OK;
}

}  // namespace standin
