#include "base/MKDocScalar.h"

#include "base/MKDocWriter.h"
#include "base/MKTextBuffer.h"

template <>
bool MKDocString::WriteText(MKTextBuffer& out, const MKString&, bool) const
{
    return MKDocWriteQuoted(out, GetValue());
}

template <>
bool MKDocDouble::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    return MKDocWriteDouble(out, GetValue()) && (!typed || out.AppendChar(L'F'));
}

template <>
bool MKDocBool::WriteText(MKTextBuffer& out, const MKString&, bool) const
{
    return out.AppendText(GetValue() ? L"true" : L"false");
}

template <>
bool MKDocNull::WriteText(MKTextBuffer& out, const MKString&, bool) const
{
    return out.AppendText(L"null");
}

template <>
bool MKDocInt32::WriteText(MKTextBuffer& out, const MKString&, bool) const
{
    return out.AppendFormat(L"%d", GetValue());
}

template <>
bool MKDocInt64::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    return out.AppendFormat(typed ? L"%lldL" : L"%lld", GetValue());
}

template <>
bool MKDocGuid::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    MKString text = GetValue().FormatUpper();
    return !text.IsEmpty() && out.AppendFormat(typed ? L"Guid(\"{%s}\")" : L"\"{%s}\"", text.GetText());
}

template <>
bool MKDocVersion::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    MKString text = GetValue().ToString();
    return !text.IsEmpty() && out.AppendFormat(typed ? L"Version(\"%s\")" : L"\"%s\"", text.GetText());
}

template <>
bool MKDocDateTime::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    const MKDateTime& value = GetValue();
    return out.AppendFormat(typed ? L"DateTime(\"%d-%d-%d\")" : L"\"%d-%d-%d\"", value.GetDatePart(MKDatePartYear),
                        value.GetDatePart(MKDatePartMonth), value.GetDatePart(MKDatePartDay));
}
