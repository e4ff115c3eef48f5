#pragma once
#include "standins/controls/ControlLog.h"

#include <windows.h>
#include <oaidl.h>
#include <array>
#include <string>
#include <utility>

namespace standin {

// An interface that its hosts call by virtual-table position ("slot") only,
// as the QuickTime controls' interfaces are: a table of Count entries whose
// first seven are IUnknown's and IDispatch's, built once per interface.
// IUnknown goes to `owner` (the object the interface belongs to); IDispatch
// answers no type information and no member ("<prefix>IDispatch.Invoke(<id>)"
// logged, DISP_E_MEMBERNOTFOUND). Every other slot that the object does not
// fill logs "<prefix>slot <n> unused" and answers E_NOTIMPL; it takes no
// arguments, so only the slots a host is documented to call may be called.
// Slot functions receive the SlotObject in place of the interface pointer.
struct SlotObject {
    void* const* table;  // first: the interface pointer is the object's address
    IUnknown* owner;
    const wchar_t* control;  // log name of the control
    const wchar_t* prefix;   // "" for the control's interface, "movie " for the movie's

    void Log(const std::wstring& line) const { ControlLog::Write(control, prefix + line); }
};

namespace slots {

inline HRESULT STDMETHODCALLTYPE QueryInterface(SlotObject* self, REFIID iid, void** out)
{
    return self->owner->QueryInterface(iid, out);
}
inline ULONG STDMETHODCALLTYPE AddRef(SlotObject* self)
{
    return self->owner->AddRef();
}
inline ULONG STDMETHODCALLTYPE Release(SlotObject* self)
{
    return self->owner->Release();
}
inline HRESULT STDMETHODCALLTYPE GetTypeInfoCount(SlotObject*, UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}
inline HRESULT STDMETHODCALLTYPE GetTypeInfo(SlotObject*, UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}
inline HRESULT STDMETHODCALLTYPE GetIDsOfNames(SlotObject*, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}
inline HRESULT STDMETHODCALLTYPE Invoke(SlotObject* self, DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                        EXCEPINFO*, UINT*)
{
    self->Log(L"IDispatch.Invoke(" + std::to_wstring(id) + L") = " + Hex(DISP_E_MEMBERNOTFOUND));
    return DISP_E_MEMBERNOTFOUND;
}

template <int N>
HRESULT STDMETHODCALLTYPE Unused(SlotObject* self)
{
    self->Log(L"slot " + std::to_wstring(N) + L" unused");
    return E_NOTIMPL;
}

template <size_t... N>
std::array<void*, sizeof...(N)> UnusedTable(std::index_sequence<N...>)
{
    return {reinterpret_cast<void*>(&Unused<static_cast<int>(N)>)...};
}

}  // namespace slots

// A table of Count slots with IUnknown and IDispatch in place and every other
// slot unused; the caller fills the slots it implements.
template <size_t Count>
std::array<void*, Count> MakeSlotTable()
{
    std::array<void*, Count> table = slots::UnusedTable(std::make_index_sequence<Count>());
    table[0] = reinterpret_cast<void*>(&slots::QueryInterface);
    table[1] = reinterpret_cast<void*>(&slots::AddRef);
    table[2] = reinterpret_cast<void*>(&slots::Release);
    table[3] = reinterpret_cast<void*>(&slots::GetTypeInfoCount);
    table[4] = reinterpret_cast<void*>(&slots::GetTypeInfo);
    table[5] = reinterpret_cast<void*>(&slots::GetIDsOfNames);
    table[6] = reinterpret_cast<void*>(&slots::Invoke);
    return table;
}

}  // namespace standin
