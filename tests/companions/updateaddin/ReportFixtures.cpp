#include "ReportFixtures.h"

#include "companions/updateaddin/UpdateHelperAssembly.h"

#include "addin/update/PackageKeyTable.h"
#include "fixtures/PackageScrambler.h"
#include "fixtures/StandInAssembly.h"

#include <windows.h>

#include <lzma.h>
#include <string.h>

namespace {

ResourceBytes Word(int32_t value)
{
    ResourceBytes bytes(4);
    memcpy(bytes.data(), &value, 4);
    return bytes;
}

}  // namespace

std::string ReportImage()
{
    return StandInAssembly(L"AddInUpdater, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null")
        .Type(L"Brelix.Vistello.AddInUpdater",
              {{L"Kind", L"plugin"}, {L"Name", L"Report"}, {L"Guid", L"{5B0C1D1E-0000-4000-8000-000000000500}"}})
        .Bytes();
}

ResourceBytes PlainResource(const std::string& image)
{
    ResourceBytes resource = Word(-1);
    resource.insert(resource.end(), image.begin(), image.end());
    return resource;
}

ResourceBytes PackedResource(const std::string& image, int32_t statedSize)
{
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    lzma_filter filters[] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    ResourceBytes packed(image.size() + 1024);
    lzma_stream encoder = LZMA_STREAM_INIT;
    if (lzma_raw_encoder(&encoder, filters) != LZMA_OK)
        return ResourceBytes();
    encoder.next_in = reinterpret_cast<const uint8_t*>(image.data());
    encoder.avail_in = image.size();
    encoder.next_out = packed.data();
    encoder.avail_out = packed.size();
    lzma_ret finished = lzma_code(&encoder, LZMA_FINISH);
    packed.resize(encoder.total_out);
    lzma_end(&encoder);
    if (finished != LZMA_STREAM_END)
        return ResourceBytes();
    ResourceBytes block = {static_cast<uint8_t>((options.pb * 5 + options.lp) * 9 + options.lc)};
    ResourceBytes dictionary = Word(static_cast<int32_t>(options.dict_size));
    block.insert(block.end(), dictionary.begin(), dictionary.end());
    block.insert(block.end(), packed.begin(), packed.end());
    ScramblePackageBlockForFixture(block.data(), static_cast<int>(block.size()),
                                   UpdateHelperAssembly::kReportResourceSeed, PackageKeyTable::Data());
    ResourceBytes resource = Word(statedSize);
    resource.insert(resource.end(), block.begin(), block.end());
    return resource;
}

bool WriteInstallerProgram(const std::wstring& folder, const ResourceBytes& resource)
{
    std::wstring path = folder + L"\\VistelloUpdater.exe";
    if (!CopyFileW((std::wstring(VISTELLO_OUT_DIR) + L"\\VistelloTrampoline.exe").c_str(), path.c_str(), FALSE))
        return false;
    if (resource.empty())
        return true;
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    if (!update)
        return false;
    bool added = UpdateResourceW(update, L"BIN", MAKEINTRESOURCEW(500), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                 const_cast<uint8_t*>(resource.data()), static_cast<DWORD>(resource.size()));
    return EndUpdateResourceW(update, !added) && added;
}
