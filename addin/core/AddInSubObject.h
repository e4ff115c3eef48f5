#pragma once
#include <windows.h>
#include <oaidl.h>

// Base of the add-in's COM objects that live inside another object and share
// its reference count: the Office interfaces of the add-in and the objects
// they hand out. AddRef and Release go to the outer object, which must outlive
// the sub-object; whoever made the sub-object deletes it, never its count.
// QueryInterface first asks Derived::AnswerOwn(iid, &answer), which either
// declines (false: the id goes to the outer object, so the whole keeps one
// identity) or answers by itself (true) with the object, one of its parts or
// null to refuse the id. The IDispatch methods answer noAutomation (clearing
// the out pointers) until Derived overrides them. Derived makes the base its
// friend when AnswerOwn is private.
template <class Derived, class Interface, HRESULT noAutomation>
class AddInSubObject : public Interface {
public:
    AddInSubObject(const AddInSubObject&) = delete;
    AddInSubObject& operator=(const AddInSubObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        IUnknown* answer = nullptr;
        if (!static_cast<Derived*>(this)->AnswerOwn(iid, &answer))
            return m_outer->QueryInterface(iid, out);
        *out = answer;
        if (!answer)
            return E_NOINTERFACE;
        answer->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_outer->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_outer->Release(); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return noAutomation;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return noAutomation;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return noAutomation; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return noAutomation;
    }

protected:
    explicit AddInSubObject(IUnknown* outer) : m_outer(outer) {}
    ~AddInSubObject() = default;

private:
    IUnknown* m_outer;
};
