#include "base/MKSafeArray.h"

bool MKSafeArray::Create(int n)
{
    Destroy();
    if (n <= 0)
        return true;
    SAFEARRAY* array = SafeArrayCreateVector(m_type, 0, ULONG(n));
    if (!array)
        return false;
    m_array = array;
    m_count = n;
    m_owns = true;
    return true;
}

void MKSafeArray::Attach(SAFEARRAY* array, bool owns)
{
    Destroy();
    if (!array)
        return;
    m_array = array;
    m_owns = owns;
    LONG lower = 0, upper = -1;
    if (SafeArrayGetDim(array) >= 1 && SUCCEEDED(SafeArrayGetLBound(array, 1, &lower)) &&
        SUCCEEDED(SafeArrayGetUBound(array, 1, &upper)) && upper >= lower)
        m_count = int(upper - lower + 1);
}

SAFEARRAY* MKSafeArray::Detach()
{
    Unaccess();
    SAFEARRAY* array = m_array;
    m_array = nullptr;
    m_count = 0;
    m_owns = false;
    return array;
}

void MKSafeArray::Destroy()
{
    bool owns = m_owns;
    SAFEARRAY* array = Detach();
    if (array && owns)
        SafeArrayDestroy(array);
}

void* MKSafeArray::AccessData()
{
    if (m_data || !m_array)
        return m_data;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(m_array, &data)))
        return nullptr;
    m_data = data;
    return m_data;
}

void MKSafeArray::Unaccess()
{
    if (m_data) {
        SafeArrayUnaccessData(m_array);
        m_data = nullptr;
    }
}
