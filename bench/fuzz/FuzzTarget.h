#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One input: its bytes and the kind of data they hold as the target names it
// (an image's extension, say), which mutations keep.
struct FuzzInput {
    std::vector<uint8_t> bytes;
    std::string kind;
};

// A reader of stored data driven the way the product drives it.
struct FuzzTarget {
    const char* name;
    // Adds the seeds: inputs made by the fixture writers, and files of the
    // build's fixture folder `fixtures` (made there by ffmpeg and ImageMagick).
    void (*addSeeds)(const std::wstring& fixtures, std::vector<FuzzInput>& seeds);
    // Reads one input and everything the product does with what it read.
    void (*run)(const FuzzInput& input);
    // Optional: mends what would stop most mutations at the first check (a
    // checksum, say), so they reach the reader's later steps.
    void (*fixUp)(FuzzInput& input);
};

const FuzzTarget& ImageTarget();
const FuzzTarget& MovieTarget();
const FuzzTarget& ValueTarget();
const FuzzTarget& DocumentTarget();
const FuzzTarget& UpdatePackageTarget();
const FuzzTarget& ModulePackageTarget();
const FuzzTarget& PluginListTarget();
const FuzzTarget& SetupPayloadTarget();
const FuzzTarget& ValueTreeTarget();
const FuzzTarget& TagDataTarget();
const FuzzTarget& RecordsTarget();
const FuzzTarget& ControlRecordTarget();
const FuzzTarget& SwfHeaderTarget();

// The files of a folder whose names end with `suffix`, as inputs of that kind.
void AddSeedFiles(const std::wstring& folder, const wchar_t* suffix, const char* kind, std::vector<FuzzInput>& seeds);
// The files of a folder whose names match a wildcard pattern ("update_*.bin").
void AddSeedFilesMatching(const std::wstring& folder, const wchar_t* pattern, const char* kind,
                          std::vector<FuzzInput>& seeds);
// One file's bytes; false when it cannot be read.
bool ReadInputFile(const std::wstring& path, std::vector<uint8_t>& bytes);
