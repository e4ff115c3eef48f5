// What the plug-in API tells about a running slide show: its start time and
// its event log as one block, for a stand-in show window, and the answers for
// objects that are no show window or have no show.
#include "CoreTestSupport.h"

#include "base/MKClock.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

class PluginApiShowTest : public AddInCoreTest {
protected:
    void SetUp() override
    {
        presentation = office.App().AddPresentation(L"Show.pptx");
        presentation->AddSlide();
        ASSERT_EQ(presentation->Settings()->Run(&window), S_OK);
        core = std::make_unique<AddInCore>(&host);
        host.core = core.get();
        ASSERT_TRUE(core->Start());
        IUnknown* made = host.MakeApiObject(core->GetPluginAt(1));
        ASSERT_EQ(made->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&api)), S_OK);
        made->Release();
        host.showWindow = window;
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
    }

    standin::PowerPointHost office{L"14.0"};
    standin::PresentationObject* presentation = nullptr;
    PowerPoint::SlideShowWindow* window = nullptr;
    std::unique_ptr<AddInCore> core;
    IPluginApi* api = nullptr;
};

MKDateTime Utc(int day, int second, int ms)
{
    return MKDateTime::FromPartsMs(1970, 1, day, 0, 0, second, ms, MKDateTimeUtc);
}

TEST_F(PluginApiShowTest, TimeAndLogAnswerOnlyForAShowWindowWithAShow)
{
    host.showLog.SetStart(Utc(1, 1, 500));
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
        LONGLONG time = -1;
        long count = -1;
        long address = -1;
        long size = -1;
        EXPECT_EQ(api->GetSlideShowTime(c.object, &time), c.expected);
        EXPECT_EQ(time, c.expected == S_OK ? 1500 : 0);
        // The log is empty: a count of 0 and no block.
        EXPECT_EQ(api->GetSlideShowLog(c.object, &count, &address, &size), c.expected);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(address, 0);
        EXPECT_EQ(size, 0);
    }
    LONGLONG time = 0;
    long count = 0;
    EXPECT_EQ(api->GetSlideShowTime(window, nullptr), E_POINTER);
    EXPECT_EQ(api->GetSlideShowLog(window, &count, nullptr, &count), E_POINTER);
    // A show window whose show the add-in does not follow.
    host.showWindow = nullptr;
    EXPECT_EQ(api->GetSlideShowTime(window, &time), E_FAIL);
    host.showWindow = window;
    static_cast<PluginApiObject*>(api)->Detach();
    EXPECT_EQ(api->GetSlideShowTime(window, &time), E_FAIL);
}

TEST_F(PluginApiShowTest, TheLogBlockHoldsIdsTimesAndDurationsLastEventFirst)
{
    ShowEventRecord ended;
    ended.id = 7;
    ended.time = Utc(1, 2, 0);
    ended.start = 100;
    ended.duration = 250;
    ShowEventRecord running;
    running.id = -3;
    running.time = Utc(2, 0, 0);
    running.start = static_cast<int32_t>(MKClock::ElapsedMs()) - 40;
    ASSERT_TRUE(host.showLog.Add(ended));
    ASSERT_TRUE(host.showLog.Add(running));

    long count = 0;
    long address = 0;
    long size = 0;
    ASSERT_EQ(api->GetSlideShowLog(window, &count, &address, &size), S_OK);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(size, 40);
    auto* block = reinterpret_cast<const uint8_t*>(static_cast<UINT_PTR>(static_cast<ULONG>(address)));
    ASSERT_NE(block, nullptr);
    int32_t ids[2];
    int64_t times[2];
    int64_t durations[2];
    memcpy(ids, block, 8);
    memcpy(times, block + 8, 16);
    memcpy(durations, block + 24, 16);
    EXPECT_EQ(ids[0], -3);
    EXPECT_EQ(ids[1], 7);
    EXPECT_EQ(times[0], 86400000);
    EXPECT_EQ(times[1], 2000);
    // A running event has lasted at least as long as it ran before the call.
    EXPECT_GE(durations[0], 40);
    EXPECT_EQ(durations[1], 250);
    CoTaskMemFree(const_cast<uint8_t*>(block));
}

}  // namespace
