#pragma once
#include "addin/core/ControlHandlerLookup.h"
#include "addin/core/EffectTypeLookup.h"
#include "addin/core/PluginEventTarget.h"
#include "addin/core/RibbonModel.h"
#include "addin/effects/EffectTypeTable.h"
#include "addin/effects/PluginHost.h"
#include "addin/effects/PluginLookup.h"
#include "base/MKComHolder.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"
#include "hostapi/PluginInterfaces.h"

#include <stdint.h>

class AddInCoreHost;
class AssemblyName;
class ClrHost;
class ClrObject;
class InstalledPluginList;
class KernelPlugin;
class MKSafeArray;
class Plugin;
class PluginPackage;

// The plug-in manager: the .NET runtime with the loader assembly and its
// loader object, the kernel and the other plug-ins of the installed list,
// the kernel's event interface, the ribbon model plug-ins add to, and the
// registered effect types. Forwards PowerPoint's application events to the
// kernel and answers the lookups of the rest of the add-in.
// Constructed -> Start -> started -> Stop -> constructed again. PowerPoint's
// user-interface thread only.
class AddInCore final : public PluginEventTarget,
                        public ControlHandlerLookup,
                        public EffectTypeLookup,
                        public PluginHost,
                        public PluginLookup {
public:
    // The public key token of the key that signs the loader assembly.
    static constexpr uint64_t kLoaderToken = 0x5f3b9c6e2d1a4087ull;

    explicit AddInCore(AddInCoreHost* owner);
    virtual ~AddInCore();
    AddInCore(const AddInCore&) = delete;
    AddInCore& operator=(const AddInCore&) = delete;

    // The start sequence; false after showing why it failed.
    bool Start();
    // Unloads the plug-ins last to first, empties the effect types, stops the
    // runtime and drops the installed list. Safe on a core never started.
    void Stop();
    bool IsStarted() const { return m_started; }

    RibbonModel& GetRibbonModel() { return m_ribbon; }
    KernelPlugin* GetFirstPlugin() const;
    int GetPluginCount() const { return m_plugins.GetCount(); }
    Plugin* GetPluginAt(int index) const { return m_plugins.SafeGetAt(index); }
    Plugin* FindPluginByGuid(const GUID& guid) const override;
    // The kernel module's version; 0.0.-1.-1 without an installed list.
    MKVersion GetKernelVersion() const;
    EffectTypeTable& GetEffectTypes() { return m_effectTypes; }
    // The kernel's message call instead of the add-in's own box; false
    // without the kernel's event interface.
    bool ShowKernelMessage(const wchar_t* caption, const wchar_t* text);
    // The kernel's answer to a query (preset -1); false without the kernel's
    // event interface or when the call fails.
    bool QueryKernel(int32_t code, BSTR text, int32_t* answer);

    // PluginEventTarget: each event goes to the kernel's event interface when
    // there is one. The "before" events write their cancel answer only then.
    void ForwardWindowSelectionChange(PowerPoint::Selection* selection) override;
    void ForwardWindowBeforeRightClick(PowerPoint::Selection* selection, VARIANT_BOOL* cancel) override;
    void ForwardWindowBeforeDoubleClick(VARIANT_BOOL* cancel) override;
    void ForwardPresentationClose(PowerPoint::Presentation* presentation) override;
    void ForwardPresentationSave(PowerPoint::Presentation* presentation) override;
    void ForwardPresentationOpen(PowerPoint::Presentation* presentation) override;
    void ForwardNewPresentation(PowerPoint::Presentation* presentation) override;
    void ForwardPresentationNewSlide(PowerPoint::Slide* slide) override;
    void ForwardWindowActivate(PowerPoint::Presentation* presentation, PowerPoint::DocumentWindow* window) override;
    void ForwardWindowDeactivate(PowerPoint::Presentation* presentation, PowerPoint::DocumentWindow* window) override;
    void ForwardSlideShowBegin(PowerPoint::SlideShowWindow* window) override;
    void ForwardSlideShowEnd(PowerPoint::Presentation* presentation) override;
    void ForwardPresentationPrint(PowerPoint::Presentation* presentation) override;
    void ForwardSlideSelectionChanged(PowerPoint::SlideRange* range) override;
    void ForwardColorSchemeChanged(PowerPoint::SlideRange* range) override;

    // ControlHandlerLookup: the first plug-in's handler for the id.
    RibbonControlHandler* FindControlHandler(const MKString& id) override;
    // EffectTypeLookup.
    EffectDataRecord* FindEffectTypeByContentType(BSTR contentType) override;

    // PluginHost.
    IPPTPluginLoader* GetLoader() override { return m_loader.Get(); }
    bool IsKernel(const Plugin* plugin) override;
    IUnknown* GetKernelHost() override { return m_kernelHost.Get(); }
    void SetKernelEvents(KernelEventSink* events) override { m_kernelEvents.Assign(events); }
    IUnknown* MakeApiObject(Plugin* plugin) override;
    void DetachApiObject(IUnknown* api) override;
    int RegisterEffectType(EffectDataRecord* record) override;
    void UnregisterEffectType(EffectDataRecord* record) override;
    EffectDataRecord* FindEffectTypeByContentType(const MKString& contentType) override;
    EffectDataRecord* FindEffectTypeByUsageId(uint32_t usageId) override;
    EffectDataRecord* FindEffectTypeByIndex(int index) override { return m_effectTypes.GetAt(index); }

private:
    bool StartClr(const PluginPackage* kernelPackage);
    bool LoadLoader(const PluginPackage* kernelPackage);
    bool ReadAssemblyImage(const PluginPackage* package, const MKString& entryName, MKSafeArray& image,
                           MKSafeArray& symbols);
    void StopClr();
    void ShowStartError(const wchar_t* reason);
    // Calls the event method through the interface when there is one.
    template <class F>
    void Forward(F call);

    AddInCoreHost* m_owner;
    bool m_started = false;
    InstalledPluginList* m_installed = nullptr;
    MKTArray<Plugin*> m_plugins;
    RibbonModel m_ribbon;
    ClrHost* m_clr = nullptr;
    AssemblyName* m_loaderAssembly = nullptr;
    ClrObject* m_loaderObject = nullptr;
    MKComHolder<IPPTPluginLoader> m_loader;
    MKComHolder<KernelEventSink> m_kernelEvents;
    MKComHolder<IDispatch> m_kernelHost;
    EffectTypeTable m_effectTypes;
};
