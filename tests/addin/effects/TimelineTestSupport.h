#pragma once
#include <windows.h>

#include "addin/core/PptAnimationRef.h"
#include "addin/effects/EffectStepQueue.h"
#include "addin/effects/StepEffect.h"
#include "addin/effects/TimelineLayer.h"
#include "addin/core/PptShapeRef.h"

#include <map>
#include <string>
#include <vector>

namespace standin {
class EffectObject;
class SequenceObject;
class ShapeObject;
class SlideObject;
class TimeLineObject;
}  // namespace standin

// PowerPoint's trigger types as the cases write them.
const long kClick = PowerPoint::msoAnimTriggerOnPageClick;
const long kWith = PowerPoint::msoAnimTriggerWithPrevious;
const long kAfter = PowerPoint::msoAnimTriggerAfterPrevious;
const long kShapeClick = PowerPoint::msoAnimTriggerOnShapeClick;

// Helpers of the build-step and slide-preparation tests: a slide layer and
// its effects as the timeline sees them, each content call written to a log,
// and a clock the test sets.

// The tick source the tests hand to the timeline.
extern DWORD g_testTicks;
DWORD WINAPI TestTicks();

// An effect drawn for a stand-in shape (matched by shape id). Its content's
// fire-steps calls are written to the log as one line each:
// "<name> @<time>: [reset] [<id>+ <seq>:<pos> t<time> d<duration> r<repeats>] ...".
class TestStepEffect final : public StepEffect {
public:
    TestStepEffect(const std::wstring& name, int shapeId, std::vector<std::wstring>* log)
        : name(name), shapeId(shapeId), m_log(log)
    {
    }

    EffectStepQueue& StepQueue() override { return m_queue; }
    HRESULT FireSteps(int32_t time, SAFEARRAY* ids, SAFEARRAY* isStart, SAFEARRAY* keys, SAFEARRAY* times,
                      SAFEARRAY* durations, SAFEARRAY* repeatCounts) override;
    bool QueryStepMode(const MKString& effectId, int32_t* mode) override;
    bool QueryHold(const MKString& commandText, bool* hold) override;
    bool ConfirmWithKernel(const MKString& effectId) override;
    bool AcceptsAnimation() const override { return acceptsAnimation; }
    int32_t GetContentKind() const override { return kind; }
    bool HasTriggerCopy() const override { return !m_copy.IsEmpty(); }
    void SetTriggerCopy(const PptAnimationRef& copy, const PptAnimationRef& source) override;
    // What the layer's unload does for the effect: the source animation gets
    // the copy's trigger back and the copy goes.
    void Detach();

    std::wstring name;
    int shapeId;
    bool acceptsAnimation = true;
    int32_t kind = 0;
    // Step modes by effect id; ids not listed fail the query.
    std::map<std::wstring, int32_t> modes;
    // Command texts the content holds on; `holdFails` fails every query.
    std::vector<std::wstring> holds;
    bool holdFails = false;
    bool kernelRefuses = false;
    std::vector<std::wstring> holdQueries;

private:
    std::vector<std::wstring>* m_log;
    EffectStepQueue m_queue{this};
    PptAnimationRef m_copy;
    PptAnimationRef m_source;
};

class TestTimelineLayer : public TimelineLayer {
public:
    explicit TestTimelineLayer(int officeCode) : officeCode(officeCode) {}
    ~TestTimelineLayer();

    TestStepEffect* AddEffect(const std::wstring& name, standin::ShapeObject* shape);

    int GetOfficeCode() const override { return officeCode; }
    bool IsOldOffice() const override { return officeCode < 1200; }
    int GetStepEffectCount() const override { return int(effects.size()); }
    StepEffect* GetStepEffect(int index) const override { return effects[size_t(index)]; }
    StepEffect* FindStepEffect(const PptShapeRef& shape) const override;
    void BeginUpdate() override { ++updates; }
    void EndUpdate() override { --updates; }
    bool GetListedCommandObject(PptShapeRef& out) const override;
    void LeaveContentList() override { listedCommandObject.Release(); ++leftContentList; }

    int officeCode;
    std::vector<TestStepEffect*> effects;
    std::vector<std::wstring> log;
    int updates = 0;
    PptShapeRef listedCommandObject;
    int leftContentList = 0;
};

// The time line as a text: every sequence, and in it every effect's shape,
// effect type, stored trigger type, delay, duration, repeats, trigger shape
// and behaviours, in order.
std::wstring DumpTimeLine(standin::TimeLineObject* timeLine);
// Every shape of the slide (name, visibility, rectangle), then its time line.
std::wstring DumpSlide(standin::SlideObject* slide);

// A custom effect carrying the product marker for `id` and its data.
standin::EffectObject* AddProductEffect(standin::SequenceObject* sequence, standin::ShapeObject* shape,
                                        const std::wstring& id, long trigger);
