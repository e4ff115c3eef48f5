#pragma once
#include <windows.h>
#include <oaidl.h>

#include "standins/clr/ClrLog.h"
#include <string>
#include <vector>

namespace standin_clr {

// Base of the .NET objects the stand-in runtime creates: a reference count,
// QueryInterface over the interfaces the type lists, and IDispatch with name
// lookup, as .NET's late binding gives it: any name gets an id, and invoking
// it logs "<log name>.InvokeMethod(<name>)" with the argument count.
// A new object carries one reference, owned by its creator.
template <class I>
class ScriptedObject : public I {
public:
    ScriptedObject(const ScriptedObject&) = delete;
    ScriptedObject& operator=(const ScriptedObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *out = static_cast<I*>(this);
        else
            *out = QueryOwn(iid);
        if (!*out)
            return E_NOINTERFACE;
        static_cast<IUnknown*>(*out)->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return count ? S_OK : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (!names || !ids || count != 1)
            return E_INVALIDARG;
        std::wstring name = names[0] ? names[0] : L"";
        if (name == m_missingMember)
            return DISP_E_UNKNOWNNAME;
        for (size_t i = 0; i < m_names.size(); ++i) {
            if (m_names[i] == name) {
                ids[0] = static_cast<DISPID>(i + 1);
                return S_OK;
            }
        }
        m_names.push_back(name);
        ids[0] = static_cast<DISPID>(m_names.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override
    {
        if (id < 1 || static_cast<size_t>(id) > m_names.size())
            return DISP_E_MEMBERNOTFOUND;
        return InvokeNamed(m_names[static_cast<size_t>(id) - 1], params, result, exception);
    }

protected:
    explicit ScriptedObject(std::wstring logName) : m_logName(std::move(logName)) {}
    virtual ~ScriptedObject() = default;

    // The type's own interfaces, without a reference; null for none.
    virtual void* QueryOwn(REFIID) { return nullptr; }
    // A late-bound call; logs it and answers S_OK with VT_EMPTY, or, when
    // "<log name>.<name>" is listed as failing, DISP_E_EXCEPTION with the
    // exception's code 0x80131509 (the runtime's invalid-operation code).
    virtual HRESULT InvokeNamed(const std::wstring& name, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception);

    const std::wstring& LogName() const { return m_logName; }
    // A name that GetIDsOfNames refuses (empty: none).
    void SetMissingMember(const std::wstring& name) { m_missingMember = name; }

private:
    volatile LONG m_refs = 1;
    std::wstring m_logName;
    std::wstring m_missingMember;
    std::vector<std::wstring> m_names;
};

template <class I>
HRESULT ScriptedObject<I>::InvokeNamed(const std::wstring& name, DISPPARAMS* params, VARIANT*,
                                       EXCEPINFO* exception)
{
    UINT count = params ? params->cArgs : 0;
    std::wstring call = m_logName + L".InvokeMethod";
    ClrLog::Note(call + L"(" + name + L") " + std::to_wstring(count));
    if (!ClrLog::IsFailing(m_logName + L"." + name))
        return S_OK;
    if (exception)
        exception->scode = static_cast<SCODE>(0x80131509);
    return DISP_E_EXCEPTION;
}

}  // namespace standin_clr
