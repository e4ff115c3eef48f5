// The Flash node over the stand-in Flash control of each player version: the
// window mode it asks for, its calls on the control and the events it
// accepts.
#include "SceneTestSupport.h"
#include "addin/hosting/ControlSite.h"
#include "addin/hosting/FlashCalls.h"
#include "addin/hosting/FlashNode.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

namespace {

struct ModeCase {
    StandInControl player;
    int requested;
    int stored;
    bool windowless;
    const wchar_t* wmode;
};

class FlashNodeModes : public ::testing::TestWithParam<ModeCase> { };

TEST_P(FlashNodeModes, AskForTheModeTheInstalledPlayerHas)
{
    const ModeCase& c = GetParam();
    ComScope com;
    ControlRegistration registration(c.player);
    FlashNode* node = new FlashNode(c.requested);
    EXPECT_EQ(c.stored, node->GetWindowMode());
    EXPECT_EQ(c.windowless, !node->IsWindowed());
    MKString wmode;
    EXPECT_TRUE(node->GetProperty(MKString(L"wmode"), wmode));
    EXPECT_STREQ(c.wmode, wmode.GetText());
    node->Release();
}

INSTANTIATE_TEST_SUITE_P(ByPlayer, FlashNodeModes,
                         ::testing::Values(ModeCase{StandInControl::Flash9, 0, 0, false, L"window"},
                                           ModeCase{StandInControl::Flash9, 1, 1, true, L"transparent"},
                                           ModeCase{StandInControl::Flash9, 2, 0, false, L"window"},
                                           ModeCase{StandInControl::Flash9, 3, 0, false, L"window"},
                                           ModeCase{StandInControl::Flash10, 2, 2, false, L"direct"},
                                           ModeCase{StandInControl::Flash10, 3, 3, false, L"gpu"},
                                           ModeCase{StandInControl::Flash101, 7, 0, false, L"window"}));

class FlashNodeTest : public ::testing::Test {
protected:
    FlashNodeTest() : registration(StandInControl::Flash10), host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 240, 160, true, false);
        pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 240, 160);
        movie = folder.File(L"three.swf");
        EXPECT_TRUE(WriteTextFile(movie,
                                  "standin-movie 1\nframe FF0000FF\nframe FF00FF00\nframe FFFF0000\n"
                                  "answer ask <string>yes</string>\n"));
    }

    FlashNode* Add(int mode)
    {
        auto* node = AddTo(pane, new FlashNode(mode), 20, 20, 80, 60);
        node->SetMovie(MKString(movie.c_str()));
        return node;
    }

    ComScope com;
    ControlRegistration registration;
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie;
    TestHost host;
    LayerNode* layer = nullptr;
    WindowedNode* pane = nullptr;
};

TEST_F(FlashNodeTest, DrivesItsControlThroughTheFlashCalls)
{
    FlashNode* node = Add(FlashNode::Window);
    ASSERT_TRUE(layer->Start(true));
    ASSERT_TRUE(node->IsControlActive());
    EXPECT_TRUE(node->IsAnimating());
    EXPECT_TRUE(log.Contains(L"flash IShockwaveFlash.DisableLocalSecurity"));
    EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"flash movie loaded 3 frames"); }));

    EXPECT_EQ(S_OK, FlashCalls::SetPlaying(*node, false));
    bool playing = true;
    EXPECT_EQ(S_OK, FlashCalls::IsPlaying(*node, playing));
    EXPECT_FALSE(playing);
    EXPECT_EQ(S_OK, FlashCalls::GotoFrame(*node, 2));
    int32_t frame = 0;
    EXPECT_EQ(S_OK, FlashCalls::GetCurrentFrame(*node, frame));
    EXPECT_EQ(2, frame);
    EXPECT_EQ(S_OK, FlashCalls::SetBackgroundColorText(*node, MKString(L"#123456")));
    MKString colour;
    EXPECT_EQ(S_OK, FlashCalls::GetBackgroundColorText(*node, colour));
    EXPECT_STREQ(L"#123456", colour.GetText());

    const MKString request(L"<invoke name=\"ask\" returntype=\"xml\"><arguments></arguments></invoke>");
    MKString response;
    EXPECT_EQ(S_OK, FlashCalls::CallFunction(*node, node->GetPlayerMajor(), request, &response));
    EXPECT_STREQ(L"<string>yes</string>", response.GetText());
    // Players before 8 have no CallFunction: the control is not asked.
    log.Clear();
    EXPECT_EQ(E_NOTIMPL, FlashCalls::CallFunction(*node, 7, request, &response));
    EXPECT_TRUE(response.IsEmpty());
    EXPECT_FALSE(log.Contains(L"CallFunction"));

    // A movie set while the control runs waits for the next control.
    node->SetMovie(MKString(L"C:\\other.swf"));
    MKString stored;
    EXPECT_TRUE(node->GetProperty(MKString(L"movie"), stored));
    EXPECT_STREQ(movie.c_str(), stored.GetText());
    EXPECT_STREQ(L"C:\\other.swf", node->GetMovie().GetText());
}

TEST_F(FlashNodeTest, AcceptsTheControlsEventsWithTheirArguments)
{
    FlashNode* node = Add(FlashNode::Transparent);
    ASSERT_TRUE(layer->Start(true));
    ControlSite* site = node->GetSite();
    ASSERT_NE(nullptr, site);
    auto invoke = [&](DISPID id, std::initializer_list<VARTYPE> types) {
        std::vector<VARIANT> arguments(types.size());
        size_t i = 0;
        for (VARTYPE type : types) {
            VariantInit(&arguments[i]);
            arguments[i].vt = type;
            if (type == VT_BSTR)
                arguments[i].bstrVal = SysAllocString(L"x");
            ++i;
        }
        DISPPARAMS params = {arguments.data(), nullptr, UINT(arguments.size()), 0};
        HRESULT hr = site->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        for (VARIANT& v : arguments)
            VariantClear(&v);
        return hr;
    };
    EXPECT_EQ(S_OK, invoke(197, {VT_BSTR}));
    EXPECT_EQ(S_OK, invoke(150, {VT_BSTR, VT_BSTR}));
    EXPECT_EQ(S_OK, invoke(1958, {VT_I4}));
    EXPECT_EQ(S_OK, invoke(-609, {VT_I4}));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, invoke(197, {VT_BSTR, VT_BSTR}));
    EXPECT_EQ(DISP_E_BADVARTYPE, invoke(1958, {VT_R8}));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, invoke(5, {}));
}

// A relative movie name: the stand-in control asks its site for the
// container's moniker, which the node answers with the drive "C:\".
TEST_F(FlashNodeTest, ARelativeMovieIsTakenAgainstTheDriveTheNodeNames)
{
    const wchar_t kOnDrive[] = L"C:\\vistello-relative-movie.swf";
    ASSERT_TRUE(WriteTextFile(kOnDrive, "standin-movie 1\nframe FF0000FF\nframe FF00FF00\n"));
    auto* node = AddTo(pane, new FlashNode(FlashNode::Window), 20, 20, 80, 60);
    node->SetMovie(MKString(L"vistello-relative-movie.swf"));
    ASSERT_TRUE(layer->Start(true));
    EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"flash movie loaded 2 frames"); }));
    EXPECT_TRUE(log.Contains(L"flash site GetMoniker = 0x00000000 \"C:\\\\\""));
    DeleteFileW(kOnDrive);
}

}  // namespace
