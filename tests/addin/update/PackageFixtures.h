#pragma once
#include "base/MKString.h"

#include <string>
#include <utility>
#include <vector>

// What update_fixtures.py made for the package readers (keep in step).
namespace packagefixture {
extern const wchar_t kKernelGuid[];
extern const wchar_t kPluginGuid[];
extern const wchar_t kTypeGuid[];
// The plain bytes of the module entries.
std::string StoredEntry();
std::string DeflatedEntry();
std::string LzmaEntry();
}  // namespace packagefixture

// A file made by update_fixtures.py under build/fixtures/update.
MKString UpdateFixture(const wchar_t* name);
// "file code" lines of a cases file, the file as its full path.
std::vector<std::pair<MKString, int>> PackageCases(const wchar_t* casesFile);
// Copies a fixture folder (with its subfolders) to target.
void CopyFixtureTree(const std::wstring& from, const std::wstring& target);
