#pragma once
#include <windows.h>
#include <string>

namespace standin_clr {

// The stand-in runtime's record of calls, for order checks: one line per call
// appended to the file named by the environment variable VISTELLO_CLR_LOG
// (nothing without it), so that it outlives the unloading of the stand-in.
// Failures are injected by listing calls, comma-separated, in
// VISTELLO_CLR_FAIL; they answer E_FAIL.
class ClrLog {
public:
    // Appends the line; answers E_FAIL when the call's name (the line up to
    // its first blank or parenthesis) is listed as failing, else S_OK.
    static HRESULT Enter(const std::wstring& line);
    static void Note(const std::wstring& line);
    static bool IsFailing(const std::wstring& call);
    // The environment variable's text, empty when unset.
    static std::wstring Setting(const wchar_t* name);
};

std::wstring Hex(const void* pointer);

}  // namespace standin_clr
