#include "base/MKDocScalar.h"

#include "base/MKDocWriter.h"
#include "base/MKFormat.h"
#include "base/MKTextBuffer.h"

namespace {

bool AppendFormat(MKTextBuffer& out, const wchar_t* format, ...)
{
    wchar_t text[128];
    va_list args;
    va_start(args, format);
    int n = MKFormatToBufferV(text, 128, format, args);
    va_end(args);
    return n >= 0 && n < 128 && out.Append(text, n);
}

}  // namespace

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
    return AppendFormat(out, L"%d", GetValue());
}

template <>
bool MKDocInt64::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    return AppendFormat(out, typed ? L"%lldL" : L"%lld", GetValue());
}

template <>
bool MKDocGuid::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    MKString text = GetValue().FormatUpper();
    return !text.IsEmpty() && AppendFormat(out, typed ? L"Guid(\"{%s}\")" : L"\"{%s}\"", text.GetText());
}

template <>
bool MKDocVersion::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    MKString text = GetValue().ToString();
    return !text.IsEmpty() && AppendFormat(out, typed ? L"Version(\"%s\")" : L"\"%s\"", text.GetText());
}

template <>
bool MKDocDateTime::WriteText(MKTextBuffer& out, const MKString&, bool typed) const
{
    const MKDateTime& value = GetValue();
    return AppendFormat(out, typed ? L"DateTime(\"%d-%d-%d\")" : L"\"%d-%d-%d\"", value.GetDatePart(MKDatePartYear),
                        value.GetDatePart(MKDatePartMonth), value.GetDatePart(MKDatePartDay));
}
