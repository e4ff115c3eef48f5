#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "fixtures/Fixtures.h"

#include <filesystem>
#include <sstream>

namespace packagefixture {
const wchar_t kKernelGuid[] = L"B80321F4-6A3C-48C1-89A9-FDCFF7BA605A";
const wchar_t kPluginGuid[] = L"6D1E0C7A-1B2C-4D3E-8F90-A1B2C3D4E5F6";
const wchar_t kTypeGuid[] = L"0A0B0C0D-0E0F-1011-1213-141516171819";

static std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

std::string StoredEntry()
{
    std::string one;
    for (int i = 0; i < 256; ++i)
        one += static_cast<char>(i);
    return Repeat(one, 3) + "tail";
}

std::string DeflatedEntry()
{
    return Repeat("zlib entry ", 300);
}

std::string LzmaEntry()
{
    return Repeat("lzma entry data ", 500);
}
}  // namespace packagefixture

MKString UpdateFixture(const wchar_t* name)
{
    return MKString(FixturePath((std::wstring(L"update\\") + name).c_str()).c_str());
}

std::vector<std::pair<MKString, int>> PackageCases(const wchar_t* casesFile)
{
    std::vector<std::pair<MKString, int>> cases;
    for (const std::string& line : ReadFixtureLines(casesFile)) {
        std::istringstream fields(line);
        std::string file;
        int code = -1;
        fields >> file >> code;
        std::wstring name = L"packages\\" + std::wstring(file.begin(), file.end()) + L".bin";
        cases.emplace_back(UpdateFixture(name.c_str()), code);
    }
    return cases;
}

void CopyFixtureTree(const std::wstring& from, const std::wstring& target)
{
    std::filesystem::copy(std::filesystem::path(FixturePath((L"update\\" + from).c_str())),
                          std::filesystem::path(target), std::filesystem::copy_options::recursive);
}
