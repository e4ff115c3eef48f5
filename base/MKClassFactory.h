#pragma once
#include <windows.h>
#include <unknwn.h>

// Base of the class factories of our COM servers. QueryInterface answers
// IUnknown and IClassFactory; the count is interlocked and starts at 0 (the
// creator takes the first reference); the last Release deletes the factory
// inside the crash guard. CreateInstance refuses aggregation unless IUnknown
// is asked for and answers the asked interface of NewInstance's object, all
// inside the crash guard (E_UNEXPECTED after a fault). LockServer keeps the
// factory, and what it holds, with one more reference. A factory that lives
// elsewhere, or guards its calls its own way, overrides these.
class MKClassFactory : public IClassFactory {
public:
    MKClassFactory(const MKClassFactory&) = delete;
    MKClassFactory& operator=(const MKClassFactory&) = delete;

    // The module the factory's objects belong to (null when not given).
    HINSTANCE GetModuleInstance() const { return m_instance; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

protected:
    explicit MKClassFactory(HINSTANCE instance = nullptr) : m_instance(instance) {}
    virtual ~MKClassFactory() = default;

    // A new object, aggregated in `outer` when given: its own (non-delegating)
    // IUnknown with one reference for the caller; null when memory runs out.
    virtual IUnknown* NewInstance(IUnknown* outer) = 0;
    // CreateInstance without the crash guard.
    HRESULT CreateUnguarded(IUnknown* outer, REFIID iid, void** out);

    volatile LONG m_refs = 0;

private:
    HINSTANCE m_instance;
};
