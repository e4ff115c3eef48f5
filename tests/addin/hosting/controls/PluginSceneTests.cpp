// A plug-in's view of content hosting: it holds nothing but the host's
// automation proxy and builds and starts a scene of every node kind through
// IDispatch::Invoke by dispatch identifier, over the stand-in controls. The
// picture on screen shows each node's content inside its rectangle.
#include "SceneTestSupport.h"
#include "addin/hosting/NodeHost.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/WindowCapture.h"
#include "addin/hosting/DibSurface.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// What a plug-in attaches to its effect movie: the sink, answering the
// movie's calls with nothing.
class PluginMovieSink final : public INodeEventSink, public IMovieCallHandler {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kNodeEventSinkIid)
            *out = static_cast<INodeEventSink*>(this);
        else if (iid == IID_IMovieCallHandler)
            *out = static_cast<IMovieCallHandler*>(this);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnDetached() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnClosed() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HandleCall(BSTR, BSTR* response) override
    {
        *response = nullptr;
        return S_OK;
    }

    ULONG refs = 1;  // the test's, on the stack
};

// The plug-in: every call goes through Invoke, arguments in declared order.
class DispatchPlugin {
public:
    static VARIANT R4(float value)
    {
        VARIANT v;
        v.vt = VT_R4;
        v.fltVal = value;
        return v;
    }
    static VARIANT I4(int32_t value)
    {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = value;
        return v;
    }
    static VARIANT I8(int64_t value)
    {
        VARIANT v;
        v.vt = VT_I8;
        v.llVal = value;
        return v;
    }
    static VARIANT Bool(bool value)
    {
        VARIANT v;
        v.vt = VT_BOOL;
        v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    static VARIANT Text(const std::wstring& text)
    {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(text.c_str());
        return v;
    }
    static VARIANT Dispatch(IDispatch* value)
    {
        VARIANT v;
        v.vt = VT_DISPATCH;
        v.pdispVal = value;
        return v;
    }

    // The call's answer; strings given are freed.
    static HRESULT Call(IDispatch* proxy, DISPID id, std::vector<VARIANT> declared, VARIANT* result = nullptr)
    {
        std::vector<VARIANT> reversed(declared.rbegin(), declared.rend());
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
        const HRESULT hr = proxy->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
        for (VARIANT& v : declared) {
            if (v.vt == VT_BSTR)
                VariantClear(&v);
        }
        return hr;
    }

    // A child made by the identifier and placed at the rectangle; kept until
    // the plug-in goes.
    IDispatch* Make(IDispatch* parent, DISPID id, std::vector<VARIANT> args, float x, float y, float width,
                    float height)
    {
        VARIANT made;
        VariantInit(&made);
        EXPECT_EQ(S_OK, Call(parent, id, std::move(args), &made)) << id;
        if (made.vt != VT_DISPATCH || !made.pdispVal) {
            ADD_FAILURE() << "identifier " << id << " made nothing";
            return nullptr;
        }
        VARIANT placed;
        VariantInit(&placed);
        EXPECT_EQ(S_OK, Call(made.pdispVal, 5, {R4(x), R4(y), R4(width), R4(height)}, &placed));
        EXPECT_EQ(VARIANT_TRUE, placed.boolVal) << id;
        m_made.push_back(made.pdispVal);
        return made.pdispVal;
    }

    ~DispatchPlugin()
    {
        for (IDispatch* proxy : m_made)
            proxy->Release();
    }

private:
    std::vector<IDispatch*> m_made;
};

struct Placed {
    const char* kind;
    float x, y;  // inside the windowed node, each 80 x 60
    DWORD colour;
};

TEST(PluginScene, EveryNodeKindBuiltByDispatchIdentifierShowsItsContent)
{
    ComScope com;
    ControlRegistration flash(StandInControl::Flash101);
    ControlRegistration quickTime(StandInControl::QuickTime);
    ControlRegistration quickTimePlugin(StandInControl::QuickTimePlugin);
    ControlRegistration browser(StandInControl::WebBrowser);
    ControlLogFile log;
    ScratchFolder folder;
    const std::wstring flashMovie = folder.File(L"green.swf");
    const std::wstring effectMovie = folder.File(L"effect.swf");
    const std::wstring clip = folder.File(L"yellow.mov");
    const std::wstring picture = folder.File(L"blue.png");
    ASSERT_TRUE(WriteTextFile(flashMovie, "standin-movie 1\nframe FF00FF00\n"));
    ASSERT_TRUE(WriteTextFile(effectMovie, "standin-movie 1\nframe FFFF00FF\n"));
    ASSERT_TRUE(WriteTextFile(clip, "standin-movie 1\nframe FFFFFF00\n"));
    std::unique_ptr<DibSurface> blue(DibSurface::Create(nullptr, 20, 20));
    blue->FillAll(0, 0, 255, 255);
    ASSERT_TRUE(blue->SavePng(MKString(picture.c_str()), 6));

    HostWindow window(320, 240);
    SetWindowPos(window.Get(), HWND_TOP, 0, 0, 320, 240, SWP_SHOWWINDOW);
    NodeHost* host = new NodeHost(GetModuleHandleW(nullptr));
    PluginMovieSink sink;
    {
        DispatchPlugin plugin;
        using P = DispatchPlugin;
        IDispatch* hostProxy = host->GetAutomationProxy();
        ASSERT_EQ(S_OK, P::Call(hostProxy, 1, {P::I8(int64_t(intptr_t(window.Get()))), P::I4(1)}));
        ASSERT_EQ(S_OK, P::Call(hostProxy, 5, {P::R4(320), P::R4(240)}));
        IDispatch* layer = plugin.Make(hostProxy, 2, {}, 0, 0, 320, 240);
        ASSERT_NE(nullptr, layer);
        IDispatch* pane = plugin.Make(layer, 101, {P::I4(0), P::I4(0), P::I4(0)}, 10, 10, 300, 220);
        ASSERT_NE(nullptr, pane);
        EXPECT_EQ(S_OK, P::Call(pane, 301, {P::I4(int32_t(0xFF404040))}));

        IDispatch* image = plugin.Make(pane, 102, {}, 10, 10, 80, 60);
        IDispatch* flashNode = plugin.Make(pane, 103, {P::I4(0)}, 100, 10, 80, 60);
        IDispatch* movie = plugin.Make(pane, 104, {P::I4(0)}, 190, 10, 80, 60);
        IDispatch* control = plugin.Make(pane, 106, {}, 10, 90, 80, 60);
        IDispatch* qtPlugin = plugin.Make(pane, 105, {P::Bool(false)}, 100, 90, 80, 60);
        IDispatch* web = plugin.Make(pane, 107, {}, 190, 90, 80, 60);
        ASSERT_TRUE(image && flashNode && movie && control && qtPlugin && web);
        EXPECT_EQ(S_OK, P::Call(image, 401, {P::Text(picture)}));
        EXPECT_EQ(S_OK, P::Call(flashNode, 601, {P::Text(flashMovie)}));
        EXPECT_EQ(S_OK, P::Call(movie, -4, {P::Dispatch(static_cast<INodeEventSink*>(&sink))}));
        EXPECT_EQ(S_OK, P::Call(movie, 703, {P::Text(effectMovie)}));
        EXPECT_EQ(S_OK, P::Call(control, 901, {P::Text(clip)}));
        EXPECT_EQ(S_OK, P::Call(qtPlugin, 801, {P::Text(clip)}));

        VARIANT done;
        VariantInit(&done);
        for (DISPID step : {13, 14}) {
            ASSERT_EQ(S_OK, P::Call(layer, step, {P::Bool(true)}, &done));
            EXPECT_EQ(VARIANT_TRUE, done.boolVal) << step;
        }
        for (IDispatch* node : {flashNode, movie, control, qtPlugin, web}) {
            VARIANT state;
            VariantInit(&state);
            EXPECT_EQ(S_OK, P::Call(node, 16, {}, &state));
            EXPECT_EQ(5, state.lVal);
        }
        ASSERT_TRUE(PumpUntil([&] {
            return log.Contains(L"quicktime fire Status(0, 4099") && log.Contains(L"qtplugin movie loaded") &&
                log.Contains(L"browser fire DocumentComplete");
        }, 20000)) << [&] {
            std::wstring all;
            for (const std::wstring& line : log.Lines())
                all += line + L"\n";
            return std::string(all.begin(), all.end());
        }();
        EXPECT_EQ(S_OK, P::Call(hostProxy, 11, {}));
        host->RequestRepaint();
        PumpUntil([] { return false; }, 400);

        int width = 0, height = 0;
        std::vector<DWORD> pixels = CapturePane(window.Get(), L"plugin_scene", width, height, true);
        ASSERT_EQ(320, width);
        ASSERT_EQ(240, height);
        auto at = [&](float x, float y) { return pixels[int(y) * width + int(x)] & 0xFFFFFF; };
        const Placed placed[] = {
            {"image", 10, 10, 0x0000FF},   {"flash", 100, 10, 0x00FF00},        {"movie", 190, 10, 0xFF00FF},
            {"quicktime control", 10, 90, 0xFF0000}, {"quicktime plug-in", 100, 90, 0xFFFF00},
            {"web", 190, 90, 0xFFFFFF},
        };
        for (const Placed& node : placed) {
            // Inside: the centre and near each corner.
            const float left = 10 + node.x, top = 10 + node.y;
            for (auto [dx, dy] : {std::pair{40.f, 30.f}, std::pair{3.f, 3.f}, std::pair{76.f, 3.f},
                                  std::pair{3.f, 56.f}, std::pair{76.f, 56.f}})
                EXPECT_TRUE(Near(at(left + dx, top + dy), node.colour)) << node.kind << " at +" << dx << ",+" << dy;
            // Just outside, left and right: the windowed node's background.
            EXPECT_TRUE(Near(at(left - 3, top + 30), 0x404040)) << node.kind;
            EXPECT_TRUE(Near(at(left + 83, top + 30), 0x404040)) << node.kind;
        }
        EXPECT_TRUE(Near(at(160, 200), 0x404040));
        // Outside the windowed node: the host's own background, none of the
        // nodes' colours.
        const DWORD outside = at(4, 4);
        EXPECT_FALSE(Near(outside, 0x404040));
        EXPECT_EQ(outside, at(316, 236));

        for (IDispatch* node : {flashNode, movie, control, qtPlugin, web, image})
            EXPECT_EQ(S_OK, P::Call(node, -2, {}));
    }
    host->Close();
    host->Release();
}

}  // namespace
