#pragma once
#include <string>

// Writes the bytes to a new file at the path (replacing one); false when it
// cannot.
bool WriteTextFile(const std::wstring& path, const std::string& bytes);
