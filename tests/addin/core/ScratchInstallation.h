#pragma once
#include "AddInTestSupport.h"

#include <memory>
#include <string>

// A fresh folder holding a copy of the built VistelloAddIn.dll beside the
// files of one installation that standin_install.py made ("full": the
// kernel and the test plug-ins A and B; "demo": the kernel, plug-in A and
// the demo's content plug-ins; "no_loader_type": a kernel whose
// loader assembly lacks the loader type; any other name: no "plugins.dat"),
// with the copy registered as the add-in's COM server and Office add-in.
// The destructor removes the registration and, where nothing holds them any
// more, the files.
class ScratchInstallation {
public:
    explicit ScratchInstallation(const std::wstring& installation);
    ~ScratchInstallation();
    ScratchInstallation(const ScratchInstallation&) = delete;
    ScratchInstallation& operator=(const ScratchInstallation&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    // The copy of the library, loaded; registration succeeded when this
    // answers S_OK.
    AddInLibrary& Library() { return *m_library; }
    HRESULT Registered() const { return m_registered; }

private:
    std::wstring m_folder;
    std::unique_ptr<AddInLibrary> m_library;
    HRESULT m_registered = E_FAIL;
};
