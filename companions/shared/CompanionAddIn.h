#pragma once
#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

class CompanionConnection;
class MKClassFactory;

// Base of the companions' COM add-in objects. The object answers IUnknown
// (its own, non-delegating) and Office's IDTExtensibility2, a connection that
// shares the controlling object's count and hands each connection to
// Connected. It holds a reference on its factory for its whole life. Count 1
// at construction; the last Release deletes the object inside the crash
// guard, and the count stays above zero while it goes, so references taken
// and dropped by the tear-down never delete it twice. PowerPoint's
// user-interface thread only; counts are interlocked.
class CompanionAddIn : public IUnknown {
public:
    CompanionAddIn(const CompanionAddIn&) = delete;
    CompanionAddIn& operator=(const CompanionAddIn&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    IUnknown* ControllingObject() const { return m_controlling; }
    HINSTANCE GetModuleInstance() const;

    // Office connected the add-in: the connection keeps Application (never
    // null) and AddInInst (null when absent) until it is disconnected.
    virtual void Connected(IDispatch* application, IDispatch* addInInst) = 0;

protected:
    // outer is the controlling object when aggregated (not counted), else
    // the object itself.
    CompanionAddIn(MKClassFactory* factory, IUnknown* outer);
    // After the derived object's own tear-down: the connection goes, then
    // the factory's reference.
    virtual ~CompanionAddIn();

private:
    volatile LONG m_refs = 1;
    MKClassFactory* m_factory;
    IUnknown* m_controlling;
    CompanionConnection* m_connection;
};
