// Slide layers and the effects of product shapes in shows of the stand-in
// PowerPoint: the kernel and a test plug-in run in the stand-in .NET runtime,
// the plug-in's content fills its node over the show's pane with its colour.
#include "ContentShowRig.h"

#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/ShapeEffect.h"
#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideShowSession.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/UrlParts.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;
using Rig = ContentShowRig;

const float kCentreX = Rig::kShapeLeft + Rig::kShapeWidth / 2;
const float kCentreY = Rig::kShapeTop + Rig::kShapeHeight / 2;

class SlideLayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.Start()); }

    // Moves one slide on and lets the show run for a while.
    void Next(standin::SlideShowWindowObject* show)
    {
        rig.Next(show);
        PumpCountingTimer(400, nullptr, 0);
    }

    // Ends the show as PowerPoint does.
    void End(standin::SlideShowWindowObject* show)
    {
        PowerPoint::Presentation* presentation = show->Presentation();
        show->View()->End();
        rig.controller->OnSlideShowEnd(presentation);
    }

    Rig rig;
};

TEST_F(SlideLayerTest, AProductShapeShowsItsContentOverThePaneWhileItsSlideIsShown)
{
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2});
    ASSERT_NE(show, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    standin::ShapeObject* shape = rig.productShapes[0];
    HWND pane = show->Pane();
    EXPECT_NE(Rig::ColourAt(pane, kCentreX, kCentreY, L"layer-before"), Rig::kContentColour);

    Next(show);
    SlideLayer* layer = session->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->GetEffectCount(), 1);
    Effect* effect = layer->GetEffect(0);
    EXPECT_EQ(effect->GetShapeId(), shape->Id());
    EXPECT_EQ(effect->GetType(), rig.record);
    EXPECT_TRUE(layer->IsActive());
    EXPECT_TRUE(layer->IsRunning());
    EXPECT_EQ(layer->GetShown(), 1);
    // The content stands in for the shape, which PowerPoint no longer shows.
    EXPECT_FALSE(shape->Visible());
    EXPECT_EQ(Rig::ColourAt(pane, kCentreX, kCentreY, L"layer-shown"), Rig::kContentColour);
    EXPECT_EQ(Rig::ColourAt(pane, Rig::kShapeLeft + 2, Rig::kShapeTop + 2, L"layer-corner"), Rig::kContentColour);
    EXPECT_NE(Rig::ColourAt(pane, Rig::kShapeLeft - 10, kCentreY, L"layer-outside"), Rig::kContentColour);
    EXPECT_EQ(rig.standIn.LogOf({L"TestA.Create"}).size(), 2u);
    EXPECT_EQ(rig.standIn.LogOf({L"TestAContent.", L"Kernel.Slide.", L"Kernel.CreateObject"}).size(), 6u);
    EXPECT_EQ(rig.standIn.LogOf({L"TestAContent.", L"Kernel.Slide."}),
              (Lines{L"TestAContent.Describe", L"TestAContent.Attach 1", L"Kernel.Slide.SetPlayState 1",
                     L"Kernel.Slide.Activate", L"Kernel.Slide.SetShown 1"}));

    // A black screen hides the layer; the running view shows it again.
    rig.standIn.ClearLog();
    show->View()->SetState(PowerPoint::ppSlideShowBlackScreen);
    PumpCountingTimer(200, nullptr, 0);
    EXPECT_EQ(layer->GetShown(), 0);
    show->View()->SetState(PowerPoint::ppSlideShowRunning);
    PumpCountingTimer(200, nullptr, 0);
    EXPECT_EQ(layer->GetShown(), 1);
    EXPECT_EQ(rig.standIn.LogOf({L"Kernel.Slide.SetShown"}),
              (Lines{L"Kernel.Slide.SetShown 0", L"Kernel.Slide.SetShown 1"}));

    // Leaving the slide unloads its layer and gives the shape back.
    rig.standIn.ClearLog();
    Next(show);
    EXPECT_EQ(session->GetLayerCount(), 1);
    ASSERT_NE(session->GetCurrentLayer(), nullptr);
    EXPECT_FALSE(session->GetCurrentLayer()->HasEffects());
    EXPECT_TRUE(shape->Visible());
    EXPECT_NE(Rig::ColourAt(pane, kCentreX, kCentreY, L"layer-left"), Rig::kContentColour);
    EXPECT_EQ(rig.standIn.LogOf({L"TestAContent.", L"Kernel.Slide."}),
              (Lines{L"Kernel.Slide.SetShown 0", L"Kernel.Slide.SetPlayState 2", L"Kernel.Slide.Deactivate",
                     L"TestAContent.Detach", L"Kernel.Slide.Close"}));
    // The add-in's own edits left the presentation marked saved.
    EXPECT_EQ(show->Presentation()->Saved(), -1);
    End(show);
}

TEST_F(SlideLayerTest, UnloadingThePluginDuringTheShowLeavesNoEffectOnItsRecords)
{
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2});
    ASSERT_NE(show, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    EffectDataRecord* record = rig.record;
    Next(show);
    ASSERT_NE(session->GetCurrentLayer(), nullptr);
    ASSERT_EQ(session->GetCurrentLayer()->GetEffectCount(), 1);
    // The plug-in, the table of types, the rig and the effect.
    EXPECT_EQ(record->GetRefCount(), 4);

    // The plug-in object goes altogether; its record outlives it.
    rig.plugin.reset();
    EXPECT_EQ(record->GetPlugin(), nullptr);
    EXPECT_EQ(record->GetRefCount(), 2);
    PumpCountingTimer(200, nullptr, 0);

    Next(show);
    EXPECT_EQ(record->GetRefCount(), 1);
    EXPECT_TRUE(rig.productShapes[0]->Visible());
    // Back on the slide, the unregistered type gives the shape no content.
    rig.standIn.ClearLog();
    show->View()->GoPrevious();
    rig.controller->OnNextSlide(show);
    PumpCountingTimer(200, nullptr, 0);
    ASSERT_NE(session->GetCurrentLayer(), nullptr);
    EXPECT_FALSE(session->GetCurrentLayer()->HasEffects());
    EXPECT_TRUE(rig.standIn.LogOf({L"TestA"}).empty());
    EXPECT_FALSE(session->IsStopped());

    End(show);
    EXPECT_EQ(rig.controller->GetSessionCount(), 0);
    EXPECT_EQ(record->GetRefCount(), 1);
}

TEST_F(SlideLayerTest, VisibleProductShapesWithAreaOnTheSlideGetEffectsBackToFront)
{
    struct Shape {
        const wchar_t* name;
        float left, top, width, height;
        bool visible;
        bool effect;
    };
    const Shape shapes[] = {
        {L"Plain", 10, 10, 100, 80, true, true},
        {L"Hidden", 10, 10, 100, 80, false, false},
        {L"NoWidth", 10, 10, 0, 80, true, false},
        {L"NoHeight", 10, 10, 100, 0, true, false},
        {L"LeftOfSlide", -100, 10, 100, 80, true, false},
        {L"AboveSlide", 10, -80, 100, 80, true, false},
        {L"AtRightEdge", 720, 10, 100, 80, true, false},
        {L"AtBottomEdge", 10, 540, 100, 80, true, false},
        {L"PartlyOff", -50, -40, 100, 80, true, true},
        {L"Last", 600, 400, 100, 80, true, true},
    };
    std::vector<standin::ShapeObject*> made;
    standin::ShapeObject* empty = nullptr;
    standin::SlideShowWindowObject* show = rig.RunShow(3, {}, [&](int index, standin::SlideObject* slide) {
        if (index != 2)
            return;
        for (const Shape& shape : shapes) {
            made.push_back(
                rig.AddProductShape(slide, shape.name, shape.left, shape.top, shape.width, shape.height));
            made.back()->SetVisible(shape.visible);
        }
        // Nothing of it would show: no fill, no line, no text.
        empty = rig.AddProductShape(slide, L"Empty", 300, 300, 50, 50);
        empty->SetFill(false, 0);
        empty->SetLineVisible(false);
    });
    ASSERT_NE(show, nullptr);
    Next(show);
    SlideLayer* layer = rig.controller->GetSession(0)->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    std::vector<int> expected;
    for (size_t i = 0; i < made.size(); ++i) {
        if (shapes[i].effect)
            expected.push_back(made[i]->Id());
    }
    std::vector<int> ids;
    for (int i = 0; i < layer->GetEffectCount(); ++i)
        ids.push_back(layer->GetEffect(i)->GetShapeId());
    EXPECT_EQ(ids, expected);
    for (size_t i = 0; i < made.size(); ++i)
        EXPECT_EQ(layer->FindEffectByShape(static_cast<PowerPoint::Shape*>(made[i])) != nullptr, shapes[i].effect)
            << i;
    for (int i = 0; i < layer->GetEffectCount(); ++i) {
        LayerNode* node = layer->GetEffect(i)->GetNode();
        ASSERT_NE(node, nullptr);
        EXPECT_GT(node->GetWidth(), 0);
    }
    // Shapes left out stay as PowerPoint shows them.
    EXPECT_TRUE(made[2]->Visible());
    EXPECT_TRUE(empty->Visible());
    End(show);
}

TEST_F(SlideLayerTest, HostedControlsReadTheirPluginsPackageEntriesBelowThePackResources)
{
    const std::string movie = "FWS\x07 the movie's bytes";
    rig.package.AddEntry(L"movies/intro.swf", movie);
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2});
    ASSERT_NE(show, nullptr);
    Next(show);
    SlideLayer* layer = rig.controller->GetSession(0)->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(layer->HasEffects());

    struct Case {
        const wchar_t* url;
        bool answered;
        int code;
    };
    const Case cases[] = {
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\movies\\intro.swf", true, 0},
        {L"file:///C:/Vistello.9EA84E08259647B1995FC2CEB15B7423/pack/resources/movies/x/../intro.swf", true, 0},
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\missing.swf", true, 2},
        // Another letter case is no name of the pack's.
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\Pack\\Resources\\movies\\intro.swf", false, -1},
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\", false, -1},
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\0.bin", false, -1},
        {L"http://example.com/pack/resources/movies/intro.swf", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.url)));
        UrlParts url;
        ASSERT_TRUE(url.Parse(MKString(c.url)));
        int32_t handled = 0;
        IStream* stream = nullptr;
        uint32_t size = 0;
        int code = -1;
        EXPECT_EQ(layer->ResolveNodeUrl(1, url, handled, stream, size, code), c.answered);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(handled, c.answered ? 1 : 0);
        ASSERT_EQ(stream != nullptr, c.code == 0);
        if (!stream)
            continue;
        EXPECT_EQ(size, movie.size());
        std::string read(64, '\0');
        ULONG got = 0;
        EXPECT_EQ(stream->Read(read.data(), 64, &got), S_OK);
        EXPECT_EQ(read.substr(0, got), movie);
        stream->Release();
    }
    End(show);
}

}  // namespace
