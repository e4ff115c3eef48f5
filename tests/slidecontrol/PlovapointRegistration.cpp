#include "PlovapointRegistration.h"

std::wstring PlovapointRegistration::Path()
{
    return VISTELLO_PLOVAPOINT_DLL;
}

PlovapointRegistration::PlovapointRegistration()
{
    m_module = LoadLibraryW(Path().c_str());
    auto reg = m_module ? reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(m_module, "DllRegisterServer"))
                        : nullptr;
    m_result = reg ? reg() : HRESULT_FROM_WIN32(GetLastError());
}

PlovapointRegistration::~PlovapointRegistration()
{
    if (!m_module)
        return;
    auto unreg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(m_module, "DllUnregisterServer"));
    if (unreg)
        unreg();
    FreeLibrary(m_module);
}
