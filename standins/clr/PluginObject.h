#pragma once
#include "hostapi/PluginInterfaces.h"
#include "standins/clr/AssemblyImage.h"
#include "standins/clr/ScriptedObject.h"

namespace standin_clr {

// A plug-in type of a stand-in assembly: the main plug-in interface, and for
// the kernel kind also the kernel's own. Its GUID and name come from the
// type's fields. Logged as "Kernel.<member>" for the kernel, else
// "<Name>.<member>". A type with the field ContentColor makes shape effects
// and their content (EffectContentObject), and with EffectType registers
// that effect type at its start; the kernel makes an object for every slide
// of a show that has content.
// The callback object the kernel holds now (no reference taken); null while
// no kernel holds one.
IDispatch* CurrentKernelCallback();

class PluginObject : public ScriptedObject<IVistelloPlugin>, public IKernelPlugin {
public:
    static IDispatch* Create(const AssemblyType& type)
    {
        return static_cast<IVistelloPlugin*>(new PluginObject(type));
    }

    // IUnknown and IDispatch for both interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE GetGuid(BSTR* guid) override;
    HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE StartKernel(IUnknown* host, IUnknown** events) override;
    HRESULT STDMETHODCALLTYPE Initialize(BSTR packageName, IUnknown* api, VARIANT_BOOL* ok) override;
    HRESULT STDMETHODCALLTYPE QueryLoaded(IUnknown** answer) override;
    HRESULT STDMETHODCALLTYPE Shutdown() override;
    HRESULT STDMETHODCALLTYPE CreateShapeEffect(IUnknown* shape, long typeIndex, IUnknown** effect) override;
    HRESULT STDMETHODCALLTYPE CreateEffectContent(IUnknown* effect, long argument, IUnknown** content) override;
    HRESULT STDMETHODCALLTYPE ReportTypeFailure(long typeIndex) override;

    HRESULT STDMETHODCALLTYPE SetCallback(IDispatch* callback) override;
    HRESULT STDMETHODCALLTYPE Reserved2() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsReady(long* ready) override;
    HRESULT STDMETHODCALLTYPE CreateObject(IUnknown* showWindow, IUnknown* slide, IUnknown* nodeHost,
                                           IUnknown** object) override;

private:
    explicit PluginObject(const AssemblyType& type);
    ~PluginObject() override;

    void* QueryOwn(REFIID iid) override;
    HRESULT Enter(const std::wstring& member) { return ClrLog::Enter(LogName() + L"." + member); }
    // Answers the text through the out pointer, after logging the member.
    HRESULT AnswerText(const wchar_t* member, const std::wstring& text, BSTR* out);
    // Runs the type's scripted calls on the plug-in API object.
    void RunScript(IUnknown* api);
    void AddRibbonXml(IPluginApi* calls);

    AssemblyType m_type;
    bool m_kernel;
    IUnknown* m_host = nullptr;
    IUnknown* m_api = nullptr;
    IDispatch* m_callback = nullptr;
};

}  // namespace standin_clr
