#pragma once
#include "hostapi/PluginInterfaces.h"

class AddInCore;
class AddInCoreHost;

// The add-in's native services for the plug-in kernel: versions, usage
// counts, effect types, effect ids and data on shapes, image sizes and
// buffer compression. Callers bind to the table (Invoke answers E_NOTIMPL);
// addresses they pass as integers are looked at before use. The count is
// locked; the last Release deletes it.
class KernelHostObject final : public IKernelHost {
public:
    // One reference, the caller's. Both must outlive the object's use.
    KernelHostObject(AddInCore* core, AddInCoreHost* owner);
    KernelHostObject(const KernelHostObject&) = delete;
    KernelHostObject& operator=(const KernelHostObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE ReportPluginException(BSTR pluginGuid, BSTR text) override;
    HRESULT STDMETHODCALLTYPE GetKernelVersion(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE GetEffectTypeState(long index, long* state) override;
    HRESULT STDMETHODCALLTYPE CountEffectTypeUse(long index) override;
    HRESULT STDMETHODCALLTYPE CountUse(long kind) override;
    HRESULT STDMETHODCALLTYPE GetFlashVersion(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE GetQuickTimeVersion(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE CreateHttpRequest(IDispatch** request) override;
    HRESULT STDMETHODCALLTYPE ExportPicture(BSTR moviePath, long width, long height, long frame, BSTR outputPath,
                                            long format, long quality, long backgroundMode, long backgroundColor,
                                            BSTR* message) override;
    HRESULT STDMETHODCALLTYPE GetShapeEffectId(IUnknown* effect, BSTR* id) override;
    HRESULT STDMETHODCALLTYPE WriteShapeEffect(long effect, long id, long bytes, long length) override;
    HRESULT STDMETHODCALLTYPE ReadShapeEffectData(IUnknown* effect, long* address, long* size) override;
    HRESULT STDMETHODCALLTYPE GetImageFileSize(const wchar_t* path, long* width, long* height, long* ok) override;
    HRESULT STDMETHODCALLTYPE StopSlideShow() override;
    HRESULT STDMETHODCALLTYPE CompressBuffer(long source, long sourceLength, long target, long capacity, long level,
                                             long raw, long* produced, long* ok) override;
    HRESULT STDMETHODCALLTYPE UncompressBuffer(long source, long sourceLength, long target, long length, long raw,
                                               long* produced, long* ok) override;

private:
    virtual ~KernelHostObject() = default;

    volatile LONG m_refs = 1;
    AddInCore* m_core;
    AddInCoreHost* m_owner;
};
