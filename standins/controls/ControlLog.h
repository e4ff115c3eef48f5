#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>

namespace standin {

// The call log of the stand-in controls: one UTF-8 line per call made on a
// control, per event it fires and per call it makes on its host, appended to
// the file named by the environment variable VISTELLO_CONTROL_LOG (read at
// every write, so a test may switch files; "%TEMP%\vistello-controls.log"
// when unset). Every line starts with the control's name ("flash",
// "quicktime", "qtplugin", "browser") and a space; text arguments are quoted
// with Quote, HRESULTs written with Hex. The file is opened and closed for
// each line, so a crash loses nothing and readers see every line at once.
class ControlLog {
public:
    static void Write(const wchar_t* control, const std::wstring& line);
    static std::wstring Path();
};

// "text" with backslash, quote and control characters escaped; a null BSTR
// gives null.
std::wstring Quote(const wchar_t* text);
// 0x%08X.
std::wstring Hex(HRESULT value);
// How a VARIANT argument reads: "missing", "I4 0", "BOOL true", "BSTR \"x\"",
// "empty" or "vt <n>".
std::wstring VariantText(const VARIANT& value);
// left,top,right,bottom.
std::wstring RectText(const RECT& rect);

}  // namespace standin
