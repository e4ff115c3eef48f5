#pragma once
#include <windows.h>
#include <oaidl.h>

// One .NET object seen through its dispatch interface (one reference held).
class ClrObject {
public:
    // A holder with its own reference; null for a null interface.
    static ClrObject* Create(IDispatch* object);
    // A holder for a VT_DISPATCH VARIANT with an interface; null otherwise.
    static ClrObject* FromVariant(const VARIANT& value);
    virtual ~ClrObject();
    ClrObject(const ClrObject&) = delete;
    ClrObject& operator=(const ClrObject&) = delete;

    IDispatch* Get() const { return m_object; }
    HRESULT QueryInterface(REFIID iid, void** out) const;
    // Late-bound call of the method by name with the arguments last first, as
    // DISPPARAMS holds them. 0 on success; else the .NET exception's code, or
    // the binding's or Invoke's own failure when no exception was filled.
    HRESULT InvokeMethod(const wchar_t* name, VARIANT* arguments, UINT count, VARIANT* result) const;

private:
    explicit ClrObject(IDispatch* object);

    IDispatch* m_object;
};
