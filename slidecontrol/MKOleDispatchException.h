#pragma once
#include "base/MKException.h"
#include "base/MKString.h"

#include <windows.h>
#include <oaidl.h>

// An automation call that the called object answered with DISP_E_EXCEPTION:
// the EXCEPINFO it filled in (MKOleDispatchDriver).
class MKOleDispatchException : public MKException {
public:
    // Takes the texts of the record and frees its strings.
    explicit MKOleDispatchException(EXCEPINFO& info);

    WORD Code() const { return m_code; }
    const MKString& DescriptionText() const { return m_description; }
    const MKString& Source() const { return m_source; }
    const MKString& HelpFile() const { return m_helpFile; }
    // 0x60000 plus the help id when one was given, else 0.
    DWORD HelpContext() const { return m_helpContext; }
    // The record's scode; E_UNEXPECTED when it gave only a code of 0.
    HRESULT Result() const { return m_result; }
    const wchar_t* Description() const override { return L"automation object raised an exception"; }

private:
    WORD m_code;
    MKString m_description;
    MKString m_source;
    MKString m_helpFile;
    DWORD m_helpContext;
    HRESULT m_result;
};
