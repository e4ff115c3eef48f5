#include "TimelineTestSupport.h"

#include "addin/core/ShapeEffectMarker.h"
#include "base/MKString.h"
#include "standins/powerpoint/AnimationBehaviorObject.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/CommandEffectObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SequencesObject.h"
#include "standins/powerpoint/SetEffectObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <sstream>

DWORD g_testTicks = 0;

DWORD WINAPI TestTicks()
{
    return g_testTicks;
}

namespace {

template <class T>
T Element(SAFEARRAY* array, LONG index)
{
    T value{};
    SafeArrayGetElement(array, &index, &value);
    return value;
}

}  // namespace

HRESULT TestStepEffect::FireSteps(int32_t time, SAFEARRAY* ids, SAFEARRAY* isStart, SAFEARRAY* keys,
                                  SAFEARRAY* times, SAFEARRAY* durations, SAFEARRAY* repeatCounts)
{
    std::wostringstream line;
    line << name << L" @" << time << L":";
    LONG upper = -1;
    SafeArrayGetUBound(ids, 1, &upper);
    for (LONG i = 0; i <= upper; ++i) {
        BSTR id = nullptr;
        SafeArrayGetElement(ids, &i, &id);
        uint32_t start = Element<uint32_t>(isStart, i);
        uint32_t key = Element<uint32_t>(keys, i);
        if (start == EffectStepQueue::kResetRow) {
            line << L" [reset" << (id ? L" id!" : L"") << L" " << key << L" " << Element<int32_t>(times, i) << L" "
                 << Element<int32_t>(durations, i) << L" " << Element<int32_t>(repeatCounts, i) << L"]";
        } else {
            line << L" [" << (id ? id : L"(null)") << (start == 1 ? L"+" : (start == 0 ? L"-" : L"?")) << L" "
                 << (key >> 16) << L":" << (key & 0xFFFF) << L" t" << Element<int32_t>(times, i) << L" d"
                 << Element<int32_t>(durations, i) << L" r" << Element<int32_t>(repeatCounts, i) << L"]";
        }
        SysFreeString(id);
    }
    m_log->push_back(line.str());
    return S_OK;
}

bool TestStepEffect::QueryStepMode(const MKString& effectId, int32_t* mode)
{
    auto found = modes.find(effectId.GetText());
    if (found == modes.end())
        return false;
    *mode = found->second;
    return true;
}

bool TestStepEffect::QueryHold(const MKString& commandText, bool* hold)
{
    holdQueries.push_back(commandText.GetText());
    if (holdFails)
        return false;
    *hold = false;
    for (const std::wstring& text : holds)
        *hold = *hold || text == commandText.GetText();
    return true;
}

bool TestStepEffect::ConfirmWithKernel(const MKString&)
{
    return !kernelRefuses;
}

void TestStepEffect::SetTriggerCopy(const PptAnimationRef& copy, const PptAnimationRef& source)
{
    m_copy.Assign(copy.Get());
    m_source.Assign(source.Get());
}

void TestStepEffect::Detach()
{
    if (m_copy.IsEmpty())
        return;
    if (!m_source.IsEmpty())
        m_source.SetTriggerType(m_copy.GetTriggerType());
    m_copy.DeleteEffect();
    m_copy.Release();
    m_source.Release();
}

TestTimelineLayer::~TestTimelineLayer()
{
    for (TestStepEffect* effect : effects)
        delete effect;
}

TestStepEffect* TestTimelineLayer::AddEffect(const std::wstring& name, standin::ShapeObject* shape)
{
    effects.push_back(new TestStepEffect(name, shape->Id(), &log));
    return effects.back();
}

StepEffect* TestTimelineLayer::FindStepEffect(const PptShapeRef& shape) const
{
    int32_t id = shape.GetShapeId();
    for (TestStepEffect* effect : effects) {
        if (id >= 0 && effect->shapeId == id)
            return effect;
    }
    return nullptr;
}

bool TestTimelineLayer::GetListedCommandObject(PptShapeRef& out) const
{
    out.Assign(listedCommandObject.Get());
    return !out.IsEmpty();
}

namespace {

void DumpSequence(std::wostringstream& out, const wchar_t* title, standin::SequenceObject* sequence)
{
    out << title << L":\n";
    for (standin::EffectObject* effect : sequence->Items()) {
        const standin::TimingValues& timing = effect->Timing()->Values();
        standin::ShapeObject* trigger = effect->Timing()->TriggerShape();
        out << L"  " << (effect->Shape() ? effect->Shape()->Name() : L"-") << L" type=" << effect->EffectType()
            << L" trigger=" << timing.triggerType << L" delay=" << timing.delay << L" duration=" << timing.duration
            << L" repeat=" << timing.repeatCount << L"/" << timing.repeatDuration << L" by="
            << (trigger ? trigger->Name() : L"-");
        for (standin::AnimationBehaviorObject* behavior : effect->Behaviors()->Items()) {
            out << L" {" << behavior->Type();
            if (behavior->Command())
                out << L" " << behavior->Command()->Command();
            if (behavior->SetEffect())
                out << L" to=" << behavior->SetEffect()->To().lVal;
            out << L"}";
        }
        out << L"\n";
    }
}

}  // namespace

std::wstring DumpTimeLine(standin::TimeLineObject* timeLine)
{
    std::wostringstream out;
    DumpSequence(out, L"main", timeLine->Main());
    int index = 1;
    for (standin::SequenceObject* sequence : timeLine->Interactive()->Items()) {
        std::wstring title = L"trigger " + std::to_wstring(index++);
        DumpSequence(out, title.c_str(), sequence);
    }
    return out.str();
}

std::wstring DumpSlide(standin::SlideObject* slide)
{
    std::wostringstream out;
    for (standin::ShapeObject* shape : slide->ShapeItems().Items())
        out << shape->Name() << L" visible=" << shape->Visible() << L" at " << shape->Left() << L"," << shape->Top()
            << L" " << shape->Width() << L"x" << shape->Height() << L"\n";
    return out.str() + DumpTimeLine(slide->TimeLine());
}

standin::EffectObject* AddProductEffect(standin::SequenceObject* sequence, standin::ShapeObject* shape,
                                        const std::wstring& id, long trigger)
{
    standin::EffectObject* effect = sequence->AddEffect(shape, PowerPoint::msoAnimEffectCustom, trigger);
    effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, kShapeEffectMarker + id);
    effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffectData:aa");
    return effect;
}
