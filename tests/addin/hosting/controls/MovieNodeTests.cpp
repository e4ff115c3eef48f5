// The effect movie node over the stand-in Flash control: the flashvars it
// passes, the calls it makes on the movie and its answers to the movie's.
#include "SceneTestSupport.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/MovieNode.h"
#include "addin/hosting/NodeHost.h"
#include "base/MKStringDictionary.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/WindowCapture.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// A plug-in's sink offering the movie call handler.
class MovieSink : public TestSinkWith<IMovieCallHandler, IID_IMovieCallHandler> {
public:
    HRESULT STDMETHODCALLTYPE HandleCall(BSTR request, BSTR* response) override
    {
        handled.push_back(request ? request : L"");
        *response = SysAllocString(L"<string>from the plug-in</string>");
        return S_OK;
    }

    bool offersHandler = true;
    std::vector<std::wstring> handled;

protected:
    bool OffersEvents() const override { return offersHandler; }
};

std::string Invoke(const char* name, const char* arguments = "")
{
    return std::string("<invoke name=\"") + name + "\" returntype=\"xml\"><arguments>" + arguments
        + "</arguments></invoke>";
}

// A file's bytes; empty when it cannot be read.
std::string FileBytes(const std::wstring& path)
{
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return bytes;
    char buffer[4096];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, read);
    fclose(file);
    return bytes;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A block from CoTaskMemAlloc holding the bytes, as plug-ins hand movies over.
void* TaskCopy(const std::string& bytes)
{
    void* block = CoTaskMemAlloc(bytes.size());
    if (block)
        memcpy(block, bytes.data(), bytes.size());
    return block;
}

class MovieNodeTest : public ::testing::Test {
protected:
    MovieNodeTest()
        : registration(StandInControl::Flash10)
        , host(640, 480, 640, 480)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 640, 480, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 640, 480, true, false);
        pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 640, 480);
    }

    MovieNode* Add(int mode, const std::string& script, float width = 640, float height = 480)
    {
        std::wstring path = folder.File(L"effect.swf");
        EXPECT_TRUE(
            WriteTextFile(path, "standin-movie 1\nrate 50\nloop off\nframe 80FF0000\nframe 80FF0000\n" + script));
        auto* node = AddTo(pane, new MovieNode(mode), 0, 0, width, height);
        node->SetEventSink(static_cast<INodeEventSink*>(&sink));
        node->SetMoviePath(MKString(path.c_str()));
        return node;
    }

    std::vector<std::wstring> Lines(const wchar_t* containing) const
    {
        std::vector<std::wstring> lines;
        for (const std::wstring& line : log.Lines()) {
            if (line.find(containing) != std::wstring::npos)
                lines.push_back(line);
        }
        return lines;
    }

    ComScope com;
    ControlRegistration registration;
    ControlLogFile log;
    ScratchFolder folder;
    MovieSink sink;  // outlives the host, which lets go of it
    TestHost host;
    LayerNode* layer = nullptr;
    WindowedNode* pane = nullptr;
};

TEST_F(MovieNodeTest, PassesItsGeometryAsFlashVars)
{
    MovieNode* node = Add(0, "");
    node->GetUserVariables().Set(MKString(L"a"), MKString(L"1"));
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    EXPECT_STREQ(L"a=1&__vqz_PW=640&__vqz_PH=480&__vqz_FW=640&__vqz_FH=480&__vqz_ST=0", node->GetFlashVars().GetText());
    EXPECT_EQ(1u,
              Lines(L"put_FlashVars(\"a=1&__vqz_PW=640&__vqz_PH=480&__vqz_FW=640&__vqz_FH=480&__vqz_ST=0\")").size());
}

TEST_F(MovieNodeTest, WritesFractionalSizesInFullWithoutUserVariables)
{
    MovieNode* node = Add(1, "", 320.25f, 100);
    node->SetOffScreen(true);
    EXPECT_STREQ(L"__vqz_PW=320&__vqz_PH=100&__vqz_FW=320.25&__vqz_FH=100&__vqz_ST=0",
                 node->BuildFlashVars().GetText());
}

TEST_F(MovieNodeTest, SendsSizesAsTheFloatValueNotItsWidenedNoise)
{
    // 133.7f widened to double reads 133.6999969482422; the movie gets "%g".
    MovieNode* node = Add(0, "", 133.7f, 480);
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    std::vector<std::wstring> put = Lines(L"put_FlashVars(");
    ASSERT_EQ(1u, put.size());
    EXPECT_NE(std::wstring::npos, put[0].find(L"&__vqz_FW=133.7&__vqz_FH=480&__vqz_ST=0\")"));
    log.Clear();
    ASSERT_TRUE(node->SetRect(0, 0, 320, 66.6f));
    std::vector<std::wstring> calls = Lines(L"__vqz_OnResize");
    ASSERT_EQ(1u, calls.size());
    EXPECT_NE(std::wstring::npos, calls[0].find(L"<number>320</number><number>66.6</number></arguments>"));
}

TEST_F(MovieNodeTest, OffScreenItShowsTheColourBehindItAndGetsItsOwnBackWhenShown)
{
    // The pane is painted before the movie's control window is made.
    pane->SetBackgroundColor(0x12, 0x34, 0x56, 255);
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    host->RequestRepaint();
    PumpUntil([] { return false; }, 200);
    HWND paneWindow = pane->GetNodeWindowHandle();
    ASSERT_NE(nullptr, paneWindow);
    HDC dc = GetDC(paneWindow);
    const COLORREF behind = GetPixel(dc, 30, 20);
    ReleaseDC(paneWindow, dc);
    ASSERT_TRUE(Near(GetRValue(behind) << 16 | GetGValue(behind) << 8 | GetBValue(behind), 0x123456));
    wchar_t expected[16];
    swprintf(expected, 16, L"(\"#%02X%02X%02X\")", GetRValue(behind), GetGValue(behind), GetBValue(behind));

    std::wstring path = folder.File(L"offscreen.swf");
    ASSERT_TRUE(WriteTextFile(path, "standin-movie 1\nrate 50\nloop off\nframe 80FF0000\n"));
    auto* node = AddTo(pane, new MovieNode(0), 30, 20, 100, 80);
    node->SetEventSink(static_cast<INodeEventSink*>(&sink));
    node->SetMoviePath(MKString(path.c_str()));
    node->SetOffScreen(true);
    ASSERT_TRUE(node->IsOffScreen());
    log.Clear();
    ASSERT_TRUE(node->Activate(false));
    std::vector<std::wstring> put = Lines(L"put_FlashVars(");
    ASSERT_EQ(1u, put.size());
    EXPECT_NE(std::wstring::npos, put[0].find(L"&__vqz_UFV=1\")"));
    EXPECT_EQ(1u, Lines(L"IShockwaveFlash.get_BGColor").size());
    std::vector<std::wstring> colours = Lines(L"IShockwaveFlash.put_BGColor(");
    ASSERT_EQ(1u, colours.size());
    EXPECT_NE(std::wstring::npos, colours[0].find(expected)) << colours[0];

    // Shown: the off-screen mode ends and the control's own colour (the
    // stand-in's white) comes back, once.
    ASSERT_TRUE(node->Start(false));
    host->RequestRepaint();
    ASSERT_TRUE(PumpUntil([&] { return Lines(L"IShockwaveFlash.put_BGColor(").size() >= 2; }));
    PumpUntil([] { return false; }, 100);
    colours = Lines(L"IShockwaveFlash.put_BGColor(");
    ASSERT_EQ(2u, colours.size());
    EXPECT_NE(std::wstring::npos, colours[1].find(L"(\"#FFFFFF\")")) << colours[1];
    EXPECT_FALSE(node->IsOffScreen());
}

TEST_F(MovieNodeTest, ANodeOnScreenSamplesAndSetsNoColour)
{
    MovieNode* node = Add(0, "");
    log.Clear();
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    EXPECT_TRUE(Lines(L"IShockwaveFlash.get_BGColor").empty());
    EXPECT_TRUE(Lines(L"IShockwaveFlash.put_BGColor(").empty());
    EXPECT_EQ(std::wstring::npos, std::wstring(node->GetFlashVars().GetText()).find(L"__vqz_UFV"));
}

// The movie from memory, the Flash Player registered only for the second
// activation: the first fails after writing its file.
TEST(MovieNodeData, GoesThroughATemporaryFileReplacedOnTheNextActivationAndRemovedAtDetach)
{
    ComScope com;
    ControlLogFile log;
    MovieSink sink;
    TestHost host(320, 240, 320, 240);
    SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 320, 240, SWP_SHOWWINDOW);
    LayerNode* layer = host->CreateLayer(0, 0, 320, 240, true, false);
    auto* pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 320, 240);
    auto* node = AddTo(pane, new MovieNode(0), 0, 0, 320, 240);
    node->SetEventSink(static_cast<INodeEventSink*>(&sink));
    const std::string movie = "standin-movie 1\nrate 50\nloop off\nframe 80FF0000\nframe 8000FF00\nframe 800000FF\n";
    node->SetMovieData(TaskCopy(movie), int(movie.size()));
    EXPECT_EQ(nullptr, node->GetMoviePath());

    EXPECT_FALSE(node->Activate(false));
    const std::wstring first = node->GetTemporaryFile().GetText();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(movie, FileBytes(first));
    // Marked, so that a file written again under the same name shows.
    ASSERT_TRUE(WriteTextFile(first, "stale"));

    ControlRegistration registration(StandInControl::Flash10);
    ASSERT_TRUE(registration.Registered());
    ASSERT_TRUE(node->Activate(false));
    const std::wstring second = node->GetTemporaryFile().GetText();
    ASSERT_FALSE(second.empty());
    if (second != first)
        EXPECT_FALSE(FileExists(first));
    EXPECT_EQ(movie, FileBytes(second));
    ASSERT_TRUE(node->Start(false));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"flash movie loaded 3 frames"); }));

    node->Detach();
    EXPECT_TRUE(node->GetTemporaryFile().IsEmpty());
    EXPECT_FALSE(FileExists(second));
    EXPECT_STREQ(L"?", node->GetFlashVars().GetText());
}

// Mode, node kind and "wmode" by the installed player: direct and gpu need
// player 10.
struct ModeCase {
    int mode;
    int storedWith10;
    int storedWith9;
    const wchar_t* wmodeWith10;
    const wchar_t* wmodeWith9;
    int kind;
};

TEST(MovieNodeModes, FollowTheTableForPlayers9And10)
{
    const ModeCase cases[] = {
        {0, 0, 0, L"window", L"window", ActiveXNode::WindowedKind},
        {1, 1, 1, L"transparent", L"transparent", ActiveXNode::WindowlessKind},
        {2, 2, 0, L"direct", L"window", ActiveXNode::WindowedKind},
        {3, 3, 0, L"gpu", L"window", ActiveXNode::WindowedKind},
        {4, 4, 4, L"window", L"window", ActiveXNode::NativeWindowKind},
        {5, 5, 0, L"direct", L"window", ActiveXNode::NativeWindowKind},
        {6, 6, 0, L"gpu", L"window", ActiveXNode::NativeWindowKind},
        {7, 7, 7, L"window", L"window", ActiveXNode::NativeWindowKind},
    };
    ComScope com;
    for (StandInControl player : {StandInControl::Flash9, StandInControl::Flash10}) {
        ControlRegistration registration(player);
        ASSERT_TRUE(registration.Registered());
        const bool ten = player == StandInControl::Flash10;
        for (const ModeCase& c : cases) {
            SCOPED_TRACE(std::to_string(c.mode) + (ten ? " with 10" : " with 9"));
            auto* node = new MovieNode(c.mode);
            EXPECT_EQ(ten ? 10 : 9, node->GetPlayerMajor());
            EXPECT_EQ(ten ? c.storedWith10 : c.storedWith9, node->GetMode());
            EXPECT_EQ(c.kind, node->GetKind());
            MKString wmode;
            ASSERT_TRUE(node->GetProperty(MKString(L"wmode"), wmode));
            EXPECT_STREQ(ten ? c.wmodeWith10 : c.wmodeWith9, wmode.GetText());
            node->Release();
        }
    }
}

TEST_F(MovieNodeTest, NeedsThePlugInsHandler)
{
    sink.offersHandler = false;
    MovieNode* node = Add(0, "");
    EXPECT_FALSE(node->Activate(false));
    EXPECT_FALSE(node->HasControl());
}

TEST_F(MovieNodeTest, AnswersTheMoviesCalls)
{
    const std::string script = "call 1 " + Invoke("__vqz_ShowMouse") + "\ncall 1 "
        + Invoke("__vqz_SetAnimating", "<number>0</number>") + "\ncall 1 "
        + Invoke("__vqz_GetGlyphs", "<string>DejaVu Sans10;</string>") + "\ncall 1 " + Invoke("__VQZ_SHOWMOUSE") + "\n";
    MovieNode* node = Add(0, script);
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    EXPECT_TRUE(node->IsAnimating());
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"__VQZ_SHOWMOUSE"); }));
    EXPECT_EQ(ActiveXNode::CursorShown, node->GetCursorMode());
    EXPECT_FALSE(node->IsAnimating());
    ASSERT_EQ(1u, sink.handled.size());
    EXPECT_EQ(L"<invoke name=\"__VQZ_SHOWMOUSE\" returntype=\"xml\"><arguments></arguments></invoke>", sink.handled[0]);
    std::vector<std::wstring> fired = Lines(L"fire FlashCall");
    ASSERT_EQ(4u, fired.size());
    // Built-in names set no return value; the glyph service answers the
    // metrics (16 bytes, 24 base-64 characters); the plug-in answers the rest.
    EXPECT_NE(std::wstring::npos, fired[0].find(L"returned nothing"));
    EXPECT_NE(std::wstring::npos, fired[1].find(L"returned nothing"));
    const size_t glyphs = fired[2].find(L"returned \"<string>");
    ASSERT_NE(std::wstring::npos, glyphs);
    EXPECT_EQ(glyphs + 18 + 24, fired[2].find(L"</string>\"", glyphs));
    EXPECT_NE(std::wstring::npos, fired[3].find(L"returned \"<string>from the plug-in</string>\""));
}

TEST_F(MovieNodeTest, TellsTheMovieOfSizeAndVisibility)
{
    MovieNode* node = Add(0, "");
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    host->RequestRepaint();
    PumpUntil([] { return false; }, 100);
    log.Clear();
    ASSERT_TRUE(node->SetRect(0, 0, 320, 240));
    pane->SetVisible(false);
    host->RequestRepaint();
    PumpUntil([] { return false; }, 100);
    std::vector<std::wstring> calls = Lines(L"CallFunction(");
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(L"flash IShockwaveFlash.CallFunction(\"<invoke name=\\\"__vqz_OnResize\\\" returntype=\\\"xml\\\">"
              L"<arguments><number>320</number><number>240</number><number>320</number><number>240</number>"
              L"</arguments></invoke>\")",
              calls[0]);
    EXPECT_EQ(L"flash IShockwaveFlash.CallFunction(\"<invoke name=\\\"__vqz_OnAxVisibleChanged\\\" "
              L"returntype=\\\"xml\\\"><arguments><false/></arguments></invoke>\")",
              calls.back());
    // The movie hears of the size before the control is resized.
    std::vector<std::wstring> lines = log.Lines();
    size_t resize = 0, rects = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(L"__vqz_OnResize") != std::wstring::npos && !resize)
            resize = i + 1;
        if (lines[i].find(L"SetObjectRects") != std::wstring::npos && !rects)
            rects = i + 1;
    }
    EXPECT_LT(resize, rects);
}

TEST_F(MovieNodeTest, ANativeWindowStaysHiddenUntilTheMovieIsReady)
{
    pane->SetBackgroundColor(0, 0, 255, 255);
    std::string script = "standin-movie 1\nrate 20\nloop off\n";
    for (int i = 0; i < 30; ++i)
        script += "frame FF00FF00\n";
    script += "fetch __vqz_RefreshBackground C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\0.bin\n";
    script += "call 20 " + Invoke("__vqz_OnScreenReady") + "\n";
    std::wstring path = folder.File(L"native.swf");
    ASSERT_TRUE(WriteTextFile(path, script));
    auto* node = AddTo(pane, new MovieNode(4), 100, 100, 160, 120);
    node->SetEventSink(static_cast<INodeEventSink*>(&sink));
    node->SetMoviePath(MKString(path.c_str()));
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    host->RequestRepaint();

    // The movie fetched the picture captured behind the node.
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"flash background uniform FF0000FF"); }));
    EXPECT_FALSE(node->GetReady());
    int width = 0, height = 0;
    std::vector<DWORD> before = CapturePane(host.window.Get(), L"native_before", width, height, true);
    ASSERT_EQ(640, width);
    EXPECT_TRUE(Near(before[180 * width + 180] & 0xFFFFFF, 0x0000FF));

    ASSERT_TRUE(PumpUntil([&] { return node->GetReady(); }));
    host->RequestRepaint();
    PumpUntil([] { return false; }, 200);
    std::vector<DWORD> after = CapturePane(host.window.Get(), L"native_after", width, height, true);
    EXPECT_TRUE(Near(after[180 * width + 180] & 0xFFFFFF, 0x00FF00));
    EXPECT_TRUE(Near(after[50 * width + 50] & 0xFFFFFF, 0x0000FF));
}

}  // namespace
