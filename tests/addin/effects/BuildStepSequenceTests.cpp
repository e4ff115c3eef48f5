// Build steps over the stand-in PowerPoint's time lines on a clock the test
// drives: the rows each content is handed, as golden logs, for a catalogue
// of sequences.
#include "TimelineTestSupport.h"
#include "fixtures/ComScope.h"

#include "addin/effects/SlideTimeline.h"
#include "addin/effects/StepList.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SequencesObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

using standin::EffectObject;
using standin::SequenceObject;
using standin::ShapeObject;

namespace {

// Ticks of the machine when the slide starts: the timeline counts from its
// own start.
const DWORD kSlideStart = 50000;

// One slide built for a case: product shapes with their effects in the
// layer, and the animations the case puts on them.
struct CaseSlide {
    standin::SlideObject* slide;
    TestTimelineLayer* layer;

    ShapeObject* Shape(const std::wstring& name)
    {
        return slide->AddShape(PowerPoint::msoAutoShape, name, 10, 10, 100, 100);
    }
    // A product shape with its effect, named by upper case; its id is the
    // name in lower case.
    ShapeObject* Product(const std::wstring& name, TestStepEffect** effect = nullptr)
    {
        ShapeObject* shape = Shape(name);
        TestStepEffect* made = layer->AddEffect(name, shape);
        if (effect)
            *effect = made;
        return shape;
    }
    EffectObject* Animate(SequenceObject* sequence, ShapeObject* shape, long trigger, float delay = 0,
                          float duration = 0.5f, int repeatCount = 1, float repeatDuration = 0)
    {
        std::wstring id = shape->Name();
        for (wchar_t& c : id)
            c = wchar_t(towlower(c));
        EffectObject* effect = AddProductEffect(sequence, shape, id, trigger);
        effect->Timing()->Values() = {duration, trigger, delay, repeatCount, repeatDuration, 0.5f};
        return effect;
    }
    SequenceObject* Main() { return slide->TimeLine()->Main(); }
    SequenceObject* Trigger(ShapeObject* by)
    {
        SequenceObject* sequence = slide->TimeLine()->Interactive()->AddSequence();
        sequence->AddRef();
        sequence->Release();
        m_triggers.push_back({sequence, by});
        return sequence;
    }
    // The trigger shape goes on the first effect of each trigger sequence.
    void SetTriggerShapes()
    {
        for (auto& [sequence, by] : m_triggers) {
            if (!sequence->Items().empty())
                sequence->Items().front()->Timing()->SetTriggerShape(by);
        }
    }

    std::vector<std::pair<SequenceObject*, ShapeObject*>> m_triggers;
};

// A on the first click; a button starts D, E after it, and F on its next press.
void BuildTriggerSequence(CaseSlide& s)
{
    ShapeObject* a = s.Product(L"A");
    ShapeObject* d = s.Product(L"D");
    ShapeObject* e = s.Product(L"E");
    ShapeObject* f = s.Product(L"F");
    ShapeObject* button = s.Shape(L"Button");
    s.Animate(s.Main(), a, kClick);
    SequenceObject* trigger = s.Trigger(button);
    s.Animate(trigger, d, kShapeClick, 0, 1.0f);
    s.Animate(trigger, e, kAfter);
    s.Animate(trigger, f, kShapeClick);
    s.SetTriggerShapes();
}

struct SequenceCase {
    const char* name;
    const wchar_t* version;
    std::function<void(CaseSlide&)> build;
    // "run", "pause", "tick <ms>", "click <n>", "list <i> click <n>", "back",
    // "ensure <clicks>"; times are the slide's (machine ticks less the start).
    std::vector<std::wstring> script;
    std::vector<std::wstring> golden;
};

void RunScript(SlideTimeline& timeline, const std::vector<std::wstring>& script)
{
    for (const std::wstring& line : script) {
        int a = 0;
        int b = 0;
        if (line == L"run") {
            timeline.Resume();
        } else if (line == L"pause") {
            timeline.Pause();
        } else if (line == L"back") {
            timeline.StepBack();
        } else if (swscanf(line.c_str(), L"tick %d", &a) == 1) {
            g_testTicks = kSlideStart + DWORD(a);
            timeline.Tick();
        } else if (swscanf(line.c_str(), L"click %d", &a) == 1) {
            timeline.OnStepChanged(timeline.GetList(0), a);
        } else if (swscanf(line.c_str(), L"list %d click %d", &a, &b) == 2) {
            timeline.OnStepChanged(timeline.GetList(a), b);
        } else if (swscanf(line.c_str(), L"ensure %d", &a) == 1) {
            timeline.EnsureMainSteps(a);
        } else {
            ADD_FAILURE() << "unknown script line";
        }
    }
}

std::wstring Joined(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\n";
    return text;
}

const SequenceCase kCases[] = {
    {"WithAndAfterPrevious", L"14.0",
     [](CaseSlide& s) {
         ShapeObject* a = s.Product(L"A");
         ShapeObject* b = s.Product(L"B");
         ShapeObject* c = s.Product(L"C");
         s.Animate(s.Main(), a, kClick, 0, 1.0f);
         s.Animate(s.Main(), b, kWith, 0.25f, 0.5f);
         s.Animate(s.Main(), c, kAfter, 0, 2.0f);
     },
     {L"run", L"click 0", L"tick 100", L"click 1", L"tick 400", L"tick 900", L"tick 1100", L"tick 3100"},
     {L"A @0: [reset 0 0 0 0]", L"B @0: [reset 0 0 0 0]", L"C @0: [reset 0 0 0 0]",
      L"A @100: [a+ 0:1 t100 d1000 r1]", L"B @400: [b+ 0:2 t350 d500 r1]", L"B @900: [b- 0:2 t350 d500 r1]",
      L"A @1100: [a- 0:1 t100 d1000 r1]", L"C @1100: [c+ 0:3 t1100 d2000 r1]",
      L"C @3100: [c- 0:3 t1100 d2000 r1]"}},
    {"AfterPreviousFirstRunsWithTheSlide", L"14.0",
     [](CaseSlide& s) {
         ShapeObject* a = s.Product(L"A");
         ShapeObject* b = s.Product(L"B");
         s.Animate(s.Main(), a, kAfter, 0.5f, 1.0f);
         s.Animate(s.Main(), b, kClick);
     },
     {L"run", L"click 0", L"tick 500", L"tick 700", L"click 1", L"tick 1200"},
     // The click ends A before its time.
     {L"A @0: [reset 0 0 0 0]", L"B @0: [reset 0 0 0 0]", L"A @500: [a+ 0:1 t500 d1000 r1]",
      L"A @700: [a- 0:1 t500 d1000 r1]", L"B @700: [b+ 0:2 t700 d500 r1]", L"B @1200: [b- 0:2 t700 d500 r1]"}},
    {"TriggerSequence", L"14.0",
     BuildTriggerSequence,
     {L"run", L"click 0", L"list 1 click 1", L"tick 1200", L"tick 1300", L"list 1 click 1", L"list 1 click 2",
      L"list 1 click 3"},
     // The same click again finishes what runs; click 3 is not there.
     {L"A @0: [reset 0 0 0 0]", L"D @0: [reset 0 0 0 0]", L"E @0: [reset 0 0 0 0]", L"F @0: [reset 0 0 0 0]",
      L"D @0: [d+ 1:1 t0 d1000 r1]", L"D @1200: [d- 1:1 t0 d1000 r1]", L"E @1200: [e+ 1:2 t1000 d500 r1]",
      L"E @1300: [e- 1:2 t1000 d500 r1]", L"F @1300: [f+ 1:3 t1300 d500 r1]"}},
    {"TriggerSequenceBeforePowerPoint12", L"11.0",
     BuildTriggerSequence,
     {L"run", L"click 0", L"list 1 click 1", L"tick 1200", L"list 1 click 2"},
     // The same steps as PowerPoint 12 reads them: E runs after D.
     {L"A @0: [reset 0 0 0 0]", L"D @0: [reset 0 0 0 0]", L"E @0: [reset 0 0 0 0]", L"F @0: [reset 0 0 0 0]",
      L"D @0: [d+ 1:1 t0 d1000 r1]", L"D @1200: [d- 1:1 t0 d1000 r1]", L"E @1200: [e+ 1:2 t1000 d500 r1]",
      L"E @1200: [e- 1:2 t1000 d500 r1]", L"F @1200: [f+ 1:3 t1200 d500 r1]"}},
    {"RepeatsOpenEndedAndEndAtNextClick", L"14.0",
     [](CaseSlide& s) {
         TestStepEffect* dEffect = nullptr;
         ShapeObject* a = s.Product(L"A");
         ShapeObject* b = s.Product(L"B");
         ShapeObject* c = s.Product(L"C");
         ShapeObject* d = s.Product(L"D", &dEffect);
         ShapeObject* e = s.Product(L"E");
         dEffect->modes[L"d"] = StepItem::kEndsAtNextClick;
         s.Animate(s.Main(), a, kClick, 0, 0.5f, 3);
         s.Animate(s.Main(), b, kWith, 0, 0.5f, 0);
         s.Animate(s.Main(), c, kWith, 0, 0.5f, 2, 0.2f);
         s.Animate(s.Main(), d, kWith);
         s.Animate(s.Main(), e, kClick);
     },
     {L"run", L"click 0", L"tick 100", L"click 1", L"tick 500", L"tick 700", L"click 2", L"tick 1200"},
     {L"A @0: [reset 0 0 0 0]", L"B @0: [reset 0 0 0 0]", L"C @0: [reset 0 0 0 0]", L"D @0: [reset 0 0 0 0]",
      L"E @0: [reset 0 0 0 0]", L"A @100: [a+ 0:1 t100 d500 r3]", L"B @100: [b+ 0:2 t100 d500 r0]",
      L"C @100: [c+ 0:3 t100 d200 r2]", L"D @100: [d+ 0:4 t100 d500 r0]", L"C @500: [c- 0:3 t100 d200 r2]",
      // The click ends A early and D, which waits for it; B runs on.
      L"A @700: [a- 0:1 t100 d500 r3]", L"D @700: [d- 0:4 t100 d500 r0]", L"E @700: [e+ 0:5 t700 d500 r1]",
      L"E @1200: [e- 0:5 t700 d500 r1]"}},
    {"GoingBackReplaysWithAResetRow", L"14.0",
     [](CaseSlide& s) {
         ShapeObject* a = s.Product(L"A");
         ShapeObject* b = s.Product(L"B");
         s.Animate(s.Main(), a, kClick, 0, 1.0f);
         s.Animate(s.Main(), b, kClick);
     },
     {L"run", L"click 0", L"tick 100", L"click 1", L"tick 300", L"click 2", L"tick 400", L"back", L"tick 600",
      L"click 2"},
     {L"A @0: [reset 0 0 0 0]", L"B @0: [reset 0 0 0 0]", L"A @100: [a+ 0:1 t100 d1000 r1]",
      L"A @300: [a- 0:1 t100 d1000 r1]", L"B @300: [b+ 0:2 t300 d500 r1]",
      L"A @400: [reset 0 0 0 0] [a+ 0:1 t100 d1000 r1] [a- 0:1 t100 d1000 r1]", L"B @400: [reset 0 0 0 0]",
      L"B @600: [b+ 0:2 t600 d500 r1]"}},
    {"MillisecondsRoundHalfUpAndOverflowToZero", L"14.0",
     [](CaseSlide& s) {
         ShapeObject* a = s.Product(L"A");
         ShapeObject* b = s.Product(L"B");
         ShapeObject* c = s.Product(L"C");
         ShapeObject* d = s.Product(L"D");
         s.Animate(s.Main(), a, kClick, 0.0125f, 0.0015f);
         s.Animate(s.Main(), b, kWith, 0.0004f, 0.001f);
         s.Animate(s.Main(), c, kWith, 3.0e6f, 0.5f);
         s.Animate(s.Main(), d, kWith, 0.0015f, 0.5f);
     },
     {L"run", L"click 0", L"tick 1000", L"click 1", L"tick 1013"},
     {L"A @0: [reset 0 0 0 0]", L"B @0: [reset 0 0 0 0]", L"C @0: [reset 0 0 0 0]", L"D @0: [reset 0 0 0 0]",
      L"B @1000: [b+ 0:2 t1000 d1 r1]", L"C @1000: [c+ 0:3 t1000 d0 r1] [c- 0:3 t1000 d0 r1]",
      L"A @1013: [a+ 0:1 t1013 d1 r1]", L"B @1013: [b- 0:2 t1000 d1 r1]", L"D @1013: [d+ 0:4 t1002 d500 r1]"}},
    {"PlainTextBoxStepHasNoClick", L"14.0",
     [](CaseSlide& s) {
         ShapeObject* a = s.Product(L"A");
         ShapeObject* b = s.Product(L"B");
         ShapeObject* box = s.slide->AddShape(PowerPoint::msoTextBox, L"Box", 0, 0, 50, 20);
         box->SetFill(false, RGB(0, 0, 0));
         box->SetLineVisible(false);
         s.Animate(s.Main(), a, kClick);
         s.Animate(s.Main(), box, kClick);
         s.Animate(s.Main(), b, kClick);
     },
     {L"run", L"click 0", L"tick 100", L"click 1", L"click 3", L"tick 200", L"click 2"},
     // Click 3 is beyond the last one and is ignored; B is the third
     // animation but the second click.
     {L"A @0: [reset 0 0 0 0]", L"B @0: [reset 0 0 0 0]", L"A @100: [a+ 0:1 t100 d500 r1]",
      L"A @200: [a- 0:1 t100 d500 r1]", L"B @200: [b+ 0:3 t200 d500 r1]"}},
    {"ClicksPowerPointCountsBeyondTheSteps", L"14.0",
     [](CaseSlide& s) {
         ShapeObject* a = s.Product(L"A");
         ShapeObject* b = s.Product(L"B");
         s.Animate(s.Main(), a, kClick);
         s.Animate(s.Main(), b, kClick);
     },
     {L"ensure 4", L"run", L"click 0", L"tick 100", L"click 2", L"click 3", L"tick 200", L"click 4"},
     // Two empty clicks come first: A takes click 3.
     {L"A @0: [reset 0 0 0 0]", L"B @0: [reset 0 0 0 0]", L"A @100: [a+ 0:1 t100 d500 r1]",
      L"A @200: [a- 0:1 t100 d500 r1]", L"B @200: [b+ 0:2 t200 d500 r1]"}},
};

class SequenceCatalogue : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(SequenceCatalogue, RowsHandedToContentMatchTheGoldenLog)
{
    const SequenceCase& c = GetParam();
    ComScope com;
    standin::PowerPointHost host{c.version};
    standin::PresentationObject* presentation = host.App().AddPresentation(L"Steps.pptx");
    standin::SlideObject* slide = presentation->AddSlide();
    int officeCode = std::stoi(c.version) * 100;
    TestTimelineLayer layer(officeCode);
    CaseSlide caseSlide{slide, &layer};
    c.build(caseSlide);

    SlideTimeline timeline(&layer, TestTicks);
    PptObjectRef timeLine;
    PptObjectRef slideRef;
    timeLine.Assign(static_cast<PowerPoint::TimeLine*>(slide->TimeLine()));
    slideRef.Assign(static_cast<PowerPoint::Slide*>(slide));
    std::wstring before = DumpTimeLine(slide->TimeLine());
    ASSERT_TRUE(timeline.Build(timeLine, slideRef));
    timeline.ApplyStepModes();
    timeline.Reset();
    g_testTicks = kSlideStart;
    RunScript(timeline, c.script);

    EXPECT_EQ(Joined(layer.log), Joined(c.golden));
    // A fired record keeps its place in firing order and the sentinel time.
    const BuildStepTracker& tracker = timeline.GetTracker();
    for (int i = 0; i < tracker.GetCount(); ++i) {
        const FireRecord& record = tracker.GetRecord(i);
        if (!record.hasFired)
            continue;
        EXPECT_EQ(uint32_t(record.time), 0xF8A432EBu) << i;
        EXPECT_EQ(record.order, i);
        EXPECT_LE(i, tracker.GetCursor());
    }
    EXPECT_EQ(layer.updates, 0);
    timeline.Clear();
    EXPECT_EQ(DumpTimeLine(slide->TimeLine()), before);
}

INSTANTIATE_TEST_SUITE_P(Sequences, SequenceCatalogue, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SequenceCase>& info) { return info.param.name; });

}  // namespace
