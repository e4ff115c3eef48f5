#pragma once
#include "base/MKClassFactory.h"

// The class factory of the add-in's COM class. Each factory counts itself in
// the server lock count for its whole life, and every add-in it makes holds
// one reference on it, so a factory lives as long as its add-ins (plus the
// references COM or LockServer keep). The first live factory starts the
// module; the release of the last one stops it.
class AddInClassFactory final : public MKClassFactory {
public:
    // Count 0: the creator takes the first reference.
    explicit AddInClassFactory(HINSTANCE instance);

    // Notes whether PowerPoint was started to show a presentation (the option
    // "/S" in either case) and, when this is the only live factory, starts
    // the module. False when the module cannot start.
    bool Initialize();

    bool StartedToShow() const { return m_startedToShow; }

    // Guarded by the add-in's own guard, which records the add-in's faults.
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;

private:
    ~AddInClassFactory() override;
    IUnknown* NewInstance(IUnknown* outer) override;

    volatile LONG* m_serverLock;
    bool m_startedToShow = false;
};

// True when the command line holds the option "S" after a slash, in either
// letter case; a dash does not introduce options here.
bool CommandLineAsksToShow(const wchar_t* commandLine);
