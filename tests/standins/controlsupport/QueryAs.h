#pragma once
#include <unknwn.h>

// The object's interface `iid` with one reference, or null.
template <class I>
I* QueryAs(IUnknown* object, const IID& iid)
{
    I* result = nullptr;
    if (!object || FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&result))))
        return nullptr;
    return result;
}
