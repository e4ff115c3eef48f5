#include "standins/powerpoint/InterfaceTypeInfo.h"

#include <new>

namespace standin {

HRESULT InterfaceTypeInfo::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_ITypeInfo)
        return E_NOINTERFACE;
    *out = static_cast<ITypeInfo*>(this);
    AddRef();
    return S_OK;
}

ULONG InterfaceTypeInfo::Release()
{
    ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT InterfaceTypeInfo::GetTypeAttr(TYPEATTR** attributes)
{
    if (!attributes)
        return E_POINTER;
    *attributes = new (std::nothrow) TYPEATTR();
    if (!*attributes)
        return E_OUTOFMEMORY;
    (*attributes)->guid = m_iid;
    (*attributes)->lcid = LOCALE_NEUTRAL;
    (*attributes)->memidConstructor = MEMBERID_NIL;
    (*attributes)->memidDestructor = MEMBERID_NIL;
    (*attributes)->typekind = TKIND_DISPATCH;
    (*attributes)->cbSizeVft = 7 * sizeof(void*);
    (*attributes)->wTypeFlags = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE;
    (*attributes)->wMajorVerNum = 2;
    return S_OK;
}

}  // namespace standin
