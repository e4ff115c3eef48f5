#include "addin/core/AssemblyName.h"

#include "addin/effects/ClrObject.h"
#include "base/MKTOArray.h"

namespace {

MKString Trimmed(const MKString& text)
{
    MKString trimmed = text;
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}

bool StartsWith(const MKString& text, const wchar_t* prefix)
{
    int length = static_cast<int>(wcslen(prefix));
    return text.GetLength() >= length && wcsncmp(text.GetText(), prefix, static_cast<size_t>(length)) == 0;
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

}  // namespace

AssemblyName::AssemblyName(ClrHost* host, Clr::_Assembly* assembly) : m_host(host)
{
    m_assembly.Assign(assembly);
    BSTR name = nullptr;
    if (assembly && SUCCEEDED(assembly->get_FullName(&name)) && name)
        m_fullName.Assign(name, static_cast<int>(SysStringLen(name)));
    SysFreeString(name);
    ParseFullName();
}

void AssemblyName::ParseFullName()
{
    m_simpleName.Clear();
    m_version = MKVersion();
    m_token = AssemblyToken();
    MKTOArray<MKString> parts;
    m_fullName.Split(L",", false, parts);
    if (parts.GetCount() != 4)
        return;
    m_simpleName = Trimmed(parts[0]);
    MKString version = Trimmed(parts[1]);
    if (version.GetLength() >= 8 && StartsWith(version, L"Version="))
        MKVersion::Parse(version.Mid(8).GetText(), m_version);
    MKString token = Trimmed(parts[3]);
    if (token.GetLength() <= 14 || !StartsWith(token, L"PublicKeyToken="))
        return;
    MKString digits = token.Mid(15);
    if (digits.GetLength() != 16)
        return;
    uint64_t value = 0;
    for (int i = 0; i < 16; ++i) {
        int digit = HexValue(digits[i]);
        if (digit < 0)
            return;
        value = (value << 4) | static_cast<uint64_t>(digit);
    }
    m_token.present = true;
    m_token.value = value;
}

MKString AssemblyName::FormatDisplayName(const MKString& simpleName, const MKVersion& version,
                                         const AssemblyToken& token)
{
    MKString name = simpleName;
    name.AppendText(L", Version=");
    name.AppendString(version.ToString());
    name.AppendText(L", Culture=neutral, PublicKeyToken=");
    if (token.present)
        name.AppendString(MKString::FromFormat(L"%016llx", static_cast<unsigned long long>(token.value)));
    else
        name.AppendText(L"null");
    return name;
}

ClrObject* AssemblyName::CreateInstance(const wchar_t* typeName) const
{
    if (!m_assembly)
        return nullptr;
    BSTR type = SysAllocString(typeName);
    VARIANT object;
    VariantInit(&object);
    ClrObject* made = nullptr;
    if (type && SUCCEEDED(m_assembly->CreateInstance(type, &object)))
        made = ClrObject::FromVariant(object);
    VariantClear(&object);
    SysFreeString(type);
    return made;
}
