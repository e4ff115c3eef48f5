#include "slidecontrol/DispatchTypeTest.h"

bool IsDispatchOfType(IDispatch* object, const GUID& type)
{
    if (!object)
        return false;
    ITypeInfo* info = nullptr;
    if (FAILED(object->GetTypeInfo(0, 1024, &info)) || !info)
        return false;
    TYPEATTR* attributes = nullptr;
    bool same = false;
    if (SUCCEEDED(info->GetTypeAttr(&attributes)) && attributes) {
        same = IsEqualGUID(attributes->guid, type) != FALSE;
        info->ReleaseTypeAttr(attributes);
    }
    info->Release();
    return same;
}
