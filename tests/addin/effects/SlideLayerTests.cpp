// Slide layers and the effects of product shapes in shows of the stand-in
// PowerPoint: the kernel and a test plug-in run in the stand-in .NET runtime,
// the plug-in's content fills its node over the show's pane with its colour.
#include "ContentShowRig.h"

#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/ShapeEffect.h"
#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideShowSession.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/LayerOwner.h"
#include "addin/hosting/RectF.h"
#include "addin/hosting/UrlParts.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;
using Rig = ContentShowRig;

const float kCentreX = Rig::kShapeLeft + Rig::kShapeWidth / 2;
const float kCentreY = Rig::kShapeTop + Rig::kShapeHeight / 2;

class SlideLayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.Start(ContentFields())); }
    virtual std::vector<std::pair<std::wstring, std::wstring>> ContentFields() const { return {}; }

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
    EXPECT_EQ(rig.standIn.LogOf({L"TestAContent.", L"Kernel.Slide.", L"Kernel.CreateObject"}).size(), 8u);
    // The slide's start restarts its timeline's clock (so the play state is
    // told again) and tells the content to forget earlier steps.
    Lines calls = rig.standIn.LogOf({L"TestAContent.", L"Kernel.Slide."});
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls.back().find(L"TestAContent.FireSteps @"), 0u);
    EXPECT_EQ(calls.back().substr(calls.back().size() - 9), L": [reset]");
    calls.pop_back();
    EXPECT_EQ(calls, (Lines{L"TestAContent.Describe", L"TestAContent.Attach 1", L"Kernel.Slide.SetPlayState 1",
                            L"Kernel.Slide.Activate", L"Kernel.Slide.SetPlayState 1", L"Kernel.Slide.SetShown 1"}));

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

TEST_F(SlideLayerTest, ASlideStartingInAPausedViewTellsTheKernelItIsPaused)
{
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2});
    ASSERT_NE(show, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    show->View()->SetState(PowerPoint::ppSlideShowPaused);
    Next(show);
    SlideLayer* layer = session->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->GetEffectCount(), 1);
    EXPECT_FALSE(layer->IsRunning());
    // The layer was told to run when it was made; the reset clock must not hide the pause from the kernel.
    Lines states = rig.standIn.LogOf({L"Kernel.Slide.SetPlayState"});
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), L"Kernel.Slide.SetPlayState 2");
    show->View()->SetState(PowerPoint::ppSlideShowRunning);
    PumpCountingTimer(200, nullptr, 0);
    EXPECT_TRUE(layer->IsRunning());
    EXPECT_EQ(rig.standIn.LogOf({L"Kernel.Slide.SetPlayState"}).back(), L"Kernel.Slide.SetPlayState 1");
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

// What the owner of an effect's layer node answers to a hosted control's
// request: the case's URL, the preset values as the node sets them.
struct Served {
    bool answered = true;
    int32_t handled = 0;
    int code = 2;
    std::string bytes;
    bool streamed = false;
};

Served AskOwner(Effect* effect, const wchar_t* text)
{
    Served out;
    UrlParts url;
    EXPECT_TRUE(url.Parse(MKString(text)));
    LayerNode* node = effect->GetNode();
    LayerOwner* owner = node ? node->GetOwner() : nullptr;
    EXPECT_NE(owner, nullptr);
    if (!owner)
        return out;
    IStream* stream = nullptr;
    uint32_t size = 0;
    out.answered = owner->HandleResourceRequest(1, url, out.handled, stream, size, out.code);
    out.streamed = stream != nullptr;
    if (stream) {
        std::string read(256, '\0');
        ULONG got = 0;
        EXPECT_EQ(stream->Read(read.data(), 256, &got), S_OK);
        read.resize(got);
        EXPECT_EQ(size, got);
        out.bytes = read;
        stream->Release();
    }
    return out;
}

TEST_F(SlideLayerTest, HostedControlsReadTheirPluginsPackageEntriesBelowThePackResources)
{
    const std::string movie = "FWS\x07 the movie's bytes";
    rig.package.AddEntry(L"movies\\intro.swf", movie);
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2});
    ASSERT_NE(show, nullptr);
    Next(show);
    SlideLayer* layer = rig.controller->GetSession(0)->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(layer->HasEffects());

    struct Case {
        const wchar_t* url;
        int32_t handled;
        int code;
    };
    const Case cases[] = {
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\movies\\intro.swf", 2, 0},
        {L"file:///C:/Vistello.9EA84E08259647B1995FC2CEB15B7423/pack/resources/movies/x/../intro.swf", 2, 0},
        // Taken but not served: the binding finds nothing.
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\missing.swf", 2, 2},
        // Another letter case is no name of the pack's.
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\Pack\\Resources\\movies\\intro.swf", 0, 2},
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\", 0, 2},
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\0.bin", 0, 2},
        {L"http://example.com/pack/resources/movies/intro.swf", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.url)));
        Served served = AskOwner(layer->GetEffect(0), c.url);
        // The node reads the values; the answer is always false.
        EXPECT_FALSE(served.answered);
        EXPECT_EQ(served.handled, c.handled);
        EXPECT_EQ(served.code, c.code);
        EXPECT_EQ(served.streamed, c.code == 0);
        if (served.streamed) {
            EXPECT_EQ(served.bytes, movie);
        }
        // The slide as a whole serves nothing and changes nothing.
        UrlParts url;
        ASSERT_TRUE(url.Parse(MKString(c.url)));
        int32_t handled = 0;
        IStream* stream = nullptr;
        uint32_t size = 0;
        int code = 2;
        EXPECT_FALSE(layer->ResolveNodeUrl(1, url, handled, stream, size, code));
        EXPECT_EQ(handled, 0);
        EXPECT_EQ(stream, nullptr);
        EXPECT_EQ(code, 2);
    }
    End(show);
}

// Two plug-ins whose packages hold an entry of the same name: the content of
// each gets its own plug-in's file, whichever shape comes first.
TEST_F(SlideLayerTest, TwoPluginsWithAnEntryOfTheSameNameEachServeTheirOwnContent)
{
    ASSERT_TRUE(rig.StartSecond());
    rig.package.AddEntry(L"movies\\intro.swf", "first plug-in's movie");
    rig.secondPackage.AddEntry(L"movies\\intro.swf", "second plug-in's movie");
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2}, [this](int index, standin::SlideObject* slide) {
        if (index == 2)
            rig.AddProductShape(slide, L"Second", 20, 20, 100, 80, rig.secondRecord);
    });
    ASSERT_NE(show, nullptr);
    Next(show);
    SlideLayer* layer = rig.controller->GetSession(0)->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->GetEffectCount(), 2);
    const wchar_t url[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\movies\\intro.swf";
    int seen = 0;
    for (int i = 0; i < layer->GetEffectCount(); ++i) {
        Effect* effect = layer->GetEffect(i);
        const bool second = effect->GetType() == rig.secondRecord;
        seen |= second ? 2 : 1;
        Served served = AskOwner(effect, url);
        ASSERT_TRUE(served.streamed) << i;
        EXPECT_EQ(served.bytes, second ? "second plug-in's movie" : "first plug-in's movie") << i;
    }
    // One effect of each plug-in.
    EXPECT_EQ(seen, 3);
    End(show);
}

// Content turns a key into PowerPoint's command through its node's proxy
// (SendHostCommand, 22): the command reaches the show window as an
// accelerator's WM_COMMAND; commands out of range are not sent.
TEST_F(SlideLayerTest, ContentSendsAcceleratorCommandsThroughItsNodeToTheShowWindow)
{
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2});
    ASSERT_NE(show, nullptr);
    Next(show);
    SlideLayer* layer = rig.controller->GetSession(0)->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(layer->HasEffects());
    IDispatch* proxy = layer->GetEffect(0)->GetNode()->GetAutomationProxy();
    ASSERT_NE(proxy, nullptr);
    standin::CallLog& log = standin::CallLog::Get();
    log.Clear();
    log.SetRecording(true);
    struct Case {
        int32_t command;
        bool sent;
    };
    const Case cases[] = {{1, true}, {0, false}, {32768, false}, {4021, true}};
    std::vector<std::wstring> expected;
    for (const Case& c : cases) {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_I4;
        argument.lVal = c.command;
        DISPPARAMS params = {&argument, nullptr, 1, 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(proxy->Invoke(22, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        EXPECT_EQ(result.boolVal != VARIANT_FALSE, c.sent) << c.command;
        if (c.sent)
            expected.push_back(L"ShowCommand." + std::to_wstring(c.command));
    }
    EXPECT_EQ(log.EntriesStartingWith(L"ShowCommand."), expected);
    log.SetRecording(false);
    log.Clear();
    End(show);
}

TEST_F(SlideLayerTest, ContentThatAsksToEndTheShowEndsItShortlyAfter)
{
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2});
    ASSERT_NE(show, nullptr);
    MKRefHolder<SlideShowSession> session;
    session.AssignPointer(rig.controller->GetSession(0));
    Next(show);
    ASSERT_NE(session->GetCurrentLayer(), nullptr);
    ASSERT_TRUE(session->GetCurrentLayer()->HasEffects());
    HWND window = show->Window();
    session->GetCurrentLayer()->GetEffect(0)->RequestShowExit();
    ASSERT_NE(session->GetReport(), nullptr);
    EXPECT_EQ(session->GetReport()->GetExitRequester(), rig.record);
    EXPECT_TRUE(IsWindow(window));
    PumpCountingTimer(400, nullptr, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(session->IsStopped());
    EXPECT_EQ(session->GetLayerCount(), 0);
    EXPECT_TRUE(rig.productShapes[0]->Visible());
}

// Content of kind 2 draws a snapshot; a placeholder picture in the slide
// stands in for it while it does not run.
class SnapshotLayerTest : public SlideLayerTest {
protected:
    std::vector<std::pair<std::wstring, std::wstring>> ContentFields() const override
    {
        return {{L"ContentKind", L"2"}, {L"SnapshotKey", L"{P1}"}, {L"SnapshotBounds", L"210,160,430,320"}};
    }
};

TEST_F(SnapshotLayerTest, ThePlaceholderPictureTakesTheContentsBoundsAndGoesOnceTheContentRuns)
{
    standin::ShapeObject* poster = nullptr;
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2}, [&](int index, standin::SlideObject* slide) {
        if (index != 2)
            return;
        poster = slide->AddShape(PowerPoint::msoAutoShape, L"Poster", 0, 0, 10, 10);
        poster->Tags()->Set(L"_VQZ_CTR", std::wstring(rig.record->GetContentType().GetText()));
        poster->Tags()->Set(L"_VQZ_GUID", L"{P1}");
        poster->SetVisible(false);
    });
    ASSERT_NE(show, nullptr);
    show->View()->GoNext();
    // Loaded for the slide about to be shown: the placeholder shows.
    SlideLayer* layer = rig.controller->GetSession(0)->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->GetEffectCount(), 1);
    Effect* effect = layer->GetEffect(0);
    EXPECT_EQ(effect->GetContentKind(), Effect::kKindSnapshot);
    EXPECT_EQ(effect->GetPlaceholderId(), poster->Id());
    EXPECT_EQ(layer->FindEffectByShape(static_cast<PowerPoint::Shape*>(poster)), effect);
    EXPECT_TRUE(poster->Visible());
    EXPECT_EQ(poster->Left(), 210);
    EXPECT_EQ(poster->Top(), 160);
    EXPECT_EQ(poster->Width(), 220);
    EXPECT_EQ(poster->Height(), 160);
    EXPECT_FALSE(rig.productShapes[0]->Visible());

    // Running, the content replaces it.
    rig.controller->OnNextSlide(show);
    PumpCountingTimer(200, nullptr, 0);
    EXPECT_FALSE(poster->Visible());
    // A repaint's snapshot covers the snapshot content's shapes; no native
    // control lies below them.
    RectF bounds = RectF::Inverted();
    bool needed = false;
    layer->GetSnapshotArea(bounds, needed);
    EXPECT_EQ(bounds, RectF(Rig::kShapeLeft, Rig::kShapeTop, Rig::kShapeLeft + Rig::kShapeWidth,
                            Rig::kShapeTop + Rig::kShapeHeight));
    EXPECT_FALSE(needed);

    Next(show);
    EXPECT_FALSE(poster->Visible());
    EXPECT_TRUE(rig.productShapes[0]->Visible());
    EXPECT_EQ(show->Presentation()->Saved(), -1);
    End(show);
}

TEST_F(SlideLayerTest, KeysOfPowerPointsShowAcceleratorsBecomeTheirCommands)
{
    standin::SlideShowWindowObject* show = rig.RunShow(2, {});
    ASSERT_NE(show, nullptr);
    SlideLayer* layer = new SlideLayer(rig.controller->GetSession(0));
    enum Modifier { kNone = 0, kCtrl = 1, kAlt = 2, kShift = 4 };
    struct Case {
        UINT message;
        WPARAM key;
        int modifiers;
        int32_t command;
        int32_t keyState;
    };
    // The stand-in's table: F5; Ctrl+P; Alt+Shift+F9 (virtual keys); "b";
    // Alt+"h" (characters).
    const Case cases[] = {
        {WM_KEYDOWN, VK_F5, kNone, 1001, VK_F5},
        {WM_SYSKEYDOWN, VK_F5, kNone, 1001, VK_F5},
        {WM_KEYDOWN, VK_F5, kShift, -1, 0},
        {WM_KEYDOWN, 'P', kCtrl, 1002, 0x20000 | 'P'},
        {WM_KEYDOWN, 'P', kNone, -1, 0},
        {WM_KEYDOWN, 'P', kCtrl | kShift, -1, 0},
        {WM_KEYDOWN, VK_F9, kAlt | kShift, 1003, 0x50000 | VK_F9},
        {WM_KEYDOWN, VK_F9, kAlt, -1, 0},
        {WM_CHAR, 'b', kNone, 1004, 'b'},
        {WM_CHAR, 'b', kShift | kCtrl, 1004, 0x30000 | 'b'},
        {WM_CHAR, 'b', kAlt, -1, 0},
        {WM_SYSCHAR, 'h', kAlt, 1005, 0x40000 | 'h'},
        {WM_CHAR, 'h', kNone, -1, 0},
        // Characters never match virtual-key entries.
        {WM_CHAR, 'P', kCtrl, -1, 0},
        {WM_KEYUP, VK_F5, kNone, -1, 0},
    };
    BYTE saved[256];
    GetKeyboardState(saved);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " " << c.key << " " << c.modifiers);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = (c.modifiers & kCtrl) ? 0x80 : 0;
        keys[VK_MENU] = (c.modifiers & kAlt) ? 0x80 : 0;
        keys[VK_SHIFT] = (c.modifiers & kShift) ? 0x80 : 0;
        SetKeyboardState(keys);
        int32_t keyState = -7;
        EXPECT_EQ(layer->TranslateKey(c.message, c.key, 0, keyState), c.command);
        EXPECT_EQ(keyState, c.keyState);
    }
    SetKeyboardState(saved);
    layer->Release();
    End(show);
}

}  // namespace
