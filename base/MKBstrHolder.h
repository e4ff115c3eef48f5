#pragma once
#include <windows.h>
#include <oleauto.h>

class MKString;

// Owns one automation string (BSTR), freed with SysFreeString.
class MKBstrHolder {
public:
    MKBstrHolder() = default;
    ~MKBstrHolder() { Empty(); }
    MKBstrHolder(const MKBstrHolder&) = delete;
    MKBstrHolder& operator=(const MKBstrHolder&) = delete;

    BSTR Get() const { return m_bstr; }
    // Frees the held string and answers the slot for an out parameter.
    BSTR* Receive()
    {
        Empty();
        return &m_bstr;
    }
    void Empty()
    {
        if (m_bstr) {
            SysFreeString(m_bstr);
            m_bstr = nullptr;
        }
    }
    // True for no string and for a zero-length one.
    bool IsEmpty() const { return SysStringLen(m_bstr) == 0; }
    // The text (SysStringLen units); empty for no string.
    MKString ToString() const;

private:
    BSTR m_bstr = nullptr;
};
