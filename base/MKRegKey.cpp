#include "base/MKRegKey.h"

#include "base/MKTArray.h"
#include "base/MKTOArray.h"

#include <string.h>

namespace {

const REGSAM kReadAccess = KEY_READ;
const REGSAM kReadWriteAccess = KEY_READ | KEY_WRITE;
const int kMaxValueName = 256;
// A value that keeps growing between the size query and the read is given up.
const int kQueryAttempts = 4;

bool NameFits(const wchar_t* name)
{
    return !name || wcslen(name) < size_t(kMaxValueName);
}

MKString ChildPath(const MKString& parent, const MKString& subPath)
{
    MKString path = MKString::ConcatChar(parent, L'\\');
    path.AppendString(subPath);
    return path;
}

// Replaces names by those of the key's sub-keys or of its values; empty on any
// failure.
bool EnumNames(HKEY handle, bool subKeys, MKTOArray<MKString>& names)
{
    DWORD count = 0;
    if (RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, subKeys ? &count : nullptr, nullptr, nullptr,
                         subKeys ? nullptr : &count, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        count = 0;
    if (!names.Resize(int(count)))
        return false;
    for (DWORD i = 0; i < count; ++i) {
        wchar_t name[kMaxValueName];
        DWORD length = kMaxValueName;
        LONG result = subKeys ? RegEnumKeyExW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                              : RegEnumValueW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) {
            names.RemoveAll();
            return false;
        }
        names[int(i)] = MKString::MKStringFromChars(name, int(length));
    }
    return true;
}

// Performance data tells no size in advance: the buffer doubles until it fits.
MKRegValue QueryPerformanceData(HKEY handle, const wchar_t* name)
{
    for (int size = 32; size > 0 && size <= (1 << 30); size *= 2) {
        MKRegValue value = MKRegValue::Alloc(REG_NONE, size);
        if (value.IsNull())
            return value;
        DWORD type = 0;
        DWORD got = DWORD(size);
        LONG result = RegQueryValueExW(handle, name, nullptr, &type, value.GetData(), &got);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return MKRegValue();
        MKRegValue sized = MKRegValue::Alloc(type, int(got));
        if (!sized.IsNull())
            memcpy(sized.GetData(), value.GetData(), got);
        return sized;
    }
    return MKRegValue();
}

}  // namespace

MKRegKey MKRegKey::Create(HKEY handle, const MKString& path, bool writable, bool borrowed)
{
    MKRegKey key;
    key.m_key.Attach(new MKOpenRegKey(handle, path, writable, borrowed));
    return key;
}

const MKString& MKRegKey::GetPath() const
{
    static const MKString kEmpty;
    return m_key ? m_key->GetPath() : kEmpty;
}

MKRegKey MKRegKey::Open(const MKString& subPath, REGSAM access, bool writable) const
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(GetHandle(), subPath.GetText(), 0, access, &handle) != ERROR_SUCCESS)
        return MKRegKey();
    return Create(handle, ChildPath(GetPath(), subPath), writable, false);
}

MKRegKey MKRegKey::OpenPath(const MKString& subPath, bool writable) const
{
    return OpenSubKey(MKNormalizeKeyPath(subPath), writable);
}

MKRegKey MKRegKey::OpenSubKey(const MKString& subPath, bool writable) const
{
    if (!m_key)
        return MKRegKey();
    return Open(subPath, writable ? kReadWriteAccess : kReadAccess, writable);
}

MKRegKey MKRegKey::CreateSubKey(const MKString& subPath) const
{
    if (!IsWritable())
        return MKRegKey();
    MKString path = MKNormalizeKeyPath(subPath);
    MKRegKey opened = Open(path, kReadWriteAccess, true);
    if (opened)
        return opened;
    HKEY handle = nullptr;
    if (RegCreateKeyExW(GetHandle(), path.GetText(), 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWriteAccess, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return MKRegKey();
    return Create(handle, ChildPath(GetPath(), path), true, false);
}

bool MKRegKey::SubKeyExists(const MKString& subPath) const
{
    if (!m_key)
        return false;
    HKEY handle = nullptr;
    LONG result = RegOpenKeyExW(GetHandle(), MKNormalizeKeyPath(subPath).GetText(), 0, kReadAccess, &handle);
    if (result == ERROR_SUCCESS) {
        RegCloseKey(handle);
        return true;
    }
    return result == ERROR_ACCESS_DENIED;
}

bool MKRegKey::HasValue(const wchar_t* name) const
{
    return m_key && RegQueryValueExW(GetHandle(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

MKRegValue MKRegKey::QueryValue(const wchar_t* name) const
{
    if (!m_key)
        return MKRegValue();
    HKEY handle = GetHandle();
    if (handle == HKEY_PERFORMANCE_DATA)
        return QueryPerformanceData(handle, name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(handle, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return MKRegValue();
    for (int attempt = 0; attempt < kQueryAttempts && size <= INT32_MAX; ++attempt) {
        MKRegValue value = MKRegValue::Alloc(type, int(size));
        if (value.IsNull())
            return value;
        DWORD got = size;
        LONG result = RegQueryValueExW(handle, name, nullptr, &type, value.GetData(), &got);
        if (result == ERROR_SUCCESS) {
            // The value may have changed (type, or shrunk) since the first call.
            MKRegValue read = MKRegValue::Alloc(type, int(got));
            if (!read.IsNull())
                memcpy(read.GetData(), value.GetData(), got);
            return read;
        }
        if (result != ERROR_MORE_DATA)
            return MKRegValue();
        size = got;
    }
    return MKRegValue();
}

bool MKRegKey::QueryString(const wchar_t* name, MKString& out) const
{
    MKRegValue value = QueryValue(name);
    if (!value.IsString())
        return false;
    out = value.GetString();
    return true;
}

bool MKRegKey::GetBinary(const wchar_t* name, MKByteArray& out) const
{
    MKRegValue value = QueryValue(name);
    if (value.GetType() != REG_BINARY)
        return false;
    return out.Assign(value.GetData(), value.GetSize());
}

bool MKRegKey::GetDword(const wchar_t* name, uint32_t& out) const
{
    MKRegValue value = QueryValue(name);
    if (value.GetSize() != 4)
        return false;
    uint32_t raw;
    memcpy(&raw, value.GetData(), 4);
    if (value.GetType() == REG_DWORD)
        out = raw;
    else if (value.GetType() == REG_DWORD_BIG_ENDIAN)
        out = (raw >> 24) | ((raw >> 8) & 0xFF00) | ((raw << 8) & 0xFF0000) | (raw << 24);
    else
        return false;
    return true;
}

bool MKRegKey::SetValue(const wchar_t* name, const MKRegValue& value) const
{
    if (!IsWritable() || value.IsNull() || !NameFits(name))
        return false;
    return RegSetValueExW(GetHandle(), name, 0, value.GetType(), value.GetData(), DWORD(value.GetSize())) ==
           ERROR_SUCCESS;
}

bool MKRegKey::SetDword(const wchar_t* name, uint32_t value) const
{
    return SetValue(name, MKRegValue::FromDword(value));
}

bool MKRegKey::SetString(const wchar_t* name, const MKString& text) const
{
    return SetValue(name, MKRegValue::FromString(text));
}

bool MKRegKey::DeleteValue(const wchar_t* name) const
{
    if (!IsWritable() || !NameFits(name))
        return false;
    return RegDeleteValueW(GetHandle(), name) == ERROR_SUCCESS;
}

bool MKRegKey::DeleteAllValues() const
{
    if (!IsWritable())
        return false;
    MKTOArray<MKString> names;
    if (!EnumValueNames(names))
        return false;
    bool all = true;
    for (int i = 0; i < names.GetCount(); ++i)
        all = DeleteValue(names[i].GetText()) && all;
    return all;
}

bool MKRegKey::EnumSubKeys(MKTOArray<MKString>& names) const
{
    names.RemoveAll();
    return m_key && EnumNames(GetHandle(), true, names);
}

bool MKRegKey::EnumValueNames(MKTOArray<MKString>& names) const
{
    names.RemoveAll();
    return m_key && EnumNames(GetHandle(), false, names);
}

bool MKRegKey::DeleteSubKeyTree(const MKString& subPath) const
{
    if (!IsWritable())
        return false;
    MKString path = MKNormalizeKeyPath(subPath);
    return SubKeyExists(path) && DeleteTree(path);
}

bool MKRegKey::DeleteTree(const MKString& subPath) const
{
    if (!IsWritable())
        return false;
    {
        MKRegKey child = OpenSubKey(subPath, true);
        if (!child)
            return false;
        child.DeleteAllValues();
        MKTOArray<MKString> names;
        child.EnumSubKeys(names);
        for (int i = 0; i < names.GetCount(); ++i)
            child.DeleteTree(names[i]);
    }
    return RegDeleteKeyW(GetHandle(), subPath.GetText()) == ERROR_SUCCESS;
}

MKString MKNormalizeKeyPath(const MKString& path)
{
    if (path.FindChar(L'\\') < 0)
        return path;
    MKString result;
    wchar_t* out = result.PrepareOverwrite(path.GetLength());
    if (!out)
        return path;
    int n = 0;
    for (int i = 0; i < path.GetLength(); ++i) {
        if (path[i] == L'\\' && n > 0 && out[n - 1] == L'\\')
            continue;
        out[n++] = path[i];
    }
    if (n > 0 && out[n - 1] == L'\\')
        --n;
    out[n] = 0;
    result.SetLength(n);
    return result;
}

MKRegKey MKRegOpenSoftwareKey(const MKString& path, bool writable)
{
    return MKOpenRegKey::CurrentUser().OpenSubKey(MKString::PrependText(L"Software\\", path), writable);
}

MKRegKey MKRegOpenMachineSoftwareKey(const MKString& path, bool writable)
{
    return MKOpenRegKey::LocalMachine().OpenSubKey(MKString::PrependText(L"SOFTWARE\\", path), writable);
}
