#include "standins/clr/MovieSinkObject.h"

#include "standins/clr/ClrLog.h"

namespace standin_clr {

namespace {

// The identifiers the add-in asks of a plug-in's sink (its own .NET
// declarations give them).
const IID kEventSink = {0x0612866E, 0xAEB3, 0x42D0, {0x8B, 0xC4, 0xF4, 0xCF, 0x7E, 0x1C, 0x40, 0x36}};
const IID kMovieCallHandler = {0xBC5E0043, 0x9A15, 0x4AAE, {0x83, 0x60, 0x2F, 0x13, 0xF9, 0x07, 0x8A, 0xF4}};

}  // namespace

HRESULT MovieSinkObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kEventSink)
        *out = static_cast<INodeEventSink*>(this);
    else if (iid == kMovieCallHandler)
        *out = static_cast<IMovieCallHandler*>(this);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG MovieSinkObject::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT MovieSinkObject::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return count ? S_OK : E_POINTER;
}

HRESULT MovieSinkObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT MovieSinkObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT MovieSinkObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT MovieSinkObject::HandleCall(BSTR request, BSTR* response)
{
    if (response)
        *response = nullptr;
    ClrLog::Note(m_owner + L".HandleCall " + (request ? request : L""));
    return S_OK;
}

}  // namespace standin_clr
