#pragma once
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/DocumentState.h"
#include "standins/powerpoint/InterfaceTypeInfo.h"

#include <windows.h>
#include <oaidl.h>
#include <initializer_list>
#include <new>
#include <string>
#include <vector>

namespace standin {

// Base of every stand-in COM object: reference count, QueryInterface over the
// object's interface ids, IDispatch without type information (members reached
// by DISPID go to InvokeMember), and the call log with failure injection for
// the whole type ("Shape.get_Left", CallLog) or for this one object (Fail).
// A new object carries one reference, owned by its creator. The count is not
// locked: stand-in objects live on the user-interface thread.
template <class I>
class DispatchObject : public I {
public:
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *out = static_cast<I*>(this);
        for (const IID& own : m_iids) {
            if (!*out && iid == own)
                *out = static_cast<I*>(this);
        }
        if (!*out)
            *out = QueryExtra(iid);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = m_iids.empty() ? 0 : 1;
        return S_OK;
    }
    // Type information that names the object's interface (InterfaceTypeInfo):
    // how clients tell PowerPoint's objects apart.
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0 || m_iids.empty())
            return DISP_E_BADINDEX;
        *info = new (std::nothrow) InterfaceTypeInfo(m_iids.front());
        return *info ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override
    {
        HRESULT hr = Enter(L"Invoke(" + std::to_wstring(id) + L")");
        if (FAILED(hr))
            return hr;
        return InvokeMember(id, flags, params, result);
    }

    // Makes this object's member fail with the HRESULT from now on.
    void Fail(const std::wstring& member, HRESULT failure) { m_failures.push_back({member, failure}); }

    const std::wstring& TypeName() const { return m_type; }

    // Whether the object still stands for something in the application (a
    // shape on its slide, an open presentation, a running show); members
    // entered through EnterAlive fail with E_FAIL once it does not.
    virtual bool IsAlive() const { return true; }

protected:
    DispatchObject(const wchar_t* type, std::initializer_list<IID> iids) : m_type(type), m_iids(iids) {}
    virtual ~DispatchObject() = default;

    // Records "<Type>.<member>" and answers the failure injected for it.
    HRESULT Enter(const std::wstring& member) const
    {
        try {
            HRESULT hr = CallLog::Get().Enter(m_type + L"." + member);
            for (const Failure& failure : m_failures) {
                if (failure.member == member)
                    return failure.result;
            }
            return hr;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    // Enter, then E_FAIL when the object is no longer alive.
    HRESULT EnterAlive(const std::wstring& member) const
    {
        HRESULT hr = Enter(member);
        if (FAILED(hr))
            return hr;
        return IsAlive() ? S_OK : E_FAIL;
    }

    // A property getter's body: the entry, E_POINTER for a null out pointer,
    // then the value.
    template <class T, class V>
    HRESULT GetValue(const wchar_t* member, const V& value, T* result) const
    {
        HRESULT hr = Enter(member);
        if (FAILED(hr))
            return hr;
        if (!result)
            return E_POINTER;
        *result = value;
        return S_OK;
    }
    // The same for objects that can die: E_POINTER for a null out pointer
    // before the entry, then E_FAIL once the object is gone.
    template <class T, class V>
    HRESULT GetAliveValue(const wchar_t* member, const V& value, T* result) const
    {
        if (!result)
            return E_POINTER;
        HRESULT hr = EnterAlive(member);
        if (FAILED(hr))
            return hr;
        *result = value;
        return S_OK;
    }
    // A property setter's body: the entry, E_INVALIDARG for a value found not
    // `valid`, then the field takes the value and the document, when given,
    // is marked changed.
    template <class F, class V>
    HRESULT PutValue(const wchar_t* member, F& field, const V& value, DocumentState* document, bool valid = true)
    {
        HRESULT hr = Enter(member);
        if (FAILED(hr))
            return hr;
        if (!valid)
            return E_INVALIDARG;
        field = value;
        if (document)
            document->Touch();
        return S_OK;
    }

    virtual HRESULT InvokeMember(DISPID, WORD, DISPPARAMS*, VARIANT*) { return DISP_E_MEMBERNOTFOUND; }

    // Answers of members reached by DISPID through the object's own getters:
    // the getter's failure, or its value in `result` (an object's reference
    // moves there, or is dropped when the caller wants no result).
    template <class T>
    static HRESULT AnswerObject(HRESULT hr, T* object, VARIANT* result)
    {
        if (FAILED(hr))
            return hr;
        if (!result) {
            if (object)
                object->Release();
            return S_OK;
        }
        VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
        return S_OK;
    }
    static HRESULT AnswerLong(HRESULT hr, long value, VARIANT* result)
    {
        if (FAILED(hr) || !result)
            return hr;
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = value;
        return S_OK;
    }
    static HRESULT AnswerText(HRESULT hr, BSTR text, VARIANT* result)
    {
        if (FAILED(hr) || !result) {
            SysFreeString(text);
            return hr;
        }
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = text;
        return S_OK;
    }
    static bool IsGet(WORD flags) { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
    // Further interfaces of the object, without a reference; null for none.
    virtual void* QueryExtra(REFIID) { return nullptr; }

private:
    struct Failure {
        std::wstring member;
        HRESULT result;
    };
    std::wstring m_type;
    std::vector<IID> m_iids;
    std::vector<Failure> m_failures;
    ULONG m_refs = 1;
};

}  // namespace standin

// The first statement of every stand-in member: log, injected failure, and a
// null out pointer answered E_POINTER.
#define STANDIN_ENTER(member)                       \
    do {                                            \
        HRESULT enterResult_ = this->Enter(member); \
        if (FAILED(enterResult_))                   \
            return enterResult_;                    \
    } while (0)
#define STANDIN_ENTER_OUT(member, out) \
    do {                               \
        STANDIN_ENTER(member);         \
        if (!(out))                    \
            return E_POINTER;          \
    } while (0)
// The first statement of members of objects that can die: the entry, then
// E_FAIL once the object is gone (IsAlive).
#define STANDIN_ALIVE(member)                            \
    do {                                                 \
        HRESULT aliveResult_ = this->EnterAlive(member); \
        if (FAILED(aliveResult_))                        \
            return aliveResult_;                         \
    } while (0)
// The same after answering E_POINTER for a null out pointer, before the call
// is logged.
#define STANDIN_ALIVE_OUT(member, out) \
    do {                               \
        if (!(out))                    \
            return E_POINTER;          \
        STANDIN_ALIVE(member);         \
    } while (0)
