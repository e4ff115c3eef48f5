#pragma once
#include <string>

namespace standin {

// Full Windows path of a stand-in binary of the build (POWERPNT.EXE, MSO.DLL,
// PPINTL.DLL).
std::wstring StandInBinaryPath(const wchar_t* name);

}  // namespace standin
