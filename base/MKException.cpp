#include "base/MKException.h"

const wchar_t* MKException::Description() const
{
    return L"Exception";
}
