#include "addin/core/AddInCore.h"

#include "addin/core/AddInCoreHost.h"
#include "addin/core/AssemblyName.h"
#include "addin/core/ClrHost.h"
#include "addin/core/EnvironmentInfo.h"
#include "addin/core/InstalledPluginList.h"
#include "addin/core/KernelPlugin.h"
#include "addin/core/RuntimeVersions.h"
#include "addin/effects/ClrObject.h"
#include "addin/effects/ClrRibbonHandler.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/PluginPackage.h"
#include "base/MKFile.h"
#include "base/MKSafeArray.h"

#include <new>
#include <string.h>

namespace {

const wchar_t kNotInstalled[] = L"The application is not properly installed.";
const wchar_t kNoFramework[] = L"Microsoft .NET Framework 2.0 SP1 or later is required.";
const wchar_t kUnexpected[] = L"An unexpected error occurred.";
const wchar_t kKernelFailed[] = L"Error initializing Vistello Kernel Module.";

// PowerPoint's objects as the kernel's event interface takes them.
template <class T>
IDispatch* AsDispatch(T* object)
{
    return reinterpret_cast<IDispatch*>(object);
}

}  // namespace

AddInCore::AddInCore(AddInCoreHost* owner) : m_owner(owner), m_ribbon(this)
{
}

AddInCore::~AddInCore()
{
    Stop();
}

void AddInCore::ShowStartError(const wchar_t* reason)
{
    MKString text = MKString::PrependText(L"Vistello cannot be started:\r\n", MKString(reason));
    m_owner->ShowErrorBox(text.GetText());
}

bool AddInCore::Start()
{
    delete m_installed;
    m_installed = m_owner->MakeInstalledPluginList();
    if (!m_installed || m_installed->Load() != 0) {
        ShowStartError(kNotInstalled);
        delete m_installed;
        m_installed = nullptr;
        return false;
    }
    if (!m_installed->DropIncompatible(MKVersion(2, 0, 0, 0), m_owner->GetOfficeVersion()) ||
        !m_installed->GetPackage(0)) {
        ShowStartError(kNotInstalled);
        delete m_installed;
        m_installed = nullptr;
        return false;
    }
    const PluginPackage* kernelPackage = m_installed->GetPackage(0);
    if (!StartClr(kernelPackage))
        return false;
    m_kernelHost.Attach(m_owner->MakeKernelHostObject());

    KernelPlugin* kernel = new (std::nothrow) KernelPlugin(this, m_owner, kernelPackage);
    if (!kernel || !m_plugins.Add(kernel)) {
        delete kernel;
        ShowStartError(kKernelFailed);
        return false;
    }
    if (!kernel->Initialize()) {
        ShowStartError(kKernelFailed);
        // No event may reach a kernel that failed to start.
        m_kernelEvents.Release();
        kernel->Unload();
        m_plugins.RemoveAt(0);
        delete kernel;
        return false;
    }

    for (int i = 1; i < m_installed->GetCount(); ++i) {
        if (!m_installed->IsEnabled(i) || !m_installed->GetPackage(i))
            continue;
        Plugin* plugin = new (std::nothrow) Plugin(this, m_installed->GetPackage(i));
        if (!plugin)
            continue;
        if (plugin->Initialize() && !FindPluginByGuid(plugin->GetGuid()) && m_plugins.Add(plugin))
            continue;
        plugin->Unload();
        delete plugin;
    }
    for (int i = 1; i < m_plugins.GetCount();) {
        if (m_plugins[i]->QueryLoaded()) {
            ++i;
            continue;
        }
        Plugin* dropped = m_plugins[i];
        m_plugins.RemoveAt(i);
        dropped->Unload();
        delete dropped;
    }
    if (m_kernelEvents)
        m_kernelEvents->OnStarted();
    m_started = true;
    return true;
}

bool AddInCore::StartClr(const PluginPackage* kernelPackage)
{
    if (!m_clr && IsClrRequirementMet()) {
        m_clr = new (std::nothrow) ClrHost;
        if (m_clr && !m_clr->Start(L"VistelloDomain", true)) {
            delete m_clr;
            m_clr = nullptr;
        }
    }
    if (!m_clr) {
        ShowStartError(kNoFramework);
        return false;
    }
    if (!LoadLoader(kernelPackage)) {
        ShowStartError(kUnexpected);
        return false;
    }
    return true;
}

bool AddInCore::LoadLoader(const PluginPackage* kernelPackage)
{
    m_loaderAssembly = m_clr->FindAssembly(L"quintarel", MKVersion(1, 0), true, kLoaderToken);
    if (!m_loaderAssembly) {
        MKSafeArray image(VT_UI1);
        MKSafeArray symbols(VT_UI1);
        if (!ReadAssemblyImage(kernelPackage, L"quintarel.dll", image, symbols))
            return false;
        m_loaderAssembly = m_clr->LoadAssemblyImage(image, &symbols);
        if (!m_loaderAssembly)
            return false;
    }
    m_loaderObject = m_loaderAssembly->CreateInstance(L"Brelix.Vistello.PPTPluginLoader");
    if (!m_loaderObject)
        return false;
    IPPTPluginLoader* loader = nullptr;
    if (FAILED(m_loaderObject->QueryInterface(IID_IPPTPluginLoader, reinterpret_cast<void**>(&loader))) ||
        !loader) {
        delete m_loaderObject;
        m_loaderObject = nullptr;
        return false;
    }
    m_loader.Attach(loader);

    EnvironmentInfo* environment = m_owner->GetEnvironment();
    if (environment && !environment->kernelVersion.IsPresent()) {
        BSTR text = nullptr;
        MKVersion kernelVersion;
        if (SUCCEEDED(m_loader->GetKernelVersion(&text)) && text && MKVersion::Parse(text, kernelVersion))
            environment->kernelVersion.Set(kernelVersion);
        SysFreeString(text);
        RuntimeVersions versions;
        MKVersion runtime;
        versions.IsRuntime2Installed(runtime);
        MKString framework = MKString::PrependText(L".NET Framework ", runtime.ToString());
        int servicePack = GetRuntime2ServicePack();
        if (servicePack > 0)
            framework.AppendString(MKString::FromFormat(L" SP%d", servicePack));
        environment->netFramework.Set(framework);
    }
    return true;
}

bool AddInCore::ReadAssemblyImage(const PluginPackage* package, const MKString& entryName, MKSafeArray& image,
                                  MKSafeArray& symbols)
{
    MKTArray<uint8_t> bytes;
    if (!package || !package->ReadEntry(entryName, bytes) || !image.Create(bytes.GetCount())) {
        image.Destroy();
        return false;
    }
    void* data = image.AccessData();
    if (!data) {
        image.Destroy();
        return false;
    }
    memcpy(data, bytes.GetData(), static_cast<size_t>(bytes.GetCount()));
    image.Unaccess();
    MKString symbolFile;
    if (!package->GetSymbolFile(entryName, symbolFile))
        return true;
    int size = MKFileSize(symbolFile);
    if (size <= 0 || !symbols.Create(size))
        return true;
    void* symbolData = symbols.AccessData();
    if (!symbolData || !MKReadFileInto(symbolFile, symbolData, size))
        symbols.Destroy();
    else
        symbols.Unaccess();
    return true;
}

void AddInCore::Stop()
{
    m_started = false;
    for (int i = m_plugins.GetCount() - 1; i >= 0; --i) {
        m_plugins[i]->Unload();
        delete m_plugins[i];
    }
    m_plugins.RemoveAll();
    // The plug-ins append their fragments again when they start again.
    m_ribbon.RemovePluginFragments();
    m_effectTypes.Clear();
    StopClr();
    delete m_installed;
    m_installed = nullptr;
}

void AddInCore::StopClr()
{
    if (!m_clr)
        return;
    m_kernelEvents.Release();
    m_kernelHost.Release();
    m_loader.Release();
    delete m_loaderObject;
    m_loaderObject = nullptr;
    m_loaderAssembly = nullptr;
    m_clr->Stop();
    delete m_clr;
    m_clr = nullptr;
}

KernelPlugin* AddInCore::GetFirstPlugin() const
{
    return m_plugins.IsEmpty() ? nullptr : static_cast<KernelPlugin*>(m_plugins[0]);
}

Plugin* AddInCore::FindPluginByGuid(const GUID& guid) const
{
    for (int i = 0; i < m_plugins.GetCount(); ++i) {
        if (IsEqualGUID(m_plugins[i]->GetGuid(), guid))
            return m_plugins[i];
    }
    return nullptr;
}

MKVersion AddInCore::GetKernelVersion() const
{
    return m_installed ? m_installed->GetKernelVersion() : MKVersion();
}

bool AddInCore::ShowKernelMessage(const wchar_t* caption, const wchar_t* text)
{
    if (!m_kernelEvents)
        return false;
    BSTR captionText = SysAllocString(caption);
    BSTR messageText = SysAllocString(text);
    m_kernelEvents->ShowMessage(captionText, messageText);
    SysFreeString(captionText);
    SysFreeString(messageText);
    return true;
}

bool AddInCore::QueryKernel(int32_t code, BSTR text, int32_t* answer)
{
    long value = -1;
    if (!m_kernelEvents || FAILED(m_kernelEvents->Query(code, text, &value)))
        return false;
    if (answer)
        *answer = value;
    return true;
}

template <class F>
void AddInCore::Forward(F call)
{
    // The kernel may drop the add-in's last hold on itself inside the call.
    MKComHolder<KernelEventSink> events(m_kernelEvents.Get());
    if (events)
        call(events.Get());
}

void AddInCore::ForwardWindowSelectionChange(PowerPoint::Selection* selection)
{
    Forward([&](KernelEventSink* sink) { sink->WindowSelectionChange(AsDispatch(selection)); });
}

void AddInCore::ForwardWindowBeforeRightClick(PowerPoint::Selection* selection, VARIANT_BOOL* cancel)
{
    Forward([&](KernelEventSink* sink) {
        long answer = 0;
        if (FAILED(sink->WindowBeforeRightClick(AsDispatch(selection), &answer)))
            answer = 0;
        if (cancel)
            *cancel = answer ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

void AddInCore::ForwardWindowBeforeDoubleClick(VARIANT_BOOL* cancel)
{
    Forward([&](KernelEventSink* sink) {
        long answer = 0;
        if (FAILED(sink->WindowBeforeDoubleClick(&answer)))
            answer = 0;
        if (cancel)
            *cancel = answer ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

void AddInCore::ForwardPresentationClose(PowerPoint::Presentation* presentation)
{
    Forward([&](KernelEventSink* sink) { sink->PresentationClose(AsDispatch(presentation)); });
}

void AddInCore::ForwardPresentationSave(PowerPoint::Presentation* presentation)
{
    Forward([&](KernelEventSink* sink) { sink->PresentationSave(AsDispatch(presentation)); });
}

void AddInCore::ForwardPresentationOpen(PowerPoint::Presentation* presentation)
{
    Forward([&](KernelEventSink* sink) { sink->PresentationOpen(AsDispatch(presentation)); });
}

void AddInCore::ForwardNewPresentation(PowerPoint::Presentation* presentation)
{
    Forward([&](KernelEventSink* sink) { sink->NewPresentation(AsDispatch(presentation)); });
}

void AddInCore::ForwardPresentationNewSlide(PowerPoint::Slide* slide)
{
    Forward([&](KernelEventSink* sink) { sink->PresentationNewSlide(AsDispatch(slide)); });
}

void AddInCore::ForwardWindowActivate(PowerPoint::Presentation* presentation, PowerPoint::DocumentWindow* window)
{
    Forward([&](KernelEventSink* sink) { sink->WindowActivate(AsDispatch(presentation), AsDispatch(window)); });
}

void AddInCore::ForwardWindowDeactivate(PowerPoint::Presentation* presentation, PowerPoint::DocumentWindow* window)
{
    Forward([&](KernelEventSink* sink) { sink->WindowDeactivate(AsDispatch(presentation), AsDispatch(window)); });
}

void AddInCore::ForwardSlideShowBegin(PowerPoint::SlideShowWindow* window)
{
    Forward([&](KernelEventSink* sink) { sink->SlideShowBegin(AsDispatch(window)); });
}

void AddInCore::ForwardSlideShowEnd(PowerPoint::Presentation* presentation)
{
    Forward([&](KernelEventSink* sink) { sink->SlideShowEnd(AsDispatch(presentation)); });
}

void AddInCore::ForwardPresentationPrint(PowerPoint::Presentation* presentation)
{
    Forward([&](KernelEventSink* sink) { sink->PresentationPrint(AsDispatch(presentation)); });
}

void AddInCore::ForwardSlideSelectionChanged(PowerPoint::SlideRange* range)
{
    Forward([&](KernelEventSink* sink) { sink->SlideSelectionChanged(AsDispatch(range)); });
}

void AddInCore::ForwardColorSchemeChanged(PowerPoint::SlideRange* range)
{
    Forward([&](KernelEventSink* sink) { sink->ColorSchemeChanged(AsDispatch(range)); });
}

RibbonControlHandler* AddInCore::FindControlHandler(const MKString& id)
{
    for (int i = 0; i < m_plugins.GetCount(); ++i) {
        if (ClrRibbonHandler* handler = m_plugins[i]->GetControlHandlers().Find(id))
            return handler;
    }
    return nullptr;
}

EffectDataRecord* AddInCore::FindEffectTypeByContentType(BSTR contentType)
{
    if (!contentType || SysStringLen(contentType) == 0)
        return nullptr;
    MKString text;
    text.Assign(contentType, static_cast<int>(SysStringLen(contentType)));
    return m_effectTypes.FindByContentType(text);
}

bool AddInCore::IsKernel(const Plugin* plugin)
{
    return !m_plugins.IsEmpty() && m_plugins[0] == plugin;
}

IUnknown* AddInCore::MakeApiObject(Plugin* plugin)
{
    return m_owner->MakeApiObject(plugin);
}

void AddInCore::DetachApiObject(IUnknown* api)
{
    m_owner->DetachPluginObject(api);
}

int AddInCore::RegisterEffectType(EffectDataRecord* record)
{
    int index = m_effectTypes.Register(record);
    if (index > 0 && record)
        m_owner->AddFeature(record->GetUsageId());
    return index;
}

void AddInCore::UnregisterEffectType(EffectDataRecord* record)
{
    m_effectTypes.Unregister(record);
}

EffectDataRecord* AddInCore::FindEffectTypeByContentType(const MKString& contentType)
{
    return m_effectTypes.FindByContentType(contentType);
}

EffectDataRecord* AddInCore::FindEffectTypeByUsageId(uint32_t usageId)
{
    return m_effectTypes.FindByUsageId(usageId);
}
