#pragma once
#include <windows.h>
#include <string>

namespace standin {

struct FileVersion {
    WORD major = 0;
    WORD minor = 0;
    WORD build = 0;
    WORD revision = 0;
};

// Where MSO.DLL goes: named by the FilesPaths value "mso.dll" (how Office 11
// and later register it), in the shared Office folder of CommonFilesDir (how
// Office 10 places it), or nowhere.
enum class MsoPlace { FilesPaths, SharedFolder, None };

// A stand-in Office installation as Office detection reads it: the
// InstallRoot "Path" value of Office\<major>.0\Common under HKEY_LOCAL_MACHINE,
// POWERPNT.EXE in that folder and MSO.DLL, each a copy of the stand-in binary
// with the given file version stamped into its version resource. A zero
// version writes the file without a version resource (unreadable version).
struct OfficeInstallation {
    int major = 14;
    std::wstring folder;  // the install root; the value gets a trailing backslash
    bool withPowerPoint = true;
    FileVersion powerPointVersion;
    MsoPlace msoPlace = MsoPlace::FilesPaths;
    FileVersion msoVersion;

    // False when a key, value or file cannot be written.
    bool Install() const;
    // Removes the values and files Install wrote.
    void Remove() const;
    std::wstring MsoPath() const;
};

// Copies the file and stamps the version into the copy's fixed file version
// and product version; a zero version strips the version resource instead.
bool CopyWithVersion(const std::wstring& source, const std::wstring& target, const FileVersion& version);

}  // namespace standin
