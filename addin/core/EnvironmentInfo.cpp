#include "addin/core/EnvironmentInfo.h"

#include "base/MKTextBuffer.h"

#include <windows.h>

namespace {

MKString LocaleName(int32_t lcid, LCTYPE type)
{
    wchar_t name[256];
    if (GetLocaleInfoW(static_cast<LCID>(lcid), type, name, 256) <= 0)
        return MKString(L"?");
    return MKString(name);
}

int32_t ValueOr0(const MKOptional<int32_t>& value)
{
    return value.IsPresent() ? value.GetValue() : 0;
}

}  // namespace

MKString EnvironmentInfo::FormatLocale(int32_t lcid)
{
    if (lcid == 0)
        return MKString();
    return MKString::FromFormat(L"%s (%s) (0x%04x)", LocaleName(lcid, LOCALE_SENGLANGUAGE).GetText(),
                                LocaleName(lcid, LOCALE_SENGCOUNTRY).GetText(), static_cast<unsigned>(lcid));
}

void EnvironmentInfo::WriteLanguageLines(MKTextBuffer& out) const
{
    out.AppendFormat(L"System Language: %s\n", FormatLocale(ValueOr0(systemLocale)).GetText());
    out.AppendFormat(L"User System Language: %s\n", FormatLocale(ValueOr0(userLocale)).GetText());
}

void EnvironmentInfo::WriteProductLines(MKTextBuffer& out) const
{
    MKString product;
    if (officeProductName.IsPresent())
        product = officeProductName.GetValue();
    if (msoVersion.IsPresent()) {
        product.AppendText(L" (");
        product.AppendString(msoVersion.GetValue().ToString());
        product.AppendText(L")");
    }
    out.AppendFormat(L"%s\n", product.GetText());
    if (powerPointVersion.IsPresent())
        out.AppendFormat(L"Microsoft PowerPoint %s\n", powerPointVersion.GetValue().ToString().GetText());
    if (officeLanguages[1].IsPresent())
        out.AppendFormat(L"Office Language: %s\n", FormatLocale(officeLanguages[1].GetValue()).GetText());
}

void EnvironmentInfo::WriteNetLine(MKTextBuffer& out) const
{
    if (netFramework.IsPresent())
        out.AppendFormat(L"%s\n", netFramework.GetValue().GetText());
}
