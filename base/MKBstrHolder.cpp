#include "base/MKBstrHolder.h"

#include "base/MKString.h"

MKString MKBstrHolder::ToString() const
{
    return MKString::MKStringFromChars(m_bstr, int(SysStringLen(m_bstr)));
}
