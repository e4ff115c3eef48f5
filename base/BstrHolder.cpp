#include "base/BstrHolder.h"

#include "base/MKString.h"

MKString BstrHolder::ToString() const
{
    return MKString::MKStringFromChars(m_bstr, int(SysStringLen(m_bstr)));
}
