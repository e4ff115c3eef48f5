#include "standins/powerpoint/StandInFiles.h"

namespace standin {

std::wstring StandInBinaryPath(const wchar_t* name)
{
    return std::wstring(VISTELLO_STANDIN_BIN) + L"\\" + name;
}

}  // namespace standin
