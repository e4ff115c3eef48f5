#include "addin/effects/SlideLayer.h"

#include "addin/core/PptAnimationRef.h"
#include "addin/core/ShapeScanner.h"
#include "addin/core/ShapeVisit.h"
#include "addin/effects/ShapeEffect.h"
#include "addin/effects/ShowContentList.h"
#include "addin/effects/SlidePreparation.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowHost.h"
#include "addin/effects/SlideShowSession.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/RectList.h"
#include "base/MKPointerArrays.h"
#include "base/MKSorter.h"

#include <new>

namespace {

void DeleteVisit(void* visit)
{
    delete static_cast<ShapeVisit*>(visit);
}

// Back to front: the lower z-order position first.
class ZOrderSorter final : public MKSorter {
public:
    int Compare(void* a, void* b) override
    {
        int first = static_cast<ShapeVisit*>(a)->index;
        int second = static_cast<ShapeVisit*>(b)->index;
        return first < second ? -1 : (first > second ? 1 : 0);
    }
};

// Keeps only visible shapes and notes each one's z-order position.
void KeepVisibleShapes(MKTArray<ShapeVisit*>& items)
{
    for (int i = items.GetCount() - 1; i >= 0; --i) {
        ShapeVisit* item = items[i];
        MKComHolder<PowerPoint::Shape> shape;
        long visible = PowerPoint::msoFalse;
        if (!item->shape.Query(PowerPoint::IID_Shape, shape) || FAILED(shape->get_Visible(&visible)) ||
            visible != PowerPoint::msoTrue) {
            delete item;
            items.RemoveAt(i);
            continue;
        }
        int position = -1;
        item->index = SUCCEEDED(shape->get_ZOrderPosition(&position)) ? position : -1;
    }
}

}  // namespace

SlideLayer::SlideLayer(SlideShowSession* session) : m_session(session) {}

SlideLayer::~SlideLayer()
{
    if (!m_unloaded)
        Unload();
    DeleteEffects();
    m_scanMap.DisposeAllValues(DeleteVisit);
}

bool SlideLayer::Load(long slideId)
{
    m_unloaded = false;
    m_slideId = slideId;
    if (slideId == 0)
        return true;
    PowerPoint::Presentation* presentation = m_session->GetPresentation();
    PowerPoint::Slides* slides = nullptr;
    PowerPoint::Slide* slide = nullptr;
    bool found = presentation && SUCCEEDED(presentation->get_Slides(&slides)) && slides &&
                 SUCCEEDED(slides->FindBySlideID(slideId, &slide)) && slide;
    if (slides)
        slides->Release();
    bool prepared = found && Prepare(slide);
    if (slide)
        slide->Release();
    m_scanMap.DisposeAllValues(DeleteVisit);
    if (prepared)
        return true;
    Unload();
    return false;
}

bool SlideLayer::Prepare(PowerPoint::Slide* slide)
{
    int number = -1;
    m_slideNumber = SUCCEEDED(slide->get_SlideNumber(&number)) ? number : -1;
    SlideShowHost* showHost = m_session->GetController()->GetHost();
    EffectTypeLookup* types = showHost->GetEffectTypes();
    // Without the plug-in manager no shape has content.
    if (!types)
        return true;
    MKTArray<ShapeVisit*> items;
    PptShapeRef commandObject;
    uint8_t embeddedShow = 0;
    ShapeScanner(*types).ScanShapes(slide, items, &m_scanMap, &commandObject, &embeddedShow);
    if (embeddedShow) {
        MKDeleteAllItems(items);
        return StopForEmbeddedPresentation(*m_session, m_slideNumber);
    }
    KeepVisibleShapes(items);
    if (items.IsEmpty())
        return true;
    ZOrderSorter().QuickSort(reinterpret_cast<void**>(items.GetData()), 0, items.GetCount() - 1);

    m_host = new (std::nothrow) NodeHost(m_session->GetPane(), showHost->GetModuleInstance(),
                                         m_session->GetSlideWidth(), m_session->GetSlideHeight(), 1);
    if (!m_host) {
        MKDeleteAllItems(items);
        return false;
    }
    m_host->SetHostHandler(this);

    EffectHostLock lock(m_session);
    IUnknown* kernelSlide =
        showHost->CreateKernelSlide(m_session->GetWindow(), slide, m_host->GetAutomationProxy());
    IKernelSlide* typed = nullptr;
    if (kernelSlide) {
        kernelSlide->QueryInterface(IID_IKernelSlide, reinterpret_cast<void**>(&typed));
        kernelSlide->Release();
    }
    if (!typed) {
        MKDeleteAllItems(items);
        return false;
    }
    m_kernelSlide.Attach(typed);

    m_host->BeginUpdate(false);
    for (int i = 0; i < items.GetCount(); ++i) {
        Effect* effect = new (std::nothrow) Effect(this);
        if (effect && effect->Init(items[i]->shape.Get(), items[i]->effectType, m_kernelSlide.Get()) &&
            m_effects.Add(effect))
            continue;
        delete effect;
    }
    MKDeleteAllItems(items);
    bool prepared = m_effects.IsEmpty() || MakeEffects(slide, commandObject);
    m_host->EndUpdate(false);
    return prepared;
}

bool SlideLayer::MakeEffects(PowerPoint::Slide* slide, const PptShapeRef& commandObject)
{
    PowerPoint::TimeLine* found = nullptr;
    PptObjectRef timeLine;
    if (!PptFetched(slide->get_TimeLine(&found), &found, timeLine))
        return false;
    if (!ApplyCommandObjectRule(*this, timeLine, commandObject) || !m_timeline.NormalizeSequences(timeLine))
        return false;
    for (int i = m_effects.GetCount() - 1; i >= 0; --i) {
        if (!m_effects[i]->CreateNode())
            DropEffect(i, false);
    }
    PptObjectRef slideRef;
    slideRef.Assign(slide);
    if (!m_timeline.Build(timeLine, slideRef))
        return false;
    // A content whose shape no build step animates stands in for the shape
    // from the start; an animated one appears with its step.
    for (int i = m_effects.GetCount() - 1; i >= 0; --i) {
        if (!m_effects[i]->Prepare(m_timeline.IsAnimated(m_effects[i])))
            DropEffect(i, true);
    }
    m_timeline.ApplyStepModes();
    bool prepared = commandObject.IsEmpty() || m_timeline.AddTriggerVerbs(commandObject);
    m_timeline.ApplyEffectTriggers();
    m_timeline.ReleaseStepReferences();
    return prepared;
}

void SlideLayer::DropEffect(int index, bool detach)
{
    Effect* effect = m_effects[index];
    m_timeline.RemoveEffect(effect);
    if (detach)
        effect->Detach();
    delete effect;
    m_effects.RemoveAt(index);
}

void SlideLayer::DeleteEffects()
{
    MKDeleteAllItems(m_effects);
}

bool SlideLayer::FindTimeLine(PptObjectRef& out) const
{
    PowerPoint::Presentation* presentation = m_session->GetPresentation();
    PowerPoint::Slides* slides = nullptr;
    PowerPoint::Slide* slide = nullptr;
    PowerPoint::TimeLine* timeLine = nullptr;
    MKComHolder<PowerPoint::Slides> heldSlides;
    MKComHolder<PowerPoint::Slide> heldSlide;
    return presentation && PptFetched(presentation->get_Slides(&slides), &slides, heldSlides) &&
           PptFetched(heldSlides->FindBySlideID(m_slideId, &slide), &slide, heldSlide) &&
           PptFetched(heldSlide->get_TimeLine(&timeLine), &timeLine, out);
}

void SlideLayer::Unload()
{
    m_unloaded = true;
    EffectHostLock lock(m_session);
    if (!m_effects.IsEmpty()) {
        PptObjectRef timeLine;
        if (FindTimeLine(timeLine))
            m_timeline.RestoreMainSequence(timeLine);
    }
    if (ShowContentList* content = m_session->GetContentList())
        content->Remove(this);
    m_timingsNeedRefresh = false;
    // The effects' trigger copies came after the timeline's changes: they
    // are undone first, so the animations end as they were.
    for (int i = 0; i < m_effects.GetCount(); ++i)
        m_effects[i]->Detach();
    m_timeline.Clear();
    if (m_kernelSlide) {
        m_kernelSlide->Close();
        m_kernelSlide.Release();
    }
    if (m_host) {
        NodeHost* host = m_host;
        m_host = nullptr;
        host->SetHostHandler(nullptr);
        host->Close();
        host->Release();
    }
    DeleteEffects();
    m_active = false;
    m_shown = -1;
}

void SlideLayer::SetShown(bool shown)
{
    int wanted = shown ? 1 : 0;
    if (m_unloaded || m_effects.IsEmpty() || m_shown == wanted)
        return;
    m_host->BeginUpdate(false);
    m_shown = wanted;
    if (LayerNode* top = m_host->GetTopLayer())
        top->SetVisible(shown);
    if (m_kernelSlide)
        m_kernelSlide->SetShown(shown ? VARIANT_TRUE : VARIANT_FALSE);
    m_host->EndUpdate(false);
}

void SlideLayer::Run()
{
    if (m_unloaded || (!m_timeline.IsPaused() && m_kernelPlayState == 1))
        return;
    if (m_timeline.IsPaused())
        m_timeline.Resume();
    if (!m_host)
        return;
    m_host->BeginUpdate(false);
    if (m_kernelSlide)
        m_kernelSlide->SetPlayState(1);
    m_kernelPlayState = 1;
    m_host->EndUpdate(false);
    m_host->RestoreFocus();
}

void SlideLayer::Pause()
{
    if (m_unloaded || (m_timeline.IsPaused() && m_kernelPlayState == 2))
        return;
    if (!m_timeline.IsPaused())
        m_timeline.Pause();
    if (!m_host)
        return;
    m_host->BeginUpdate(false);
    if (m_kernelSlide)
        m_kernelSlide->SetPlayState(2);
    m_kernelPlayState = 2;
    m_host->EndUpdate(false);
}

void SlideLayer::Activate()
{
    if (m_unloaded || m_active)
        return;
    m_active = true;
    if (!m_host || !m_kernelSlide)
        return;
    m_host->BeginUpdate(false);
    m_kernelSlide->Activate();
    m_host->EndUpdate(false);
}

void SlideLayer::Deactivate()
{
    if (m_unloaded)
        return;
    if (m_host && m_kernelSlide) {
        m_host->BeginUpdate(false);
        m_kernelSlide->Deactivate();
        m_host->EndUpdate(false);
    }
    m_active = false;
}

void SlideLayer::PrepareEffects()
{
    m_placeholdersPending = true;
    if (m_unloaded)
        return;
    for (int i = 0; i < m_effects.GetCount(); ++i)
        m_effects[i]->ShowPlaceholder();
}

void SlideLayer::HidePlaceholders()
{
    m_placeholdersPending = false;
    if (m_unloaded)
        return;
    int hidden = 0;
    for (int i = 0; i < m_effects.GetCount(); ++i)
        hidden += m_effects[i]->HidePlaceholder() ? 1 : 0;
    if (hidden > 0)
        UpdateWindow(m_session->GetPane());
}

void SlideLayer::RefreshTimings()
{
    m_timingsNeedRefresh = false;
    if (m_unloaded || m_slideId == 0)
        return;
    PptObjectRef timeLine;
    if (!FindTimeLine(timeLine))
        return;
    // Writing the first animation's delay and back makes PowerPoint time the
    // slide again, with the shapes as they are now.
    EffectHostLock lock(m_session);
    TouchAnimationTimings(timeLine);
}

Effect* SlideLayer::FindEffectByShape(IUnknown* shape) const
{
    PptShapeRef held;
    held.Assign(shape);
    int id = held.GetShapeId();
    if (id == -1)
        return nullptr;
    for (int i = 0; i < m_effects.GetCount(); ++i) {
        if (m_effects[i]->GetShapeId() == id || m_effects[i]->GetPlaceholderId() == id)
            return m_effects[i];
    }
    return nullptr;
}

Effect* SlideLayer::FindEffectOfAnimation(IUnknown* animation) const
{
    PptAnimationRef held;
    held.Assign(animation);
    PptShapeRef target;
    return held.GetFirstObject(target) ? FindEffectByShape(target.Get()) : nullptr;
}

int SlideLayer::GetOfficeCode() const
{
    return m_session->GetOfficeCode();
}

bool SlideLayer::IsOldOffice() const
{
    return m_session->IsOldOffice();
}

StepEffect* SlideLayer::GetStepEffect(int index) const
{
    return m_effects.SafeGetAt(index);
}

StepEffect* SlideLayer::FindStepEffect(const PptShapeRef& shape) const
{
    return shape.IsEmpty() ? nullptr : FindEffectByShape(shape.Get());
}

void SlideLayer::BeginUpdate()
{
    if (m_host)
        m_host->BeginUpdate(false);
}

void SlideLayer::EndUpdate()
{
    if (m_host)
        m_host->EndUpdate(false);
}

bool SlideLayer::GetListedCommandObject(PptShapeRef& out) const
{
    ShowContentList* content = m_session->GetContentList();
    out.Assign(content ? content->Find(this) : nullptr);
    return !out.IsEmpty();
}

void SlideLayer::LeaveContentList()
{
    if (ShowContentList* content = m_session->GetContentList())
        content->Remove(this);
}

bool SlideLayer::IsCurrentWithEffects() const
{
    return !m_session->IsStopped() && m_session->GetCurrentLayer() == this && !m_effects.IsEmpty();
}

void SlideLayer::GetSnapshotArea(RectF& bounds, bool& needed)
{
    if (!IsCurrentWithEffects() || !m_host)
        return;
    RectF region = RectF::Inverted();
    for (int i = 0; i < m_effects.GetCount(); ++i) {
        const Effect* effect = m_effects[i];
        if (effect->GetContentKind() != Effect::kKindSnapshot)
            continue;
        region.Unite(RectF(effect->GetLeft(), effect->GetTop(), effect->GetLeft() + effect->GetWidth(),
                           effect->GetTop() + effect->GetHeight()));
    }
    bounds = region;
    RectList list;
    list.Append(region);
    if (!region.IsEmpty() && m_host->OverlapsWindowedControl(list))
        needed = true;
}

void SlideLayer::OnSnapshotShown()
{
    if (IsCurrentWithEffects())
        HidePlaceholders();
}

HWND SlideLayer::GetFocusWindow()
{
    return m_session->GetPane();
}

bool SlideLayer::ResolveNodeUrl(int, const UrlParts&, int32_t&, IStream*&, uint32_t&, int&)
{
    // Content is served by the effect that owns its layer node, never by the
    // slide as a whole.
    return false;
}

int32_t SlideLayer::TranslateKey(UINT message, WPARAM wParam, LPARAM, int32_t& keyState)
{
    keyState = 0;
    SlideShowController* controller = m_session->GetController();
    if (!controller ||
        (message != WM_KEYDOWN && message != WM_CHAR && message != WM_SYSKEYDOWN && message != WM_SYSCHAR))
        return -1;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const WORD key = LOWORD(wParam);
    const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const ACCEL* table = controller->GetAccelerators();
    for (int i = 0; i < controller->GetAcceleratorCount(); ++i) {
        const ACCEL& entry = table[i];
        if (entry.key != key)
            continue;
        const bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
        const bool entryAlt = (entry.fVirt & FALT) != 0;
        bool matches = keyDown ? virtualKey && ((entry.fVirt & FCONTROL) != 0) == ctrl && entryAlt == alt &&
                                     ((entry.fVirt & FSHIFT) != 0) == shift
                               : !virtualKey && entryAlt == alt;
        if (!matches)
            continue;
        keyState = (ctrl ? 0x20000 : 0) | (alt ? 0x40000 : 0) | (shift ? 0x10000 : 0) | key;
        return entry.cmd;
    }
    return -1;
}

bool SlideLayer::SendCommand(int32_t command)
{
    if (command < 1 || command > 32767 || !m_session)
        return false;
    SendMessageW(GetParent(m_session->GetPane()), WM_COMMAND, static_cast<WPARAM>(command) | 0x10000, 0);
    return true;
}
