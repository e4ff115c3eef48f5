#include "standins/clr/AssemblyImage.h"

#include <windows.h>

namespace standin_clr {

std::wstring AssemblyType::Field(const wchar_t* key) const
{
    auto found = fields.find(key);
    return found == fields.end() ? std::wstring() : found->second;
}

bool AssemblyImage::Parse(const unsigned char* bytes, size_t size)
{
    if (!bytes || size == 0 || size > 0x1000000)
        return false;
    int length = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(size),
                                     nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(size), text.data(),
                        length);
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (first) {
            if (line != L"VistelloStandInAssembly")
                return false;
            first = false;
            continue;
        }
        size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        std::wstring key = line.substr(0, equals);
        std::wstring value = line.substr(equals + 1);
        if (key == L"FullName")
            fullName = value;
        else if (key == L"Type")
            types.push_back(AssemblyType{value, {}});
        else if (!types.empty())
            types.back().fields[key] = value;
    }
    return !first && !fullName.empty();
}

const AssemblyType* AssemblyImage::FindType(const std::wstring& name) const
{
    for (const AssemblyType& type : types) {
        if (type.name == name)
            return &type;
    }
    return nullptr;
}

const AssemblyType* AssemblyImage::FindKind(const wchar_t* kind) const
{
    for (const AssemblyType& type : types) {
        if (type.Field(L"Kind") == kind)
            return &type;
    }
    return nullptr;
}

}  // namespace standin_clr
