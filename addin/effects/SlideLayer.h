#pragma once
#include "addin/effects/SlideTimeline.h"
#include "addin/effects/TimelineLayer.h"
#include "addin/hosting/HostHandler.h"
#include "base/MKComHolder.h"
#include "base/MKHashMap.h"
#include "base/MKRefClass.h"
#include "base/MKTArray.h"
#include "hostapi/PluginInterfaces.h"
#include "hostapi/PowerPointInterfaces.h"

#include <windows.h>

class Effect;
class NodeHost;
class PptShapeRef;
class SlideShowSession;

// The content of one slide during a show: the effects of the slide's product
// shapes in back-to-front order, the node host that draws them over the
// show's pane, the kernel's object for the slide, and the slide's timeline,
// which tells the contents when their build steps start and end. The session
// makes a layer for the slide about to be shown, runs it while the slide is
// shown, hides it on black and white screens, and unloads it when the slide
// is left. The layer is also its host's handler: focus and input of hosted
// controls go to the pane, and keys typed into them become PowerPoint's
// commands through the show's accelerator table.
//
// Reference counted: the session's layer list and its current-layer slot
// hold references. The session outlives its layers. PowerPoint's
// user-interface thread only.
class SlideLayer : public MKRefClass, public HostHandler, public TimelineLayer {
public:
    explicit SlideLayer(SlideShowSession* session);
    ~SlideLayer() override;

    // Slide ID 0 loads an empty layer (the session's between slides). False
    // (and unloaded) when the slide cannot be found or prepared; a layer
    // whose slide holds no product shape loads without effects.
    bool Load(long slideId);
    // Puts back what the effects and the slide's preparation changed and lets
    // the host, the kernel's slide object and the effects go. Every
    // PowerPoint change is made under the session's host lock.
    void Unload();

    void Show() { SetShown(true); }
    void Hide() { SetShown(false); }
    // The timeline's clock runs or pauses, and the kernel's slide object
    // hears the play state (1 running, 2 paused); running gives the keyboard
    // focus back to the hosted content.
    void Run();
    void Pause();
    void Activate();
    void Deactivate();
    // Before the slide is shown: placeholder pictures stand in for snapshot
    // content. Once the content runs they go again.
    void PrepareEffects();
    void HidePlaceholders();
    // PowerPoint takes up shapes the effects changed (from version 12 on).
    void RefreshTimings();
    void MarkTimingsForRefresh() { m_timingsNeedRefresh = true; }

    // By Shape.Id against each effect's shape and placeholder; null when none.
    Effect* FindEffectByShape(IUnknown* shape) const;
    // The effect of the animation's target shape, or null.
    Effect* FindEffectOfAnimation(IUnknown* animation) const;

    SlideShowSession* GetSession() const { return m_session; }
    SlideTimeline& GetTimeline() { return m_timeline; }
    NodeHost* GetHost() const { return m_host; }
    IKernelSlide* GetKernelSlide() const { return m_kernelSlide.Get(); }
    long GetSlideId() const { return m_slideId; }
    long GetSlideNumber() const { return m_slideNumber; }
    bool IsUnloaded() const { return m_unloaded; }
    bool IsActive() const { return m_active; }
    // The timeline's clock runs.
    bool IsRunning() const { return !m_timeline.IsPaused(); }
    // -1 not yet told, 0 hidden, 1 shown.
    int GetShown() const { return m_shown; }
    bool HasEffects() const { return !m_effects.IsEmpty(); }
    int GetEffectCount() const { return m_effects.GetCount(); }
    Effect* GetEffect(int index) const { return m_effects.SafeGetAt(index); }
    bool NeedsTimingRefresh() const { return m_timingsNeedRefresh; }
    bool ArePlaceholdersPending() const { return m_placeholdersPending; }
    // The shapes the scan found by their content-reference tag, while the
    // layer loads (values are ShapeVisit records).
    MKHashMap& GetScanMap() { return m_scanMap; }

    // TimelineLayer.
    int GetOfficeCode() const override;
    bool IsOldOffice() const override;
    int GetStepEffectCount() const override { return m_effects.GetCount(); }
    StepEffect* GetStepEffect(int index) const override;
    StepEffect* FindStepEffect(const PptShapeRef& shape) const override;
    void BeginUpdate() override;
    void EndUpdate() override;
    bool GetListedCommandObject(PptShapeRef& out) const override;
    void LeaveContentList() override;

    // HostHandler.
    void GetSnapshotArea(RectF& bounds, bool& needed) override;
    void OnSnapshotShown() override;
    void OnHostClosed() override {}
    HWND GetFocusWindow() override;
    bool ResolveNodeUrl(int bindingId, const UrlParts& url, int32_t& handled, IStream*& stream, uint32_t& size,
                        int& code) override;
    HWND GetMouseTarget() override { return GetFocusWindow(); }
    HWND GetKeyTarget() override { return GetFocusWindow(); }
    // A key of PowerPoint's show accelerators: its command, with the key and
    // the Shift (0x10000), Ctrl (0x20000) and Alt (0x40000) state packed in
    // `keyState`; -1 for any other key.
    int32_t TranslateKey(UINT message, WPARAM wParam, LPARAM lParam, int32_t& keyState) override;
    // Commands 1 to 32767 go to the show window (the pane's parent) as an
    // accelerator's WM_COMMAND.
    bool SendCommand(int32_t command) override;

private:
    bool Prepare(PowerPoint::Slide* slide);
    // The slide's animations prepared for the effects and built into steps;
    // effects that get no node or cannot be prepared are dropped.
    bool MakeEffects(PowerPoint::Slide* slide, const PptShapeRef& commandObject);
    // Drops the effect at the index (detached first when asked).
    void DropEffect(int index, bool detach);
    // The slide's TimeLine, found again by slide ID.
    bool FindTimeLine(PptObjectRef& out) const;
    void SetShown(bool shown);
    // The session is running and this is its current layer with effects.
    bool IsCurrentWithEffects() const;
    void DeleteEffects();

    SlideShowSession* m_session;
    long m_slideId = -1;
    long m_slideNumber = -1;
    bool m_unloaded = true;
    bool m_active = false;
    bool m_timingsNeedRefresh = false;
    int m_shown = -1;
    // The play state last told to the kernel's slide (0 before any): the
    // timeline's clock is reset without the kernel hearing of it.
    int m_kernelPlayState = 0;
    MKTArray<Effect*> m_effects;
    MKHashMap m_scanMap;
    NodeHost* m_host = nullptr;
    MKComHolder<IKernelSlide> m_kernelSlide;
    bool m_placeholdersPending = true;
    // Cleared at unload, before the effects go.
    SlideTimeline m_timeline{this};
};
