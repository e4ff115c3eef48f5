// How the update add-in tells the user that an update failed.
#include "companions/updateaddin/UpdateHelperAssembly.h"
#include "companions/updateaddin/UpdaterAddIn.h"

#include "addin/effects/ClrObject.h"

void UpdaterAddIn::ReportFailure()
{
    // The main add-in reports failures of the updates it runs automatically.
    if (m_prepare)
        return;
    HWND owner = MainWindow();
    UpdateHelperAssembly helper;
    if (helper.CanUse() && helper.StartHost() && helper.Load(L"Brelix.Vistello.AddInUpdater", m_ownFolder)) {
        VARIANT arguments[2];
        // Last argument first: the error code, then the owner window.
        VariantInit(&arguments[0]);
        arguments[0].vt = VT_I4;
        arguments[0].lVal = m_errorCode;
        VariantInit(&arguments[1]);
        arguments[1].vt = VT_I8;
        arguments[1].llVal = static_cast<LONGLONG>(reinterpret_cast<LONG_PTR>(owner));
        HRESULT hr = helper.GetObject()->InvokeMethod(L"MBUpdateFailed", arguments, 2, nullptr);
        helper.Release();
        if (SUCCEEDED(hr))
            return;
    }
    helper.Release();
    MKString text = MKString::FromFormat(
        L"A serious error occurred while updating files. (error UA-%d)\r\n"
        L"Please download and install the new setup to update your version.",
        m_errorCode);
    MessageBoxW(owner, text.GetText(), L"Vistello", MB_ICONERROR);
}
