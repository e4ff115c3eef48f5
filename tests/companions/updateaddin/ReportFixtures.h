#pragma once
#include <stdint.h>
#include <string>
#include <vector>

// The report assembly and the installer program that carries it, for the
// update failure report's tests.

using ResourceBytes = std::vector<uint8_t>;

// A stand-in assembly whose type "Brelix.Vistello.AddInUpdater" logs its
// calls as "Report.<member>".
std::string ReportImage();
// Resource "BIN" 500 with n < 0: the image as it is.
ResourceBytes PlainResource(const std::string& image);
// With n = statedSize >= 0: the image's raw LZMA form (5 property bytes,
// then the stream) scrambled with the product's seed.
ResourceBytes PackedResource(const std::string& image, int32_t statedSize);
// VistelloUpdater.exe in the folder: a program of the build with the
// resource added (none when empty). False when it cannot be written.
bool WriteInstallerProgram(const std::wstring& folder, const ResourceBytes& resource);
