#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The one folder the readers may change files in while they are fuzzed: made
// under the temporary folder for this process and emptied as the run goes.
// A file-changing call anywhere else is refused and counted (FileCallGuard).
const std::wstring& FuzzScratchFolder();
// A path inside it.
std::wstring FuzzScratchFile(const wchar_t* name);
// Writes an input's bytes to a scratch file whole; false when it cannot.
bool WriteScratchFile(const std::wstring& path, const std::vector<uint8_t>& bytes);
// Deletes everything the scratch folder holds.
void EmptyScratchFolder();
