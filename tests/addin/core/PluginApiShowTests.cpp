// What the plug-in API tells about a running slide show, read from a real
// session of the slide-show controller over the stand-in PowerPoint: when the
// show began and the slides it visited, as one block; and the answers for
// objects that are no show window or have no show.
#include "CoreTestSupport.h"
#include "../effects/ShowTestSupport.h"

#include "addin/core/AddInModule.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/Plugin.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/SlideShowSession.h"
#include "base/MKClock.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

const GUID kExitingType = MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5C");

class PluginApiShowTest : public AddInCoreTest {
protected:
    void SetUp() override
    {
        if (!ModuleInstance())
            SetModuleInstance(GetModuleHandleW(nullptr));
        PaneSubclassRegistry::CreateInstance();
        first.AddType(kExitingType, L"Exiting Type");
        presentation = office.App().AddPresentation(L"Show.pptx");
        for (int i = 0; i < 3; ++i)
            slideIds.push_back(presentation->AddSlide()->SlideId());
        core = std::make_unique<AddInCore>(&host);
        host.core = core.get();
        ASSERT_TRUE(core->Start());
        IUnknown* made = host.MakeApiObject(core->GetPluginAt(1));
        ASSERT_EQ(made->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&api)), S_OK);
        made->Release();
        host.shows = &shows;
        ASSERT_EQ(presentation->Settings()->Run(&window), S_OK);
    }
    void TearDown() override
    {
        if (api)
            api->Release();
        if (core)
            core->Stop();
        if (window) {
            auto* show = static_cast<standin::SlideShowWindowObject*>(window);
            if (show->IsRunning())
                show->End();
            window->Release();
        }
        shows.Shutdown();
    }
    // The session follows the show from its begin, as the add-in's event
    // sink makes it.
    SlideShowSession* Follow()
    {
        shows.OnSlideShowBegin(window);
        return shows.GetSession(0);
    }
    standin::SlideShowViewObject* View() const { return static_cast<standin::SlideShowWindowObject*>(window)->View(); }

    standin::PowerPointHost office{L"14.0"};
    TestShowHost showHost{office, 1400};
    SlideShowController shows{&showHost};
    standin::PresentationObject* presentation = nullptr;
    std::vector<long> slideIds;
    PowerPoint::SlideShowWindow* window = nullptr;
    std::unique_ptr<AddInCore> core;
    IPluginApi* api = nullptr;
};

struct LogBlock {
    long count = -1;
    std::vector<int32_t> numbers;
    std::vector<int64_t> times;
    std::vector<int64_t> durations;
};

HRESULT ReadLog(IPluginApi* api, IUnknown* window, LogBlock& out)
{
    long address = -1;
    long size = -1;
    HRESULT hr = api->GetSlideShowLog(window, &out.count, &address, &size);
    if (FAILED(hr) || out.count <= 0) {
        EXPECT_EQ(address, 0);
        EXPECT_EQ(size, 0);
        return hr;
    }
    EXPECT_EQ(size, 20 * out.count);
    auto* block = reinterpret_cast<const uint8_t*>(static_cast<UINT_PTR>(static_cast<ULONG>(address)));
    const size_t n = static_cast<size_t>(out.count);
    out.numbers.resize(n);
    out.times.resize(n);
    out.durations.resize(n);
    memcpy(out.numbers.data(), block, 4 * n);
    memcpy(out.times.data(), block + 4 * n, 8 * n);
    memcpy(out.durations.data(), block + 12 * n, 8 * n);
    CoTaskMemFree(const_cast<uint8_t*>(block));
    return hr;
}

TEST_F(PluginApiShowTest, TimeAndLogAnswerOnlyForAShowWindowThatTheAddInFollows)
{
    LONGLONG time = -1;
    LogBlock log;
    // The show runs, but no session follows it yet.
    EXPECT_EQ(api->GetSlideShowTime(window, &time), E_FAIL);
    EXPECT_EQ(time, 0);
    EXPECT_EQ(ReadLog(api, window, log), E_FAIL);

    const int64_t before = MKDateTime::UtcNow().ToUnixMs();
    ASSERT_NE(Follow(), nullptr);
    const int64_t after = MKDateTime::UtcNow().ToUnixMs();
    struct Case {
        const char* what;
        IUnknown* object;
        HRESULT expected;
    };
    const Case cases[] = {
        {"no object", nullptr, E_FAIL},
        {"no show window", static_cast<PowerPoint::Presentation*>(presentation), E_FAIL},
        {"the show window", window, S_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        time = -1;
        EXPECT_EQ(api->GetSlideShowTime(c.object, &time), c.expected);
        if (c.expected == S_OK) {
            EXPECT_GE(time, before);
            EXPECT_LE(time, after);
        } else {
            EXPECT_EQ(time, 0);
        }
        // No slide was announced to the session yet: nothing visited.
        LogBlock empty;
        EXPECT_EQ(ReadLog(api, c.object, empty), c.expected);
        EXPECT_EQ(empty.count, 0);
    }
    long count = 0;
    EXPECT_EQ(api->GetSlideShowTime(window, nullptr), E_POINTER);
    EXPECT_EQ(api->GetSlideShowLog(window, &count, nullptr, &count), E_POINTER);
    static_cast<PluginApiObject*>(api)->Detach();
    EXPECT_EQ(api->GetSlideShowTime(window, &time), E_FAIL);
}

TEST_F(PluginApiShowTest, TheLogHoldsTheShowsVisitsNewestFirstAndASlideShownAgainContinuesItsVisit)
{
    ASSERT_NE(Follow(), nullptr);
    const int64_t start = MKClock::ElapsedMs();
    const int64_t firstBefore = MKDateTime::UtcNow().ToUnixMs();
    View()->GoTo(1);
    const int64_t firstAfter = MKDateTime::UtcNow().ToUnixMs();
    Sleep(120);
    View()->GoTo(2);
    const int64_t secondShown = MKClock::ElapsedMs();
    Sleep(80);
    // Slide 2 is left and shown again: its visit goes on.
    View()->GoTo(2);
    Sleep(80);
    View()->GoTo(3);
    const int64_t thirdShown = MKClock::ElapsedMs();
    Sleep(40);

    LogBlock log;
    const int64_t beforeRead = MKClock::ElapsedMs();
    ASSERT_EQ(ReadLog(api, window, log), S_OK);
    const int64_t afterRead = MKClock::ElapsedMs();
    ASSERT_EQ(log.count, 3);
    EXPECT_EQ(log.numbers, (std::vector<int32_t>{3, 2, 1}));
    // Slide 1 was first shown inside its GoTo.
    EXPECT_GE(log.times[2], firstBefore);
    EXPECT_LE(log.times[2], firstAfter);
    EXPECT_LE(log.times[2], log.times[1]);
    EXPECT_LE(log.times[1], log.times[0]);
    // Slide 1 for at least the 120 ms slept, at most until slide 2 came.
    EXPECT_GE(log.durations[2], 120);
    EXPECT_LE(log.durations[2], secondShown - start);
    // Slide 2 over both showings: at least 160 ms, at most until slide 3
    // came.
    EXPECT_GE(log.durations[1], 160);
    EXPECT_LE(log.durations[1], thirdShown - start);
    // Slide 3 is still shown: its time runs up to the read.
    EXPECT_GE(log.durations[0], beforeRead - thirdShown);
    EXPECT_LE(log.durations[0], afterRead - start);
}

TEST_F(PluginApiShowTest, TheThousandAndFirstVisitDropsTheOldest)
{
    SlideShowSession* session = Follow();
    ASSERT_NE(session, nullptr);
    // Slides 1 and 2 announced in turn on the pane, as PowerPoint announces
    // a slide about to be shown: each announcement is a new visit.
    HWND pane = static_cast<standin::SlideShowWindowObject*>(window)->Pane();
    for (int i = 0; i < 1001; ++i)
        SendMessageW(pane, 1046, 0, slideIds[static_cast<size_t>(i % 2)]);
    EXPECT_EQ(session->GetVisitLog().GetCount(), 1000);
    LogBlock log;
    ASSERT_EQ(ReadLog(api, window, log), S_OK);
    ASSERT_EQ(log.count, 1000);
    // The 1001st visit (slide 1) is newest; the first (slide 1) is gone, so
    // the oldest left is the second (slide 2).
    EXPECT_EQ(log.numbers.front(), 1);
    EXPECT_EQ(log.numbers.back(), 2);
    for (size_t i = 1; i < log.numbers.size(); ++i)
        ASSERT_NE(log.numbers[i], log.numbers[i - 1]) << i;
}

// Content that asked to end the show leaves a report with its effect type
// alone: no box when the show ends, but the type's plug-in hears of it, at
// once under /S and otherwise when the deferred report comes due.
TEST_F(PluginApiShowTest, AnExitRequestAloneShowsNoBoxAndTellsTheTypesPlugin)
{
    EffectDataRecord* record = nullptr;
    ASSERT_EQ(core->GetPluginAt(1)->RegisterEffectType(kExitingType, &record), 1);
    for (bool startedToShow : {true, false}) {
        SCOPED_TRACE(startedToShow);
        showHost.startedToShow = startedToShow;
        if (!static_cast<standin::SlideShowWindowObject*>(window)->IsRunning()) {
            window->Release();
            window = nullptr;
            ASSERT_EQ(presentation->Settings()->Run(&window), S_OK);
        }
        SlideShowSession* session = Follow();
        ASSERT_NE(session, nullptr);
        ASSERT_NE(session->GetReport(), nullptr);
        session->GetReport()->SetExitRequester(record);
        clr.ClearLog();
        shows.OnSlideShowEnd(presentation);
        static_cast<standin::SlideShowWindowObject*>(window)->End();
        if (!startedToShow) {
            EXPECT_TRUE(clr.LogOf({L"TestA.ReportTypeFailure"}).empty()) << "before the box is due";
        }
        PumpCountingTimer(300, nullptr, 0);
        EXPECT_EQ(clr.LogOf({L"TestA.ReportTypeFailure"}), std::vector<std::wstring>{L"TestA.ReportTypeFailure 1"});
        EXPECT_TRUE(showHost.shown.empty());
        EXPECT_TRUE(host.errors.empty());
    }
}

}  // namespace
