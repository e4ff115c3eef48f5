#pragma once
#include <windows.h>
#include <string>

// The real plovapoint.dll of the build registered machine-wide in the test
// prefix (its own DllRegisterServer, in this process) for the life of the
// object; the destructor unregisters it. The Flash Player class must be
// registered first (ControlRegistration), or registration asks its question
// in a message box. Tests that use it take the "office_registry" lock.
class PlovapointRegistration {
public:
    PlovapointRegistration();
    ~PlovapointRegistration();
    PlovapointRegistration(const PlovapointRegistration&) = delete;
    PlovapointRegistration& operator=(const PlovapointRegistration&) = delete;

    HRESULT Result() const { return m_result; }
    static std::wstring Path();

private:
    HMODULE m_module = nullptr;
    HRESULT m_result = E_FAIL;
};
