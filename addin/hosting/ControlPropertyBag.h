#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <ocidl.h>
#include <stdint.h>

// The start-up properties a hosted control loads (IPersistPropertyBag2 or
// IPersistPropertyBag): the control's extent in pixels and named text or
// integer values in the order they were first set. Names compare without
// regard to case. IPropertyBag2 lists "_ExtentX", "_ExtentY" and then a
// snapshot of the values, taken by CountProperties and GetPropertyInfo: a
// change made later is seen by Read only after the next of those.
//
// A VT_EMPTY request reads a value in its own type; any other type is
// converted to, and fails (E_FAIL) when the value has no such form.
// Count starts at 0; one thread.
class ControlPropertyBag : public IPropertyBag2, public IPropertyBag {
public:
    ControlPropertyBag() = default;
    ControlPropertyBag(const ControlPropertyBag&) = delete;
    ControlPropertyBag& operator=(const ControlPropertyBag&) = delete;

    // Negative values become 0.
    void SetExtent(int width, int height);
    int GetExtentWidth() const { return m_extentWidth; }
    int GetExtentHeight() const { return m_extentHeight; }
    void SetString(const MKString& name, const MKString& value);
    void SetInt(const MKString& name, int32_t value);
    bool Remove(const MKString& name);
    // A text value as it is, an integer as decimal text; false (empty text)
    // for an absent name or another type.
    bool GetString(const MKString& name, MKString& value) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPropertyBag: "_cx" and "_cy" are the extent (VT_I4).
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

    // IPropertyBag2: hints are property indices; an index beyond the
    // snapshot is refused with E_INVALIDARG.
    HRESULT STDMETHODCALLTYPE Read(ULONG count, PROPBAG2* properties, IErrorLog* log, VARIANT* values,
                                   HRESULT* results) override;
    HRESULT STDMETHODCALLTYPE Write(ULONG, PROPBAG2*, VARIANT*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE CountProperties(ULONG* count) override;
    HRESULT STDMETHODCALLTYPE GetPropertyInfo(ULONG first, ULONG count, PROPBAG2* properties, ULONG* filled) override;
    HRESULT STDMETHODCALLTYPE LoadObject(LPCOLESTR, DWORD, IUnknown*, IErrorLog*) override { return E_FAIL; }

private:
    struct Entry {
        MKString name;
        VARIANT value;
    };

    virtual ~ControlPropertyBag();

    int Find(const wchar_t* name) const;
    // Stores a copy of `value` under the name.
    void Set(const MKString& name, const VARIANT& value);
    void TakeSnapshot();
    static void FreeEntries(MKTArray<Entry*>& entries);

    LONG m_refs = 0;
    MKTArray<Entry*> m_values;
    bool m_changed = false;
    MKTArray<Entry*> m_snapshot;
    int m_extentWidth = 0;
    int m_extentHeight = 0;
};
