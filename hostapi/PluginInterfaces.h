#pragma once
#include <windows.h>
#include <oaidl.h>

// The interfaces between the add-in and the .NET side of its plug-ins (the
// loader assembly, the plug-in kernel and the plug-ins), in their fixed
// method order. All derive from IDispatch and are called through their
// tables. Slots the add-in never calls keep their place as Reserved.

inline constexpr IID IID_IPPTPluginLoader = {
    0x373848D9, 0x0D66, 0x4246, {0x92, 0xE1, 0x3A, 0x1F, 0x7F, 0x5F, 0x1C, 0x9D}};
inline constexpr IID IID_IKernelPlugin = {
    0x5C7F2B59, 0x4E3A, 0x458F, {0xBC, 0x8C, 0x05, 0x3A, 0x6E, 0xBC, 0xD8, 0x07}};
inline constexpr IID IID_KernelEventSink = {
    0x220AD5FA, 0x0D11, 0x4AC3, {0x9E, 0xE9, 0x35, 0x8F, 0x47, 0x2A, 0x0D, 0x6E}};
inline constexpr IID IID_IVistelloPlugin = {
    0xC36A4AF4, 0x0F45, 0x4B9C, {0x94, 0xEF, 0x2C, 0x57, 0xA3, 0xC4, 0xA7, 0xF0}};

// The loader object of the loader assembly. Assemblies travel as the
// runtime's _Assembly objects (IUnknown).
struct IPPTPluginLoader : public IDispatch {
    // The loaded assembly of that display name, or null.
    virtual HRESULT STDMETHODCALLTYPE FindAssembly(BSTR displayName, IUnknown** assembly) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved2() = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadAssemblyFile(BSTR path, IUnknown** assembly) = 0;
    // A one-dimensional byte array.
    virtual HRESULT STDMETHODCALLTYPE LoadAssemblyBytes(SAFEARRAY* image, IUnknown** assembly) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePluginObject(IUnknown* assembly, IDispatch** plugin) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetKernelVersion(BSTR* version) = 0;
};

// Every plug-in's main interface.
struct IVistelloPlugin : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetGuid(BSTR* guid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;
    // Kernel only: takes the kernel host object, answers the kernel's event
    // object.
    virtual HRESULT STDMETHODCALLTYPE StartKernel(IUnknown* host, IUnknown** events) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(BSTR packageName, IUnknown* api, VARIANT_BOOL* ok) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryLoaded(IUnknown** answer) = 0;
    virtual HRESULT STDMETHODCALLTYPE Shutdown() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateShapeEffect(IUnknown* shape, long typeIndex, IUnknown** effect) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateEffectContent(IUnknown* effect, long argument, IUnknown** content) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReportTypeFailure(long typeIndex) = 0;
};

// The kernel plug-in's own interface.
struct IKernelPlugin : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SetCallback(IDispatch* callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved2() = 0;
    virtual HRESULT STDMETHODCALLTYPE IsReady(long* ready) = 0;
    virtual HRESULT STDMETHODCALLTYPE Shutdown() = 0;
    // The slide-show window, the slide and the node host's proxy.
    virtual HRESULT STDMETHODCALLTYPE CreateObject(IUnknown* showWindow, IUnknown* slide, IUnknown* nodeHost,
                                                   IUnknown** object) = 0;
};

// The kernel's event interface: PowerPoint's application events in their
// order, then the kernel's query and message calls. Arguments are
// PowerPoint's objects, borrowed for the call.
struct KernelEventSink : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnStarted() = 0;
    virtual HRESULT STDMETHODCALLTYPE WindowSelectionChange(IDispatch* selection) = 0;
    virtual HRESULT STDMETHODCALLTYPE WindowBeforeRightClick(IDispatch* selection, long* cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE WindowBeforeDoubleClick(long* cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE PresentationClose(IDispatch* presentation) = 0;
    virtual HRESULT STDMETHODCALLTYPE PresentationSave(IDispatch* presentation) = 0;
    virtual HRESULT STDMETHODCALLTYPE PresentationOpen(IDispatch* presentation) = 0;
    virtual HRESULT STDMETHODCALLTYPE NewPresentation(IDispatch* presentation) = 0;
    virtual HRESULT STDMETHODCALLTYPE PresentationNewSlide(IDispatch* slide) = 0;
    virtual HRESULT STDMETHODCALLTYPE WindowActivate(IDispatch* presentation, IDispatch* window) = 0;
    virtual HRESULT STDMETHODCALLTYPE WindowDeactivate(IDispatch* presentation, IDispatch* window) = 0;
    virtual HRESULT STDMETHODCALLTYPE SlideShowBegin(IDispatch* showWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE SlideShowEnd(IDispatch* presentation) = 0;
    virtual HRESULT STDMETHODCALLTYPE PresentationPrint(IDispatch* presentation) = 0;
    virtual HRESULT STDMETHODCALLTYPE SlideSelectionChanged(IDispatch* range) = 0;
    virtual HRESULT STDMETHODCALLTYPE ColorSchemeChanged(IDispatch* range) = 0;
    virtual HRESULT STDMETHODCALLTYPE Query(long code, BSTR text, long* answer) = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowMessage(BSTR caption, BSTR text) = 0;
};

inline constexpr IID IID_IPluginApi = {
    0x20F2987D, 0x12D7, 0x4E9E, {0x91, 0xA4, 0xA6, 0xA4, 0x26, 0x85, 0x83, 0x18}};

// The add-in's object for one plug-in. Addresses are 32-bit integers naming
// memory of the host process.
struct IPluginApi : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE RegisterRibbonHandler(IDispatch* handler, BSTR* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnregisterRibbonHandler(BSTR id) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterEffectType(long guidAddress, BSTR* name, BSTR* description,
                                                         BSTR* version, long* value, long* usageId,
                                                         long* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterContent(long value, long kind, BSTR* key) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnregisterContent(BSTR key) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTabsXml(BSTR xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTabXml(BSTR tabId, BSTR xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTabGroupXml(BSTR tabId, BSTR groupId, BSTR xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTabSetXml(BSTR tabSetId, BSTR xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTabSetTabXml(BSTR tabSetId, BSTR tabId, BSTR xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTabSetGroupXml(BSTR tabSetId, BSTR tabId, BSTR groupId, BSTR xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddCustomElementXml(BSTR elementId, BSTR xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE InvalidateRibbon(BSTR controlId) = 0;
    virtual HRESULT STDMETHODCALLTYPE CallTypeMethod(long value, long typeIndex, BSTR text, long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CallTypeMethodWithData(long value, long typeIndex, BSTR text, long first,
                                                             long second, long third) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryTypeData(long value, long typeIndex, BSTR text, long first, long second,
                                                    long third, IUnknown** data) = 0;
    virtual HRESULT STDMETHODCALLTYPE NotifyType(long value, long typeIndex, BSTR text, long argument) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadPackageItem(BSTR name, long* address, long* size, BYTE* ok) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateNodeHost(BSTR urlPrefix, long first, long second, long* nodeHost,
                                                     IDispatch** proxy) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloseNode(long node) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSlideShowTime(IUnknown* showWindow, LONGLONG* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSlideShowLog(IUnknown* showWindow, long* count, long* address,
                                                      long* size) = 0;
};

inline constexpr IID IID_IKernelHost = {
    0xC3697394, 0x99C9, 0x4E84, {0xB5, 0xF0, 0x06, 0x31, 0xE7, 0xBF, 0x8E, 0x21}};

// The add-in's object handed to the kernel at its start. Addresses are
// 32-bit integers naming memory of the host process.
struct IKernelHost : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE ReportPluginException(BSTR pluginGuid, BSTR text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetKernelVersion(BSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEffectTypeState(long index, long* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE CountEffectTypeUse(long index) = 0;
    virtual HRESULT STDMETHODCALLTYPE CountUse(long kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlashVersion(BSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetQuickTimeVersion(BSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateHttpRequest(IDispatch** request) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExportPicture(BSTR moviePath, long width, long height, long frame,
                                                    BSTR outputPath, long format, long quality, long backgroundMode,
                                                    long backgroundColor, BSTR* message) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetShapeEffectId(IUnknown* effect, BSTR* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteShapeEffect(long effect, long id, long bytes, long length) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadShapeEffectData(IUnknown* effect, long* address, long* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetImageFileSize(const wchar_t* path, long* width, long* height,
                                                       long* ok) = 0;
    virtual HRESULT STDMETHODCALLTYPE StopSlideShow() = 0;
    virtual HRESULT STDMETHODCALLTYPE CompressBuffer(long source, long sourceLength, long target, long capacity,
                                                     long level, long raw, long* produced, long* ok) = 0;
    virtual HRESULT STDMETHODCALLTYPE UncompressBuffer(long source, long sourceLength, long target, long length,
                                                       long raw, long* produced, long* ok) = 0;
};

inline constexpr IID IID_IHttpRequestSink = {
    0x76B984E1, 0x6ABA, 0x451D, {0x84, 0x13, 0x0C, 0x8A, 0xA8, 0x0D, 0x9B, 0xA7}};

// Content's receiver of an HTTP request's progress: every received block,
// its address and size, the content length in two halves and the percentage.
// A failure ends the transfer.
struct IHttpRequestSink : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnProgress(LONGLONG address, long length, long contentLengthLow,
                                                 long contentLengthHigh, long percentage) = 0;
};

inline constexpr IID IID_IEffectContent = {
    0xD9CED3D4, 0x53FA, 0x43C7, {0xBD, 0xD2, 0x81, 0x9B, 0xC1, 0x92, 0xD3, 0xAF}};

// A plug-in's content for one product shape during a slide show: it draws on
// the scene node it is attached to and follows the build steps it is given.
struct IEffectContent : public IDispatch {
    // The node's automation proxy; the flag is true when attaching.
    virtual HRESULT STDMETHODCALLTYPE Attach(IDispatch* node, VARIANT_BOOL attach) = 0;
    virtual HRESULT STDMETHODCALLTYPE Detach() = 0;
    // Build-step rows as six parallel one-dimensional arrays: effect ids
    // (VT_BSTR), start flags, keys (VT_UI4), times, per-repeat durations and
    // repeat counts (VT_I4).
    virtual HRESULT STDMETHODCALLTYPE FireSteps(long time, SAFEARRAY* ids, SAFEARRAY* starts, SAFEARRAY* keys,
                                                SAFEARRAY* times, SAFEARRAY* durations, SAFEARRAY* repeats) = 0;
    // The scan-map key of the placeholder picture of snapshot content.
    virtual HRESULT STDMETHODCALLTYPE GetSnapshotKey(BSTR* key) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBounds(float* left, float* top, float* right, float* bottom) = 0;
    // The step mode of an effect id; `mode` comes in with the default.
    virtual HRESULT STDMETHODCALLTYPE GetStepMode(BSTR effectId, long* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryHold(BSTR commandText, VARIANT_BOOL* hold) = 0;
    // Kind 1: PowerPoint keeps animating the shape's visibility; 2: snapshot
    // content shown through a placeholder picture.
    virtual HRESULT STDMETHODCALLTYPE Describe(BSTR* name, long* kind, VARIANT_BOOL* acceptsAnimation,
                                               VARIANT_BOOL* mayLieOffSlide) = 0;
};

inline constexpr IID IID_IKernelSlide = {
    0x3E1D5942, 0x17EF, 0x4678, {0xB1, 0x86, 0x0C, 0x75, 0xEE, 0xFC, 0x6A, 0xCE}};

// The kernel's object for one slide of a running show.
struct IKernelSlide : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE Activate() = 0;
    virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetShown(VARIANT_BOOL shown) = 0;
    // 1 running, 2 paused.
    virtual HRESULT STDMETHODCALLTYPE SetPlayState(long state) = 0;
};
