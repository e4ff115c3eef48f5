#pragma once
#include "addin/core/LoaderRecords.h"
#include "companions/shared/CompanionAddIn.h"

class LoaderClassFactory;

// The loader's COM add-in object. Each connection loads VistelloAddIn from the
// loader's folder, hands it Office's Application through
// VistelloLoader_Create and lets it register and connect itself as a COM
// add-in of its own (through a hidden window of the loader and a posted
// WM_USER); then the loader frees its load of the library and stays idle.
// Every failure leaves the library freed and the callback table cleared.
// PowerPoint's user-interface thread only; counts are interlocked.
class LoaderAddIn final : public CompanionAddIn {
public:
    // Count 1 (CompanionAddIn).
    LoaderAddIn(LoaderClassFactory* factory, IUnknown* outer);

    // The hand-over, run by every OnConnection; nothing while the library is
    // held.
    void Connected(IDispatch* application, IDispatch* addInInst) override;

    // The window procedure the add-in creates the hidden loader window with;
    // the table is the creation parameter.
    static LRESULT CALLBACK LoaderHostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The main add-in's file name, written next to the loader's own module.
    static const wchar_t kMainAddInFile[];

private:
    ~LoaderAddIn() override;

    // Clears the callback table and frees the loader's load of the library.
    void LetGoOfLibrary();

    HMODULE m_addInModule = nullptr;
    LoaderCallbacks m_callbacks = {};
};
