#pragma once
#include "base/MKString.h"
#include "base/MKTOArray.h"
#include "base/MKVersion.h"

#include <stdint.h>

class MKVersionLibrary;

// The version resource of a file: the twelve usual strings, the language
// name, the fixed file and product versions and flags, and the values of any
// extra string names the caller lists before reading. Strings are looked up
// under the file's first translation, then under the usual US English keys
// (040904b0, 040904e4, 04090000) when that has no FileVersion.
class MKFileVersionInfo {
public:
    enum StringId {
        CompanyName,
        FileDescription,
        FileVersion,
        InternalName,
        LegalCopyright,
        OriginalFilename,
        ProductName,
        ProductVersion,
        Comments,
        LegalTrademarks,
        PrivateBuild,
        SpecialBuild,
        StringCount
    };

    explicit MKFileVersionInfo(const MKString& path);
    MKFileVersionInfo(const MKFileVersionInfo&) = delete;
    MKFileVersionInfo& operator=(const MKFileVersionInfo&) = delete;

    // Reads with the given library, or with version.dll loaded for this read
    // alone. True once the resource was read, even when it holds no strings;
    // false (everything cleared) for a missing file or one without a version
    // resource.
    bool Read(MKVersionLibrary* library = nullptr);
    bool Load(MKVersionLibrary& library);
    // Empties the strings and zeroes the numbers; the extra names stay.
    void Clear();

    const MKString& GetPath() const { return m_path; }
    const MKString& GetString(StringId id) const { return m_strings[id]; }
    static const wchar_t* StringName(StringId id);
    const MKString& GetLanguageName() const { return m_languageName; }
    MKVersion GetFileVersion() const;
    MKVersion GetProductVersion() const;
    uint32_t GetFileFlags() const { return m_fileFlags; }

    // Names of further strings to read; their values land at the same index.
    MKTOArray<MKString>& ExtraNames() { return m_extraNames; }
    const MKTOArray<MKString>& ExtraValues() const { return m_extraValues; }

private:
    // True when the key gave a FileVersion.
    bool ReadStrings(MKVersionLibrary& library, const void* data, uint32_t key, uint16_t language);
    void ReadFixedPart(MKVersionLibrary& library, const void* data);

    MKString m_path;
    MKString m_strings[StringCount];
    MKString m_languageName;
    int32_t m_fileVersion[4] = {};
    int32_t m_productVersion[4] = {};
    uint32_t m_fileFlags = 0;
    MKTOArray<MKString> m_extraNames;
    MKTOArray<MKString> m_extraValues;
};
