// A product effect's marker and data in the last two command behaviours of a
// stand-in PowerPoint effect.
#include <gtest/gtest.h>

#include <string>

#include "addin/core/ShapeEffectData.h"
#include "addin/core/ShapeEffectMarker.h"
#include "base/MKCoTaskMemBuffer.h"
#include "base/MKString.h"
#include "fixtures/ComScope.h"
#include "standins/powerpoint/AnimationBehaviorObject.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/CommandEffectObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

using standin::CallLog;
using standin::EffectObject;

namespace {

class ShapeEffectDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::SlideObject* slide = host.App().AddPresentation(L"Effects.pptx")->AddSlide();
        shape = slide->AddShape(PowerPoint::msoAutoShape, L"Box", 0, 0, 100, 100);
        main = slide->TimeLine()->Main();
    }
    void TearDown() override { CallLog::Get().ClearFailures(); }

    EffectObject* NewEffect(int commands, const std::wstring& first = L"other")
    {
        EffectObject* effect = main->AddEffect(shape, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
        for (int i = 0; i < commands; ++i)
            effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, i == 0 ? first : L"text");
        return effect;
    }
    static PowerPoint::Effect* Api(EffectObject* effect) { return effect; }
    static std::wstring Command(EffectObject* effect, int index)
    {
        return effect->Behaviors()->Items()[size_t(index)]->Command()->Command();
    }
    static std::string Data(EffectObject* effect, bool* ok = nullptr)
    {
        MKCoTaskMemBuffer buffer;
        int length = -1;
        const bool read = ReadShapeEffectData(effect, buffer, &length);
        if (ok)
            *ok = read;
        return read && length > 0 ? std::string(static_cast<const char*>(buffer.Data()), size_t(length)) : "";
    }
    static bool Write(EffectObject* effect, const wchar_t* id, const std::string& data)
    {
        return WriteShapeEffect(effect, id, reinterpret_cast<const uint8_t*>(data.data()), int(data.size()));
    }

    ComScope com;
    standin::PowerPointHost host{L"14.0"};
    standin::ShapeObject* shape = nullptr;
    standin::SequenceObject* main = nullptr;
};

TEST_F(ShapeEffectDataTest, AnEffectWithoutBehavioursGainsTwoShortVerbCommands)
{
    EffectObject* effect = NewEffect(0);
    ASSERT_TRUE(Write(effect, L"fx.one", "payload"));
    const auto& items = effect->Behaviors()->Items();
    ASSERT_EQ(items.size(), 2u);
    for (auto* behavior : items) {
        EXPECT_EQ(behavior->Type(), PowerPoint::msoAnimTypeCommand);
        EXPECT_EQ(behavior->Command()->Type(), PowerPoint::msoAnimCommandTypeVerb);
        EXPECT_FLOAT_EQ(behavior->Timing()->Values().duration, 0.001f);
    }
    EXPECT_EQ(Command(effect, 0), L"VistelloEffect:fx.one");
    EXPECT_EQ(Command(effect, 1).substr(0, 21), L"VistelloEffectData:ad");
    MKString id;
    ASSERT_TRUE(ReadShapeEffectId(effect, &id, nullptr));
    EXPECT_STREQ(id.GetText(), L"fx.one");
    EXPECT_EQ(Data(effect), "payload");
}

TEST_F(ShapeEffectDataTest, TwoBehavioursAreRefusedAndOurOwnPairIsRewritten)
{
    EffectObject* two = NewEffect(2);
    EXPECT_FALSE(Write(two, L"x", "data"));
    EXPECT_EQ(two->Behaviors()->Items().size(), 2u);
    EXPECT_EQ(Command(two, 0), L"other");

    EffectObject* ours = NewEffect(1);
    ASSERT_TRUE(Write(ours, L"first", "one"));
    ASSERT_EQ(ours->Behaviors()->Items().size(), 3u);
    // Without an id the marker stays; the data changes.
    ASSERT_TRUE(Write(ours, nullptr, "two"));
    EXPECT_EQ(ours->Behaviors()->Items().size(), 3u);
    EXPECT_EQ(Command(ours, 1), L"VistelloEffect:first");
    EXPECT_EQ(Data(ours), "two");
    ASSERT_TRUE(Write(ours, L"second", ""));
    EXPECT_EQ(Command(ours, 1), L"VistelloEffect:second");
    bool ok = false;
    EXPECT_EQ(Data(ours, &ok), "");
    EXPECT_TRUE(ok);
}

TEST_F(ShapeEffectDataTest, SomeoneElsesLastBehavioursAreNeverOverwritten)
{
    EffectObject* effect = NewEffect(3);
    ASSERT_TRUE(Write(effect, L"mine", "data"));
    ASSERT_EQ(effect->Behaviors()->Items().size(), 5u);
    EXPECT_EQ(Command(effect, 0), L"other");
    EXPECT_EQ(Command(effect, 1), L"text");
    EXPECT_EQ(Command(effect, 2), L"text");
    EXPECT_EQ(Data(effect), "data");
}

TEST_F(ShapeEffectDataTest, AFailedWriteNeverLeavesAMarkerWithoutItsData)
{
    // The data command is set first; its failure takes the new pair out.
    EffectObject* fresh = NewEffect(0);
    CallLog::Get().Fail(L"CommandEffect.put_Command", E_FAIL, 0, 1);
    EXPECT_FALSE(Write(fresh, L"id", "data"));
    EXPECT_TRUE(fresh->Behaviors()->Items().empty());

    CallLog::Get().Fail(L"CommandEffect.put_Command", E_FAIL, 1, 1);
    EffectObject* second = NewEffect(0);
    EXPECT_FALSE(Write(second, L"id", "data"));
    EXPECT_TRUE(second->Behaviors()->Items().empty());
    CallLog::Get().ClearFailures();

    // Rewriting: a failing data write leaves the old marker and data.
    EffectObject* ours = NewEffect(1);
    ASSERT_TRUE(Write(ours, L"kept", "old"));
    CallLog::Get().Fail(L"CommandEffect.put_Command", E_FAIL, 0, 1);
    EXPECT_FALSE(Write(ours, L"new", "new"));
    EXPECT_EQ(Command(ours, 1), L"VistelloEffect:kept");
    EXPECT_EQ(Data(ours), "old");
}

TEST_F(ShapeEffectDataTest, ReadingNeedsTheMarkerAndDecodableData)
{
    bool ok = true;
    EXPECT_EQ(Data(NewEffect(2), &ok), "");
    EXPECT_FALSE(ok);
    EffectObject* empty = NewEffect(1, L"VistelloEffect:id");
    empty->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"");
    Data(empty, &ok);
    EXPECT_TRUE(ok);
    EffectObject* broken = NewEffect(1, L"VistelloEffect:id");
    broken->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffectData:ad0");
    Data(broken, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(WriteShapeEffect(nullptr, L"id", nullptr, 0));
}

}  // namespace
