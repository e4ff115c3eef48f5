#pragma once
#include <windows.h>
#include <unknwn.h>

#include "addin/core/LoaderRecords.h"

class LoaderClassFactory;
class LoaderConnection;

// The loader's COM add-in object. Each connection loads VistelloAddIn from the
// loader's folder, hands it Office's Application through
// VistelloLoader_Create and lets it register and connect itself as a COM
// add-in of its own (through a hidden window of the loader and a posted
// WM_USER); then the loader frees its load of the library and stays idle.
// Every failure leaves the library freed and the callback table cleared.
// PowerPoint's user-interface thread only; counts are interlocked.
class LoaderAddIn final : public IUnknown {
public:
    // Count 1. Holds a reference on the factory; outer is the controlling
    // object when aggregated (not counted), else the object itself.
    LoaderAddIn(LoaderClassFactory* factory, IUnknown* outer);
    LoaderAddIn(const LoaderAddIn&) = delete;
    LoaderAddIn& operator=(const LoaderAddIn&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    IUnknown* ControllingObject() const { return m_controlling; }

    // The hand-over, run by every OnConnection; nothing while the library is
    // held or without a factory. The connection supplies Application and
    // AddInInst (null when absent).
    void LoadMainAddIn(IDispatch* application, IDispatch* addInInst);

    // The window procedure the add-in creates the hidden loader window with;
    // the table is the creation parameter.
    static LRESULT CALLBACK LoaderHostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The main add-in's file name, written next to the loader's own module.
    static const wchar_t kMainAddInFile[];

private:
    virtual ~LoaderAddIn();

    // Clears the callback table and frees the loader's load of the library.
    void LetGoOfLibrary();

    volatile LONG m_refs = 1;
    LoaderClassFactory* m_factory;
    IUnknown* m_controlling;
    LoaderConnection* m_connection;
    HMODULE m_addInModule = nullptr;
    LoaderCallbacks m_callbacks = {};
};
