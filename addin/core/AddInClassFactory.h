#pragma once
#include <windows.h>
#include <unknwn.h>

// The class factory of the add-in's COM class. Each factory counts itself in
// the server lock count for its whole life, and every add-in it makes holds
// one reference on it, so a factory lives as long as its add-ins (plus the
// references COM or LockServer keep). The first live factory starts the
// module; the release of the last one stops it.
class AddInClassFactory final : public IClassFactory {
public:
    // Count 0: the creator takes the first reference.
    AddInClassFactory(HINSTANCE instance, REFCLSID classId);
    AddInClassFactory(const AddInClassFactory&) = delete;
    AddInClassFactory& operator=(const AddInClassFactory&) = delete;

    // Notes whether PowerPoint was started to show a presentation (the option
    // "/S" in either case) and, when this is the only live factory, starts
    // the module. False when the module cannot start.
    bool Initialize();

    HINSTANCE GetModuleInstance() const { return m_instance; }
    bool StartedToShow() const { return m_startedToShow; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    virtual ~AddInClassFactory();

    volatile LONG m_refs = 0;
    volatile LONG* m_serverLock;
    HINSTANCE m_instance;
    CLSID m_classId;
    bool m_startedToShow = false;
};

// True when the command line holds the option "S" after a slash, in either
// letter case; a dash does not introduce options here.
bool CommandLineAsksToShow(const wchar_t* commandLine);
