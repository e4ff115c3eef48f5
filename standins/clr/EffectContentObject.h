#pragma once
#include "hostapi/PluginInterfaces.h"
#include "standins/clr/AssemblyImage.h"
#include "standins/clr/ScriptedObject.h"

#include <string>

namespace standin_clr {

// A stand-in plug-in's content for one shape in a slide show, as the plug-in
// type's fields describe it: attached to its scene node it fills the node
// with ContentColor ("RRGGBB") through the node proxies' dispatch
// identifiers and shows it; ContentKind is its kind (0 by default), and
// snapshot content (kind 2) answers SnapshotKey and SnapshotBounds ("left,
// top, right, bottom"). With ContentNode (image, flash or movie) it also
// shows the plug-in package's entry ContentEntry over the whole node in a
// child of that kind: movies through the product's pack resources URL, a
// picture read through the plug-in API into a file of its own. With
// StepVisible "1" the content shows only from the start row of one of its
// build steps until a reset row. Every call is logged as
// "<plug-in>Content.<member>"; fire-steps calls with their rows as
// "FireSteps @<time>: [reset] [<id><+|-> <seq>:<pos> t<time> d<duration>
// r<repeats>] ...".
class EffectContentObject final : public ScriptedObject<IEffectContent> {
public:
    // api: the plug-in's API object (may be null).
    static IEffectContent* Create(const std::wstring& owner, const AssemblyType& type, IUnknown* api)
    {
        return new EffectContentObject(owner, type, api);
    }

    HRESULT STDMETHODCALLTYPE Attach(IDispatch* node, VARIANT_BOOL attach) override;
    HRESULT STDMETHODCALLTYPE Detach() override;
    HRESULT STDMETHODCALLTYPE FireSteps(long time, SAFEARRAY* ids, SAFEARRAY* starts, SAFEARRAY* keys,
                                        SAFEARRAY* times, SAFEARRAY* durations, SAFEARRAY* repeats) override;
    HRESULT STDMETHODCALLTYPE GetSnapshotKey(BSTR* key) override;
    HRESULT STDMETHODCALLTYPE GetBounds(float* left, float* top, float* right, float* bottom) override;
    HRESULT STDMETHODCALLTYPE GetStepMode(BSTR effectId, long* mode) override;
    HRESULT STDMETHODCALLTYPE QueryHold(BSTR commandText, VARIANT_BOOL* hold) override;
    HRESULT STDMETHODCALLTYPE Describe(BSTR* name, long* kind, VARIANT_BOOL* acceptsAnimation,
                                       VARIANT_BOOL* mayLieOffSlide) override;

private:
    EffectContentObject(const std::wstring& owner, const AssemblyType& type, IUnknown* api);
    ~EffectContentObject() override;

    void* QueryOwn(REFIID iid) override;
    HRESULT Enter(const std::wstring& member) { return ClrLog::Enter(LogName() + L"." + member); }
    void DropNodes();
    // The child showing the entry; false when it could not be made.
    bool ShowEntry(float width, float height);
    // The picture entry written to a file; empty when it cannot be read.
    std::wstring WritePicture();
    void ShowNode(bool shown);

    DWORD m_color;
    long m_kind;
    bool m_stepVisible;
    std::wstring m_snapshotKey;
    std::wstring m_nodeKind;
    std::wstring m_entry;
    std::wstring m_pictureFile;
    IUnknown* m_api;
    float m_bounds[4] = {0, 0, 0, 0};
    IDispatch* m_node = nullptr;
    IDispatch* m_fill = nullptr;
    IDispatch* m_child = nullptr;
};

// The kernel's object for one slide of a show; its calls are logged as
// "Kernel.Slide.<member>".
class KernelSlideObject final : public ScriptedObject<IKernelSlide> {
public:
    static IKernelSlide* Create() { return new KernelSlideObject; }

    HRESULT STDMETHODCALLTYPE Close() override { return Enter(L"Close"); }
    HRESULT STDMETHODCALLTYPE Activate() override { return Enter(L"Activate"); }
    HRESULT STDMETHODCALLTYPE Deactivate() override { return Enter(L"Deactivate"); }
    HRESULT STDMETHODCALLTYPE SetShown(VARIANT_BOOL shown) override
    {
        return Enter(std::wstring(L"SetShown ") + (shown ? L"1" : L"0"));
    }
    HRESULT STDMETHODCALLTYPE SetPlayState(long state) override
    {
        return Enter(L"SetPlayState " + std::to_wstring(state));
    }

private:
    KernelSlideObject() : ScriptedObject(L"Kernel.Slide") {}

    void* QueryOwn(REFIID iid) override { return iid == IID_IKernelSlide ? static_cast<IKernelSlide*>(this) : nullptr; }
    HRESULT Enter(const std::wstring& member) { return ClrLog::Enter(LogName() + L"." + member); }
};

}  // namespace standin_clr
