#include "addin/effects/ShapeEffect.h"

#include "addin/core/ShapeVisit.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/Plugin.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowHost.h"
#include "addin/effects/SlideShowSession.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/ResourceStream.h"
#include "addin/hosting/UrlParts.h"
#include "addin/hosting/VirtualRoot.h"
#include "base/MKBstrHolder.h"
#include "base/MKHashMap.h"
#include "base/MKMemInStream.h"

#include <algorithm>
#include <new>
#include <wchar.h>

namespace {

const wchar_t kPackResources[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\";
const int kPackResourcesLength = static_cast<int>(sizeof(kPackResources) / sizeof(wchar_t)) - 1;
static_assert(sizeof(kPackResources) / sizeof(wchar_t) > kVirtualRootLength);

}  // namespace

Effect::Effect(SlideLayer* layer) : m_layer(layer) {}

Effect::~Effect()
{
    ReleaseNode();
    if (m_type)
        m_type->Release();
}

SlideShowSession* Effect::Session() const
{
    return m_layer ? m_layer->GetSession() : nullptr;
}

bool Effect::Init(IUnknown* shape, EffectDataRecord* type, IUnknown* kernelSlide)
{
    if (!type || !shape)
        return false;
    type->AddRef();
    if (m_type)
        m_type->Release();
    m_type = type;
    m_shape.Assign(shape);
    m_shapeId = m_shape.GetShapeId();
    if (m_shapeId == -1)
        return false;
    if (!m_shape.GetBounds(m_left, m_top, m_width, m_height))
        return false;
    SlideShowSession* session = Session();
    if (m_shape.IsEmptyShape(session ? session->GetOfficeCode() : 0))
        return false;

    // A plug-in unloaded since the scan makes nothing any more.
    Plugin* plugin = m_type->GetPlugin();
    if (!plugin)
        return false;
    IUnknown* effectObject = plugin->CreateShapeEffect(shape, *m_type);
    // The plug-in API passes host objects as 32-bit addresses.
    const auto slideAddress = static_cast<int32_t>(reinterpret_cast<INT_PTR>(kernelSlide));
    IUnknown* content = plugin->CreateEffectContent(effectObject, slideAddress);
    if (effectObject)
        effectObject->Release();
    IEffectContent* typed = nullptr;
    if (content) {
        content->QueryInterface(IID_IEffectContent, reinterpret_cast<void**>(&typed));
        content->Release();
    }
    if (!typed)
        return false;
    m_content.Attach(typed);

    MKBstrHolder name;
    long kind = 0;
    VARIANT_BOOL accepts = VARIANT_FALSE;
    VARIANT_BOOL offSlide = VARIANT_FALSE;
    if (FAILED(m_content->Describe(name.Receive(), &kind, &accepts, &offSlide))) {
        ReleaseNode();
        return false;
    }
    m_kind = static_cast<int>(kind);
    m_acceptsAnimation = accepts != VARIANT_FALSE;
    m_mayLieOffSlide = offSlide != VARIANT_FALSE;
    return true;
}

bool Effect::IsOffSlide() const
{
    SlideShowSession* session = Session();
    if (!session)
        return true;
    return m_left + m_width <= 0 || m_top + m_height <= 0 || m_left >= session->GetSlideWidth() ||
           m_top >= session->GetSlideHeight();
}

bool Effect::CreateNode()
{
    NodeHost* host = m_layer ? m_layer->GetHost() : nullptr;
    if (m_node || !m_content || !host || !(m_width > 0) || !(m_height > 0))
        return false;
    LayerNode* node = host->CreateLayer(m_left, m_top, m_width, m_height, false);
    if (!node)
        return false;
    node->AddRef();
    m_node = node;
    node->SetOwner(this);
    if (!(m_node->GetWidth() > 0) || !(m_node->GetHeight() > 0)) {
        ReleaseNode();
        return false;
    }
    IDispatch* proxy = m_node->GetAutomationProxy();
    if (!proxy || FAILED(m_content->Attach(proxy, VARIANT_TRUE)) || (!m_mayLieOffSlide && IsOffSlide())) {
        ReleaseNode();
        return false;
    }
    return true;
}

void Effect::ReleaseNode()
{
    if (m_content) {
        m_content->Detach();
        m_content.Release();
    }
    if (m_node) {
        LayerNode* node = m_node;
        m_node = nullptr;
        node->SetOwner(nullptr);
        node->Close();
        node->Release();
    }
}

bool Effect::Prepare(bool animated)
{
    if (!animated && m_kind != kKindAnimatedByPowerPoint) {
        m_shapeHidden = true;
        SetShapeVisible(m_shape, false);
    }
    if (m_kind != kKindSnapshot)
        return true;
    float* b = m_contentBounds;
    if (!m_content || FAILED(m_content->GetBounds(&b[0], &b[1], &b[2], &b[3])))
        return false;
    if (!(b[2] > b[0]) || !(b[3] > b[1]))
        return true;
    MKBstrHolder key;
    if (FAILED(m_content->GetSnapshotKey(key.Receive())))
        return false;
    m_snapshotKey = MKString(key.Get() ? key.Get() : L"");
    return MakePlaceholder();
}

void Effect::GetContentBounds(float bounds[4]) const
{
    for (int i = 0; i < 4; ++i)
        bounds[i] = m_contentBounds[i];
}

bool Effect::MakePlaceholder()
{
    MKHashNode* entry = m_layer && !m_snapshotKey.IsEmpty() ? m_layer->GetScanMap().Find(m_snapshotKey) : nullptr;
    ShapeVisit* visit = entry ? static_cast<ShapeVisit*>(entry->value) : nullptr;
    if (!visit || visit->shape.IsEmpty())
        return false;
    m_placeholder.Assign(visit->shape.Get());
    const float* b = m_contentBounds;
    ApplyGeometry(m_placeholder, b[0], b[1], std::max(0.0f, b[2] - b[0]), std::max(0.0f, b[3] - b[1]));
    m_placeholderId = m_placeholder.GetShapeId();
    if (m_placeholderId < 0 || !SetShapeVisible(m_placeholder, true))
        return false;
    SlideShowSession* session = Session();
    if (session && session->GetOfficeCode() >= 1200)
        m_layer->MarkTimingsForRefresh();
    return true;
}

bool Effect::ShowPlaceholder()
{
    if (m_kind != kKindSnapshot)
        return true;
    bool shown = SetShapeVisible(m_placeholder, true);
    SlideShowSession* session = Session();
    if (m_layer && session && session->GetOfficeCode() >= 1200)
        m_layer->MarkTimingsForRefresh();
    return shown;
}

bool Effect::HidePlaceholder()
{
    return m_kind == kKindSnapshot && SetShapeVisible(m_placeholder, false);
}

bool Effect::SetShapeVisible(const PptShapeRef& shape, bool visible)
{
    if (shape.IsGone())
        return true;
    SlideShowSession* session = Session();
    if (!session)
        return false;
    MKComHolder<PowerPoint::Shape> target;
    if (!shape.Query(PowerPoint::IID_Shape, target))
        return false;
    EffectHostLock lock(session);
    return SUCCEEDED(target->put_Visible(visible ? PowerPoint::msoTrue : PowerPoint::msoFalse));
}

void Effect::ApplyGeometry(const PptShapeRef& shape, float left, float top, float width, float height)
{
    MKComHolder<PowerPoint::Shape> target;
    if (shape.IsGone() || !shape.Query(PowerPoint::IID_Shape, target))
        return;
    float now[4] = {0, 0, 0, 0};
    target->get_Left(&now[0]);
    target->get_Top(&now[1]);
    target->get_Width(&now[2]);
    target->get_Height(&now[3]);
    if (now[0] == left && now[1] == top && now[2] == width && now[3] == height)
        return;
    EffectHostLock lock(Session());
    if (now[0] != left)
        target->put_Left(left);
    if (now[1] != top)
        target->put_Top(top);
    if (now[2] != width)
        target->put_Width(width);
    if (now[3] != height)
        target->put_Height(height);
}

void Effect::SetTriggerCopy(const PptAnimationRef& copy, const PptAnimationRef& source)
{
    m_triggerCopy.Assign(copy.Get());
    m_sourceAnimation.Assign(source.Get());
}

void Effect::Detach()
{
    if (!m_triggerCopy.IsEmpty()) {
        EffectHostLock lock(Session());
        if (!m_sourceAnimation.IsEmpty())
            m_sourceAnimation.SetTriggerType(m_triggerCopy.GetTriggerType());
        m_triggerCopy.DeleteEffect();
        m_triggerCopy.Release();
        m_sourceAnimation.Release();
    }
    if (!m_placeholder.IsEmpty()) {
        SetShapeVisible(m_placeholder, false);
        m_placeholder.Release();
        m_placeholderId = -1;
    }
    if (m_shapeHidden) {
        SetShapeVisible(m_shape, true);
        m_shapeHidden = false;
    }
    ReleaseNode();
    m_shapeId = -1;
    m_shape.Release();
    if (m_type) {
        m_type->Release();
        m_type = nullptr;
    }
}

bool Effect::HandleResourceRequest(int, const UrlParts& url, int32_t& handled, IStream*& stream, uint32_t& size,
                                   int& code)
{
    const MKString& path = url.path;
    if (url.schemeKind != kSchemeFile || path.GetLength() <= kPackResourcesLength ||
        wcsncmp(path.GetText(), kPackResources, kPackResourcesLength) != 0)
        return false;
    handled = 2;
    Plugin* plugin = m_type ? m_type->GetPlugin() : nullptr;
    MKTArray<uint8_t> bytes;
    if (!plugin || !plugin->ReadPackageEntry(path.Mid(kPackResourcesLength), bytes))
        return false;
    const int count = bytes.GetCount();
    auto* input = new (std::nothrow) MKMemInStream;
    if (!input)
        return false;
    input->Attach(bytes.Detach(), count, true);
    auto* served = new (std::nothrow) ResourceStream(input);
    input->Release();
    if (!served)
        return false;
    served->AddRef();
    stream = served;
    size = static_cast<uint32_t>(count);
    code = 0;
    return false;
}

void Effect::RequestShowExit()
{
    SlideShowSession* session = Session();
    if (!session)
        return;
    if (SessionReport* report = session->GetReport())
        report->SetExitRequester(m_type);
    session->RequestExit();
}

bool Effect::QueryStepMode(const MKString& effectId, int32_t* mode)
{
    MKBstrHolder id;
    *id.Receive() = effectId.ToBstr();
    long answer = *mode;
    if (!m_content || FAILED(m_content->GetStepMode(id.Get(), &answer)))
        return false;
    *mode = static_cast<int32_t>(answer);
    return true;
}

bool Effect::QueryHold(const MKString& commandText, bool* hold)
{
    MKBstrHolder text;
    *text.Receive() = commandText.ToBstr();
    VARIANT_BOOL answer = VARIANT_FALSE;
    if (!m_content || FAILED(m_content->QueryHold(text.Get(), &answer)))
        return false;
    *hold = answer != VARIANT_FALSE;
    return true;
}

bool Effect::ConfirmWithKernel(const MKString& effectId)
{
    SlideShowSession* session = Session();
    if (!session || !m_type)
        return false;
    MKBstrHolder id;
    *id.Receive() = effectId.ToBstr();
    return session->GetController()->GetHost()->ConfirmEffect(static_cast<int32_t>(m_type->GetUsageId()), id.Get());
}

HRESULT Effect::FireSteps(int32_t time, SAFEARRAY* ids, SAFEARRAY* isStart, SAFEARRAY* keys, SAFEARRAY* times,
                          SAFEARRAY* durations, SAFEARRAY* repeatCounts)
{
    return m_content ? m_content->FireSteps(time, ids, isStart, keys, times, durations, repeatCounts) : E_FAIL;
}
