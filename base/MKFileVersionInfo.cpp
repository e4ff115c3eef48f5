#include "base/MKFileVersionInfo.h"

#include "base/MKFile.h"
#include "base/MKTArray.h"
#include "base/MKVersionLibrary.h"

#include <wchar.h>

namespace {

const uint32_t kUsEnglishAnsi = 0x040904E4;
const uint32_t kFallbackKeys[] = {0x040904B0, 0x040904E4, 0x04090000};
const uint16_t kUsEnglish = 0x0409;

const wchar_t* const kStringNames[MKFileVersionInfo::StringCount] = {
    L"CompanyName", L"FileDescription", L"FileVersion",  L"InternalName", L"LegalCopyright", L"OriginalFilename",
    L"ProductName", L"ProductVersion",  L"Comments",     L"LegalTrademarks", L"PrivateBuild", L"SpecialBuild",
};

// The text of "\StringFileInfo\<key>\<name>", never read past the length
// the resource gives; empty when absent.
MKString QueryString(MKVersionLibrary& library, const void* data, uint32_t key, const wchar_t* name)
{
    MKString query = MKString::FromFormat(L"\\StringFileInfo\\%08x\\%s", key, name);
    void* value = nullptr;
    UINT length = 0;
    if (!library.queryValue(data, query.GetText(), &value, &length) || !value)
        return MKString();
    const wchar_t* text = static_cast<const wchar_t*>(value);
    UINT end = 0;
    while (end < length && text[end])
        ++end;
    return MKString::MKStringFromChars(text, int(end));
}

void SplitVersion(DWORD most, DWORD least, int32_t* parts)
{
    parts[0] = int32_t(most >> 16);
    parts[1] = int32_t(most & 0xFFFF);
    parts[2] = int32_t(least >> 16);
    parts[3] = int32_t(least & 0xFFFF);
}

}  // namespace

MKFileVersionInfo::MKFileVersionInfo(const MKString& path) : m_path(path) {}

const wchar_t* MKFileVersionInfo::StringName(StringId id)
{
    return kStringNames[id];
}

bool MKFileVersionInfo::Read(MKVersionLibrary* library)
{
    if (library)
        return Load(*library);
    MKVersionLibrary local;
    if (!local.Load()) {
        Clear();
        return false;
    }
    return Load(local);
}

void MKFileVersionInfo::Clear()
{
    for (MKString& s : m_strings)
        s.Clear();
    m_languageName.Clear();
    for (int i = 0; i < 4; ++i) {
        m_fileVersion[i] = 0;
        m_productVersion[i] = 0;
    }
    m_fileFlags = 0;
}

bool MKFileVersionInfo::Load(MKVersionLibrary& library)
{
    Clear();
    if (!library.Load() || !MKFileExists(m_path))
        return false;
    DWORD size = library.getInfoSize(m_path.GetText(), nullptr);
    if (size == 0 || size > INT32_MAX)
        return false;
    MKByteArray data;
    if (!data.SetSize(int(size)) || !library.getInfo(m_path.GetText(), 0, size, data.GetData()))
        return false;

    uint32_t key = kUsEnglishAnsi;
    uint16_t language = kUsEnglish;
    void* translation = nullptr;
    UINT length = 0;
    if (library.queryValue(data.GetData(), L"\\VarFileInfo\\Translation", &translation, &length) && translation &&
        length >= 4) {
        const WORD* entry = static_cast<const WORD*>(translation);
        language = entry[0];
        key = (uint32_t(entry[0]) << 16) | entry[1];
    }
    if (!ReadStrings(library, data.GetData(), key, language)) {
        for (uint32_t fallback : kFallbackKeys) {
            if (fallback != key && ReadStrings(library, data.GetData(), fallback, language))
                break;
        }
    }
    ReadFixedPart(library, data.GetData());
    return true;
}

bool MKFileVersionInfo::ReadStrings(MKVersionLibrary& library, const void* data, uint32_t key, uint16_t language)
{
    for (int i = 0; i < StringCount; ++i)
        m_strings[i] = QueryString(library, data, key, kStringNames[i]);

    wchar_t name[256];
    DWORD nameLength = library.languageName(language, name, 256);
    // Some systems count the terminator in the answer: the name ends at it.
    m_languageName = MKString::MKStringFromChars(name, nameLength < 256 ? int(wcsnlen(name, nameLength)) : 0);

    int extra = m_extraNames.GetCount();
    if (m_extraValues.Resize(extra)) {
        for (int i = 0; i < extra; ++i)
            m_extraValues[i] = QueryString(library, data, key, m_extraNames[i].GetText());
    }
    return !m_strings[FileVersion].IsEmpty();
}

void MKFileVersionInfo::ReadFixedPart(MKVersionLibrary& library, const void* data)
{
    void* value = nullptr;
    UINT length = 0;
    if (!library.queryValue(data, L"\\", &value, &length) || !value || length < sizeof(VS_FIXEDFILEINFO))
        return;
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    SplitVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, m_fileVersion);
    SplitVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS, m_productVersion);
    m_fileFlags = fixed->dwFileFlags;
}

MKVersion MKFileVersionInfo::GetFileVersion() const
{
    return MKVersion(m_fileVersion[0], m_fileVersion[1], m_fileVersion[2], m_fileVersion[3]);
}

MKVersion MKFileVersionInfo::GetProductVersion() const
{
    return MKVersion(m_productVersion[0], m_productVersion[1], m_productVersion[2], m_productVersion[3]);
}
