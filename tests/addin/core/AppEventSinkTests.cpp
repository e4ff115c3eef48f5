// The application event sink advised on the stand-in PowerPoint: every
// event with right and wrong arguments, which handler runs with what, the
// event depth, and advising.
#include "AddInTestSupport.h"
#include "../effects/ShowTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/CountedDispatch.h"
#include "fixtures/VariantArgs.h"

#include "addin/core/AddInModule.h"
#include "addin/core/AppEventSink.h"
#include "addin/core/EventDepth.h"
#include "addin/core/PluginEventTarget.h"
#include "addin/core/ShowEventTarget.h"
#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/SlideShowController.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/EventArgumentObjects.h"
#include "standins/powerpoint/EventConnectionPoint.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "standins/powerpoint/TimeLineObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using standin::CallLog;

namespace {

using Lines = std::vector<std::wstring>;

// Both targets: writes one line per call with the arguments' names, the
// flag's value and the event depth at the time of the call.
class Recorder final : public PluginEventTarget, public ShowEventTarget {
public:
    Recorder(const std::map<const void*, std::wstring>& names, const EventDepth& depth) : m_names(names), m_depth(depth) {}

    Lines lines;
    std::function<void(const std::wstring&)> during;

    void ForwardWindowSelectionChange(PowerPoint::Selection* s) override { Note(L"ForwardWindowSelectionChange", {s}); }
    void ForwardWindowBeforeRightClick(PowerPoint::Selection* s, VARIANT_BOOL* cancel) override
    {
        Note(L"ForwardWindowBeforeRightClick", {s}, cancel);
        *cancel = VARIANT_TRUE;  // the kernel's answer
    }
    void ForwardWindowBeforeDoubleClick(VARIANT_BOOL* cancel) override
    {
        Note(L"ForwardWindowBeforeDoubleClick", {}, cancel);
    }
    void ForwardPresentationClose(PowerPoint::Presentation* p) override { Note(L"ForwardPresentationClose", {p}); }
    void ForwardPresentationSave(PowerPoint::Presentation* p) override { Note(L"ForwardPresentationSave", {p}); }
    void ForwardPresentationOpen(PowerPoint::Presentation* p) override { Note(L"ForwardPresentationOpen", {p}); }
    void ForwardNewPresentation(PowerPoint::Presentation* p) override { Note(L"ForwardNewPresentation", {p}); }
    void ForwardPresentationNewSlide(PowerPoint::Slide* s) override { Note(L"ForwardPresentationNewSlide", {s}); }
    void ForwardWindowActivate(PowerPoint::Presentation* p, PowerPoint::DocumentWindow* w) override
    {
        Note(L"ForwardWindowActivate", {p, w});
    }
    void ForwardWindowDeactivate(PowerPoint::Presentation* p, PowerPoint::DocumentWindow* w) override
    {
        Note(L"ForwardWindowDeactivate", {p, w});
    }
    void ForwardSlideShowBegin(PowerPoint::SlideShowWindow* w) override { Note(L"ForwardSlideShowBegin", {w}); }
    void ForwardSlideShowEnd(PowerPoint::Presentation* p) override { Note(L"ForwardSlideShowEnd", {p}); }
    void ForwardPresentationPrint(PowerPoint::Presentation* p) override { Note(L"ForwardPresentationPrint", {p}); }
    void ForwardSlideSelectionChanged(PowerPoint::SlideRange* r) override
    {
        Note(L"ForwardSlideSelectionChanged", {r});
    }
    void ForwardColorSchemeChanged(PowerPoint::SlideRange* r) override { Note(L"ForwardColorSchemeChanged", {r}); }

    void OnSlideShowBegin(PowerPoint::SlideShowWindow* w) override { Note(L"OnSlideShowBegin", {w}); }
    void OnNextBuild(PowerPoint::SlideShowWindow* w) override { Note(L"OnNextBuild", {w}); }
    void OnNextSlide(PowerPoint::SlideShowWindow* w) override { Note(L"OnNextSlide", {w}); }
    void OnSlideShowEnd(PowerPoint::Presentation* p) override { Note(L"OnSlideShowEnd", {p}); }
    void OnNextClick(PowerPoint::SlideShowWindow* w, PowerPoint::Effect* e) override { Note(L"OnNextClick", {w, e}); }
    void OnNext(PowerPoint::SlideShowWindow* w) override { Note(L"OnNext", {w}); }
    void OnPrevious(PowerPoint::SlideShowWindow* w) override { Note(L"OnPrevious", {w}); }

private:
    void Note(const std::wstring& handler, std::initializer_list<const void*> arguments, VARIANT_BOOL* flag = nullptr)
    {
        std::wstring line = handler + L"(";
        for (const void* argument : arguments) {
            auto found = m_names.find(argument);
            line += (line.back() == L'(' ? L"" : L", ") +
                    (argument ? (found != m_names.end() ? found->second : std::wstring(L"?")) : L"null");
        }
        if (flag)
            line += (line.back() == L'(' ? L"flag " : L", flag ") + std::to_wstring(*flag);
        line += L") depth " + std::to_wstring(m_depth.Get());
        lines.push_back(line);
        if (during)
            during(handler);
    }

    const std::map<const void*, std::wstring>& m_names;
    const EventDepth& m_depth;
};

// One stand-in PowerPoint with a presentation and a running show for the
// whole suite: starting and ending a show window takes Wine seconds.
struct EventWorld {
    EventWorld()
    {
        presentation = host.App().AddPresentation(L"Events.pptx");
        slide = presentation->AddSlide();
        standin::ShapeObject* shape = slide->AddShape(PowerPoint::msoAutoShape, L"Box", 0, 0, 10, 10);
        effect = slide->TimeLine()->Main()->AddEffect(shape, PowerPoint::msoAnimEffectAppear,
                                                      PowerPoint::msoAnimTriggerOnPageClick);
        show = standin::SlideShowWindowObject::Start(presentation, *presentation->Settings());
        selection = standin::NewSelection();
        window = standin::NewDocumentWindow();
        range = standin::NewSlideRange();
    }
    ~EventWorld()
    {
        if (show && show->IsRunning())
            show->End();
        selection->Release();
        window->Release();
        range->Release();
    }

    ComScope com;
    standin::PowerPointHost host{L"14.0"};
    standin::PresentationObject* presentation = nullptr;
    standin::SlideObject* slide = nullptr;
    standin::EffectObject* effect = nullptr;
    standin::SlideShowWindowObject* show = nullptr;
    PowerPoint::Selection* selection = nullptr;
    PowerPoint::DocumentWindow* window = nullptr;
    PowerPoint::SlideRange* range = nullptr;
};

class AppEventSinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_world = new EventWorld; }
    static void TearDownTestSuite()
    {
        delete s_world;
        s_world = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(show, nullptr);
        names = {{static_cast<PowerPoint::Presentation*>(presentation), L"presentation"},
                 {static_cast<PowerPoint::Slide*>(slide), L"slide"},
                 {static_cast<PowerPoint::Effect*>(effect), L"effect"},
                 {static_cast<PowerPoint::SlideShowWindow*>(show), L"show"},
                 {selection, L"selection"},
                 {window, L"window"},
                 {range, L"range"}};
        sink.SetTargets(&recorder, &recorder);
        ASSERT_EQ(sink.Advise(&host.App()), S_OK);
    }
    void TearDown() override
    {
        CallLog::Get().ClearFailures();
        sink.Unadvise();
    }

    HRESULT Raise(DISPID id, const std::vector<VARIANT>& args)
    {
        std::vector<HRESULT> results = host.App().Raise(id, args);
        EXPECT_EQ(results.size(), 1u);
        return results.empty() ? E_FAIL : results[0];
    }

    static EventWorld* s_world;
    standin::PowerPointHost& host = s_world->host;
    standin::PresentationObject* presentation = s_world->presentation;
    standin::SlideObject* slide = s_world->slide;
    standin::EffectObject* effect = s_world->effect;
    standin::SlideShowWindowObject* show = s_world->show;
    PowerPoint::Selection* selection = s_world->selection;
    PowerPoint::DocumentWindow* window = s_world->window;
    PowerPoint::SlideRange* range = s_world->range;
    std::map<const void*, std::wstring> names;
    EventDepth depth;
    Recorder recorder{names, depth};
    CountedDispatch owner;  // the add-in's counts as far as the sink needs them
    AppEventSink sink{&owner, nullptr, &depth};
    VARIANT_BOOL cancel = VARIANT_TRUE;
};

EventWorld* AppEventSinkTest::s_world = nullptr;

TEST_F(AppEventSinkTest, EveryEventWithRightAndWrongArgumentsReachesItsHandlersOrNone)
{
    VARIANT_BOOL* flag = &cancel;
    VARIANT flagArg = TypedArg(VT_BYREF | VT_BOOL);
    flagArg.pboolVal = flag;
    VARIANT number = IntArg(1);
    const VARIANT pres = DispatchArg(presentation);
    const VARIANT showArg = DispatchArg(show);

    const struct {
        DISPID id;
        std::vector<VARIANT> args;
        Lines expected;
        VARIANT_BOOL flagAfter;  // the cancel flag after the event, for events that have one
    } events[] = {
        {2001, {DispatchArg(selection)}, {L"ForwardWindowSelectionChange(selection) depth 1"}},
        {2002, {DispatchArg(selection), flagArg}, {L"ForwardWindowBeforeRightClick(selection, flag 0) depth 0"},
         VARIANT_TRUE},
        {2003, {DispatchArg(selection), flagArg}, {L"ForwardWindowBeforeDoubleClick(flag -1) depth 0"}, VARIANT_TRUE},
        {2004, {pres}, {L"ForwardPresentationClose(presentation) depth 1"}},
        {2005, {pres}, {L"ForwardPresentationSave(presentation) depth 1"}},
        {2006, {pres}, {L"ForwardPresentationOpen(presentation) depth 1"}},
        {2007, {pres}, {L"ForwardNewPresentation(presentation) depth 1"}},
        {2008, {DispatchArg(slide)}, {L"ForwardPresentationNewSlide(slide) depth 1"}},
        {2009, {pres, DispatchArg(window)}, {L"ForwardWindowActivate(presentation, window) depth 0"}},
        {2010, {pres, DispatchArg(window)}, {L"ForwardWindowDeactivate(presentation, window) depth 0"}},
        {2011, {showArg}, {L"ForwardSlideShowBegin(show) depth 0", L"OnSlideShowBegin(show) depth 0"}},
        {2012, {showArg}, {L"OnNextBuild(show) depth 0"}},
        {2013, {showArg}, {L"OnNextSlide(show) depth 0"}},
        {2014, {pres}, {L"ForwardSlideShowEnd(presentation) depth 0", L"OnSlideShowEnd(presentation) depth 0"}},
        {2015, {pres}, {L"ForwardPresentationPrint(presentation) depth 1"}},
        {2016, {DispatchArg(range)}, {L"ForwardSlideSelectionChanged(range) depth 1"}},
        {2017, {DispatchArg(range)}, {L"ForwardColorSchemeChanged(range) depth 0"}},
        {2018, {pres, flagArg}, {}, VARIANT_TRUE},
        {2019, {showArg, DispatchArg(effect)}, {L"OnNextClick(show, effect) depth 0"}},
        {2020, {pres}, {}},
        {2021, {pres}, {}},
        {2022, {pres, number}, {}},
        {2023, {showArg}, {L"OnNext(show) depth 0"}},
        {2024, {showArg}, {L"OnPrevious(show) depth 0"}},
        {2025, {pres, flagArg}, {}, VARIANT_TRUE},
    };
    ASSERT_EQ(std::size(events), 25u);
    for (const auto& event : events) {
        SCOPED_TRACE(event.id);
        auto expectNothing = [&](const std::vector<VARIANT>& args, HRESULT expected, const char* what) {
            SCOPED_TRACE(what);
            recorder.lines.clear();
            cancel = VARIANT_TRUE;
            EXPECT_EQ(Raise(event.id, args), expected);
            EXPECT_TRUE(recorder.lines.empty());
            EXPECT_EQ(cancel, VARIANT_TRUE);
        };

        recorder.lines.clear();
        cancel = VARIANT_TRUE;
        EXPECT_EQ(Raise(event.id, event.args), S_OK);
        EXPECT_EQ(recorder.lines, event.expected);
        EXPECT_EQ(depth.Get(), 0);
        if (event.flagAfter) {
            EXPECT_EQ(cancel, event.flagAfter);
        }

        std::vector<VARIANT> fewer(event.args.begin(), event.args.end() - 1);
        expectNothing(fewer, DISP_E_BADPARAMCOUNT, "one argument too few");
        std::vector<VARIANT> more = event.args;
        more.push_back(number);
        expectNothing(more, DISP_E_BADPARAMCOUNT, "one argument too many");

        for (size_t i = 0; i < event.args.size(); ++i) {
            SCOPED_TRACE(i);
            const VARIANT& right = event.args[i];
            std::vector<VARIANT> wrong = event.args;
            if (right.vt == VT_DISPATCH) {
                wrong[i].vt = VT_UNKNOWN;  // the same object, as IUnknown
                expectNothing(wrong, DISP_E_BADVARTYPE, "object as VT_UNKNOWN");
                // An object of another kind: the selection, or the window
                // where a selection is due.
                wrong[i] = DispatchArg(right.pdispVal == selection ? static_cast<IDispatch*>(window) : selection);
                expectNothing(wrong, E_INVALIDARG, "object of another kind");
                if (event.id != PowerPoint::DISPID_SlideShowNextClick || i == 0) {
                    wrong[i] = DispatchArg(nullptr);
                    expectNothing(wrong, E_INVALIDARG, "null object");
                }
            } else if (right.vt == (VT_BYREF | VT_BOOL)) {
                wrong[i] = TypedArg(VT_BOOL);
                expectNothing(wrong, DISP_E_BADVARTYPE, "flag by value");
                wrong[i] = TypedArg(VT_BYREF | VT_BOOL);
                expectNothing(wrong, E_INVALIDARG, "null flag");
            } else {
                wrong[i] = TypedArg(VT_I2);
                expectNothing(wrong, DISP_E_BADVARTYPE, "number of another type");
            }
        }
    }
}

TEST_F(AppEventSinkTest, UnknownEventsAndClicksWithoutEffect)
{
    EXPECT_EQ(Raise(2000, {DispatchArg(presentation)}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Raise(2026, {DispatchArg(presentation)}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Raise(PowerPoint::DISPID_SlideShowBegin, {DispatchArg(show), DispatchArg(show)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Raise(PowerPoint::DISPID_SlideShowNextClick, {DispatchArg(show), TypedArg(VT_EMPTY)}), S_OK);
    EXPECT_EQ(Raise(PowerPoint::DISPID_SlideShowNextClick, {DispatchArg(show), DispatchArg(nullptr)}), S_OK);
    EXPECT_EQ(Raise(PowerPoint::DISPID_SlideShowNextClick, {DispatchArg(show), TypedArg(VT_I4)}), DISP_E_BADVARTYPE);
    EXPECT_EQ(recorder.lines, (Lines{L"OnNextClick(show, null) depth 0", L"OnNextClick(show, null) depth 0"}));

    // Without targets the events are still checked, and nothing is forwarded.
    sink.SetTargets(nullptr, nullptr);
    recorder.lines.clear();
    EXPECT_EQ(Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(presentation)}), S_OK);
    EXPECT_EQ(Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(nullptr)}), E_INVALIDARG);
    EXPECT_TRUE(recorder.lines.empty());
}

TEST_F(AppEventSinkTest, NestedCountedEventsRaiseTheDepthAndFailuresLeaveItAsItWas)
{
    recorder.during = [&](const std::wstring& handler) {
        if (handler == L"ForwardPresentationSave")
            host.App().Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(presentation)});
        if (handler == L"ForwardPresentationPrint" || handler == L"OnNextSlide")
            throw std::runtime_error("plug-in failed");
    };
    EXPECT_EQ(Raise(PowerPoint::DISPID_PresentationSave, {DispatchArg(presentation)}), S_OK);
    EXPECT_EQ(recorder.lines,
              (Lines{L"ForwardPresentationSave(presentation) depth 1", L"ForwardPresentationOpen(presentation) depth 2"}));
    EXPECT_EQ(depth.Get(), 0);

    EXPECT_EQ(Raise(PowerPoint::DISPID_PresentationPrint, {DispatchArg(presentation)}), E_UNEXPECTED);
    EXPECT_EQ(depth.Get(), 0);
    EXPECT_EQ(Raise(PowerPoint::DISPID_SlideShowNextSlide, {DispatchArg(show)}), E_UNEXPECTED);
    // PowerPoint goes on: the next event is handled.
    recorder.during = nullptr;
    recorder.lines.clear();
    EXPECT_EQ(Raise(PowerPoint::DISPID_SlideShowNextSlide, {DispatchArg(show)}), S_OK);
    EXPECT_EQ(recorder.lines.size(), 1u);
}

TEST_F(AppEventSinkTest, AdvisingFindsTheApplicationEventsPointAndUnadvisingLetsGo)
{
    standin::EventConnectionPoint* point = host.App().Events();
    EXPECT_TRUE(sink.IsAdvised());
    EXPECT_EQ(sink.ConnectionInterface(), PowerPoint::IID_EApplication);
    EXPECT_EQ(point->SinkCount(), 1u);
    const ULONG advisedRefs = owner.refs;
    EXPECT_GT(advisedRefs, 1u);  // the point holds the sink, so the add-in

    // Advising again replaces the earlier advise.
    CallLog::Get().SetRecording(true);
    CallLog::Get().Clear();
    EXPECT_EQ(sink.Advise(&host.App()), S_OK);
    EXPECT_EQ(point->SinkCount(), 1u);
    EXPECT_EQ(owner.refs, advisedRefs);
    EXPECT_TRUE(CallLog::Get().EntriesStartingWith(L"Application.EnumConnectionPoints").empty());
    EXPECT_EQ(CallLog::Get().EntriesStartingWith(L"Application.FindConnectionPoint").size(), 1u);
    CallLog::Get().SetRecording(false);

    sink.Unadvise();
    EXPECT_FALSE(sink.IsAdvised());
    EXPECT_EQ(point->SinkCount(), 0u);
    EXPECT_EQ(owner.refs, 1u);
    sink.Unadvise();  // harmless
    EXPECT_TRUE(host.App().Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(presentation)}).empty());

    EXPECT_EQ(sink.Advise(nullptr), E_POINTER);
    CallLog::Get().Fail(L"Application.FindConnectionPoint", E_FAIL);
    EXPECT_EQ(sink.Advise(&host.App()), E_FAIL);
    EXPECT_FALSE(sink.IsAdvised());
    EXPECT_EQ(owner.refs, 1u);

    IUnknown* unknown = nullptr;
    ASSERT_EQ(sink.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(static_cast<IDispatch*>(&sink)));
    unknown->Release();
    EXPECT_EQ(sink.QueryInterface(PowerPoint::IID_EApplication, reinterpret_cast<void**>(&unknown)), E_NOINTERFACE);
    EXPECT_EQ(owner.refs, 1u);
}

// A plug-in that starts a show while it handles a forwarded event gets no
// session for it; the show's begin outside any forward makes one.
TEST_F(AppEventSinkTest, AShowStartedByAPluginDuringAForwardedEventGetsNoSession)
{
    if (!ModuleInstance())
        SetModuleInstance(GetModuleHandleW(nullptr));
    PaneSubclassRegistry::CreateInstance();
    TestShowHost showHost(host, 1400);
    showHost.depthSource = &depth;
    SlideShowController shows(&showHost);
    sink.SetTargets(&recorder, &shows);
    standin::PresentationObject* other = host.App().AddPresentation(L"Started.pptx");
    other->AddSlide();
    PowerPoint::SlideShowWindow* started = nullptr;
    recorder.during = [&](const std::wstring& handler) {
        if (handler == L"ForwardPresentationOpen" && !started) {
            EXPECT_EQ(other->Settings()->Run(&started), S_OK);
        }
    };
    EXPECT_EQ(Raise(2006, {DispatchArg(presentation)}), S_OK);
    recorder.during = nullptr;
    ASSERT_NE(started, nullptr);
    // The show's begin came to the controller inside the forward.
    EXPECT_NE(std::find(recorder.lines.begin(), recorder.lines.end(), L"ForwardSlideShowBegin(?) depth 1"),
              recorder.lines.end());
    EXPECT_EQ(shows.GetSessionCount(), 0);
    EXPECT_EQ(depth.Get(), 0);
    EXPECT_EQ(Raise(2011, {DispatchArg(started)}), S_OK);
    EXPECT_EQ(shows.GetSessionCount(), 1);
    static_cast<standin::SlideShowWindowObject*>(started)->End();
    started->Release();
    sink.SetTargets(&recorder, &recorder);
}

}  // namespace
