#include "player/app/CDravoPlayerApp.h"
#include "player/app/CDravoPlayerFrame.h"
#include "player/app/CDravoPlayerView.h"
#include "player/app/PVViewHost.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

namespace {

class FakeHost : public PVViewHost {
public:
    const char* DocumentPath() const override { return path.c_str(); }
    void NewDocument() override { path.clear(); }
    bool OpenDocument(const char* p) override
    {
        path = p;
        return true;
    }
    bool DeletesMovieAtExit() const override { return false; }
    void ShowGoodiesMenu(bool) override {}
    void ShowMainWindow() override {}
    HWND MainWindow() const override { return nullptr; }
    HWND ToolBarWindow() const override { return nullptr; }
    HWND StatusBarWindow() const override { return nullptr; }
    void RecalcLayout() override {}
    void SetMessageText(const char*) override {}
    PVUIFeedBack* BindFeedback(PVPlaybackView*) override { return nullptr; }

    std::string path;
};

struct Rule {
    UINT id;
    bool enabledWithout;
};

// Without a movie the movie's commands are greyed; the renderer choice is not.
TEST(PlayerCommands, MovieCommandsAreGreyedWithoutAMovie)
{
    FakeHost host;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CDravoPlayerView view(instance, &host);
    CDravoPlayerFrame frame(instance, &host, nullptr);
    CDravoPlayerApp application(instance);
    auto state = [&](UINT id) {
        MKCommandState s;
        if (!view.OnUpdateCommand(id, s) && !frame.OnUpdateCommand(id, s))
            application.OnUpdateCommand(id, s);
        return s;
    };
    EXPECT_FALSE(state(57600).enabled);
    const Rule rules[] = {{32783, false}, {57646, false}, {57645, false},
                          {32772, false}, {32779, false}, {32797, true}};
    for (const Rule& rule : rules)
        EXPECT_EQ(rule.enabledWithout, state(rule.id).enabled) << rule.id;
    host.path = "C:\\movie.swf";
    for (const Rule& rule : rules)
        EXPECT_TRUE(state(rule.id).enabled) << rule.id;
    // The engine's item is ticked while the engine renders.
    EXPECT_FALSE(state(32797).checked);
}

}  // namespace
