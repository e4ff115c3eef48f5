#pragma once
#include <cstdint>
#include <vector>

// Package files as the fuzzer mutates them: the header block descrambled, so
// mutations reach the records rather than the scrambled bytes. ToStored makes
// the file the reader opens from such an input: the block scrambled again
// under the file's own key, its SHA-1 signature (kind 1) made over it, and an
// update package's total size set to the file's size. An input whose prefix
// does not reach the block is handed over unchanged.
std::vector<uint8_t> PackageToStored(const std::vector<uint8_t>& plain);
// The other way, for seeds: a stored package with its block descrambled.
std::vector<uint8_t> PackageToPlain(const std::vector<uint8_t>& stored);
