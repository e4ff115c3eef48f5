#pragma once
#include <map>
#include <string>
#include <vector>

namespace standin_clr {

// What the stand-in runtime takes for an assembly: UTF-8 text lines, the
// first "VistelloStandInAssembly", then "FullName=<display name>", then one
// "Type=<full type name>" line per type followed by that type's
// "<field>=<value>" lines (Kind = loader, kernel or plugin; Guid, Name,
// KernelVersion, TabId, TabXml, ...).
struct AssemblyType {
    std::wstring name;
    std::map<std::wstring, std::wstring> fields;

    std::wstring Field(const wchar_t* key) const;
};

struct AssemblyImage {
    std::wstring fullName;
    std::vector<AssemblyType> types;

    // False for bytes that are no such text or lack the full name.
    bool Parse(const unsigned char* bytes, size_t size);
    const AssemblyType* FindType(const std::wstring& name) const;
    // The first type of that kind, or null.
    const AssemblyType* FindKind(const wchar_t* kind) const;
};

}  // namespace standin_clr
