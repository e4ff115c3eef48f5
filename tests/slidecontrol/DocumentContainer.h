#pragma once
#include <windows.h>
#include <oleidl.h>

// The document a control sits in, as the control sees it through its site's
// GetContainer: an IOleContainer whose IDispatch answers "Application" with
// the given object, and which answers PowerPoint's presentation interface
// when it plays a presentation (else it is a Word or Excel document). Made
// with one reference for its creator.
class DocumentContainer final : public IOleContainer, public IDispatch {
public:
    DocumentContainer(IDispatch* application, bool presentation);
    DocumentContainer(const DocumentContainer&) = delete;
    DocumentContainer& operator=(const DocumentContainer&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override;

private:
    ~DocumentContainer();

    ULONG m_refs = 1;
    IDispatch* m_application;
    bool m_presentation;
};
