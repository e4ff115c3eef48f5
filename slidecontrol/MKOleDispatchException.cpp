#include "slidecontrol/MKOleDispatchException.h"

namespace {

MKString TakeText(BSTR& text)
{
    MKString result(text ? static_cast<const wchar_t*>(text) : L"");
    SysFreeString(text);
    text = nullptr;
    return result;
}

}  // namespace

MKOleDispatchException::MKOleDispatchException(EXCEPINFO& info)
    : m_code(info.wCode),
      m_description(TakeText(info.bstrDescription)),
      m_source(TakeText(info.bstrSource)),
      m_helpFile(TakeText(info.bstrHelpFile)),
      m_helpContext(info.dwHelpContext ? 0x60000 + info.dwHelpContext : 0),
      m_result(info.scode ? info.scode : info.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, info.wCode)
                                                    : E_UNEXPECTED)
{
}
