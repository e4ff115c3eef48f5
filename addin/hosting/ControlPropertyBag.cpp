#include "addin/hosting/ControlPropertyBag.h"

#include "base/MKCrashGuard.h"

#include <new>
#include <wchar.h>

namespace {

const wchar_t* const kExtentNames[2] = {L"_ExtentX", L"_ExtentY"};

// `source` in the type the caller asked for (VT_EMPTY: its own).
HRESULT CopyAs(VARIANT* destination, const VARIANT& source, VARTYPE wanted)
{
    VariantInit(destination);
    if (wanted == VT_EMPTY || wanted == source.vt)
        return VariantCopy(destination, const_cast<VARIANT*>(&source));
    return SUCCEEDED(VariantChangeType(destination, const_cast<VARIANT*>(&source), 0, wanted)) ? S_OK : E_FAIL;
}

VARIANT IntVariant(int32_t value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

wchar_t* CoTaskCopy(const wchar_t* text)
{
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    wchar_t* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (copy)
        memcpy(copy, text, bytes);
    return copy;
}

}  // namespace

ControlPropertyBag::~ControlPropertyBag()
{
    FreeEntries(m_values);
    FreeEntries(m_snapshot);
}

void ControlPropertyBag::FreeEntries(MKTArray<Entry*>& entries)
{
    for (int i = 0; i < entries.GetCount(); ++i) {
        VariantClear(&entries[i]->value);
        delete entries[i];
    }
    entries.RemoveAll();
}

void ControlPropertyBag::SetExtent(int width, int height)
{
    m_extentWidth = width < 0 ? 0 : width;
    m_extentHeight = height < 0 ? 0 : height;
}

int ControlPropertyBag::Find(const wchar_t* name) const
{
    for (int i = 0; i < m_values.GetCount(); ++i) {
        if (_wcsicmp(m_values[i]->name.GetText(), name) == 0)
            return i;
    }
    return -1;
}

void ControlPropertyBag::Set(const MKString& name, const VARIANT& value)
{
    m_changed = true;
    const int index = Find(name.GetText());
    if (index >= 0) {
        VariantClear(&m_values[index]->value);
        VariantCopy(&m_values[index]->value, const_cast<VARIANT*>(&value));
        return;
    }
    Entry* entry = new (std::nothrow) Entry{name, {}};
    if (!entry)
        return;
    VariantInit(&entry->value);
    VariantCopy(&entry->value, const_cast<VARIANT*>(&value));
    if (!m_values.Add(entry)) {
        VariantClear(&entry->value);
        delete entry;
    }
}

void ControlPropertyBag::SetString(const MKString& name, const MKString& value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BSTR;
    variant.bstrVal = value.ToBstr();
    Set(name, variant);
    VariantClear(&variant);
}

void ControlPropertyBag::SetInt(const MKString& name, int32_t value)
{
    Set(name, IntVariant(value));
}

bool ControlPropertyBag::Remove(const MKString& name)
{
    const int index = Find(name.GetText());
    if (index < 0)
        return false;
    m_changed = true;
    VariantClear(&m_values[index]->value);
    delete m_values[index];
    m_values.RemoveAt(index);
    return true;
}

bool ControlPropertyBag::GetString(const MKString& name, MKString& value) const
{
    value.Clear();
    const int index = Find(name.GetText());
    if (index < 0)
        return false;
    const VARIANT& stored = m_values[index]->value;
    if (stored.vt == VT_BSTR) {
        value = stored.bstrVal ? stored.bstrVal : L"";
        return true;
    }
    if (stored.vt == VT_I4) {
        value = MKString::FromInt(stored.lVal);
        return true;
    }
    return false;
}

void ControlPropertyBag::TakeSnapshot()
{
    if (!m_changed)
        return;
    FreeEntries(m_snapshot);
    for (int i = 0; i < m_values.GetCount(); ++i) {
        Entry* copy = new (std::nothrow) Entry{m_values[i]->name, {}};
        if (!copy)
            break;
        VariantInit(&copy->value);
        VariantCopy(&copy->value, &m_values[i]->value);
        if (!m_snapshot.Add(copy)) {
            VariantClear(&copy->value);
            delete copy;
            break;
        }
    }
    m_changed = false;
}

// --- COM ---------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlPropertyBag::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPropertyBag)
        *out = static_cast<IPropertyBag*>(this);
    else if (iid == IID_IPropertyBag2)
        *out = static_cast<IPropertyBag2*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ControlPropertyBag::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE ControlPropertyBag::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT STDMETHODCALLTYPE ControlPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED), [&]() -> HRESULT {
        if (!name || !value)
            return E_POINTER;
        // On entry only the type means anything: the rest may be whatever
        // the caller's stack held, so it is overwritten, never freed.
        const VARTYPE wanted = value->vt;
        VariantInit(value);
        if (_wcsicmp(name, L"_cx") == 0 || _wcsicmp(name, L"_cy") == 0) {
            VARIANT extent = IntVariant(_wcsicmp(name, L"_cx") == 0 ? m_extentWidth : m_extentHeight);
            return CopyAs(value, extent, wanted);
        }
        const int index = Find(name);
        if (index < 0)
            return E_FAIL;
        return CopyAs(value, m_values[index]->value, wanted);
    });
}

HRESULT STDMETHODCALLTYPE ControlPropertyBag::CountProperties(ULONG* count)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED), [&]() -> HRESULT {
        if (!count)
            return E_POINTER;
        TakeSnapshot();
        *count = ULONG(m_snapshot.GetCount()) + 2;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ControlPropertyBag::GetPropertyInfo(ULONG first, ULONG count, PROPBAG2* properties,
                                                              ULONG* filled)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED), [&]() -> HRESULT {
        if (filled)
            *filled = 0;
        if (count == 0)
            return S_OK;
        if (!properties)
            return E_POINTER;
        TakeSnapshot();
        const ULONG total = ULONG(m_snapshot.GetCount()) + 2;
        if (first >= total || count > total - first)
            return E_INVALIDARG;
        for (ULONG i = 0; i < count; ++i) {
            const ULONG index = first + i;
            PROPBAG2& property = properties[i];
            property = {};
            property.dwType = PROPBAG2_TYPE_DATA;
            property.cfType = 1;
            property.dwHint = index;
            const Entry* entry = index >= 2 ? m_snapshot[int(index - 2)] : nullptr;
            property.vt = entry ? entry->value.vt : VARTYPE(VT_I4);
            property.pstrName = CoTaskCopy(entry ? entry->name.GetText() : kExtentNames[index]);
            if (!property.pstrName) {
                for (ULONG k = 0; k < i; ++k) {
                    CoTaskMemFree(properties[k].pstrName);
                    properties[k].pstrName = nullptr;
                }
                return E_OUTOFMEMORY;
            }
        }
        if (filled)
            *filled = count;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ControlPropertyBag::Read(ULONG count, PROPBAG2* properties, IErrorLog*, VARIANT* values,
                                                   HRESULT* results)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED), [&]() -> HRESULT {
        if (count == 0)
            return S_OK;
        if (!properties || !values)
            return E_POINTER;
        const ULONG total = ULONG(m_snapshot.GetCount()) + 2;
        for (ULONG i = 0; i < count; ++i) {
            VariantInit(&values[i]);
            if (results)
                results[i] = E_FAIL;
        }
        for (ULONG i = 0; i < count; ++i) {
            if (properties[i].dwHint >= total)
                return E_INVALIDARG;
        }
        bool allRead = true;
        for (ULONG i = 0; i < count; ++i) {
            const DWORD hint = properties[i].dwHint;
            const VARTYPE wanted = properties[i].vt;
            HRESULT hr;
            if (hint < 2) {
                // The extent is a number: text or integer only.
                VARIANT extent = IntVariant(hint == 0 ? m_extentWidth : m_extentHeight);
                hr = wanted == VT_EMPTY || wanted == VT_I4 || wanted == VT_BSTR ? CopyAs(&values[i], extent, wanted)
                                                                                : E_FAIL;
            } else {
                hr = VariantCopy(&values[i], &m_snapshot[int(hint - 2)]->value);
            }
            if (results)
                results[i] = hr;
            allRead = allRead && SUCCEEDED(hr);
        }
        return allRead ? S_OK : E_FAIL;
    });
}
