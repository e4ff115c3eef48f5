#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

#include "base/MKCSubclassWnd.h"
#include "base/MKPtrMap.h"

namespace {

constexpr UINT kProbe = WM_USER + 7;
std::string s_log;

class Subclasser;
Subclasser* s_watchedAtDestroy = nullptr;
bool s_detachedBeforeOwnDestroy = false;

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class Subclasser : public MKCSubclassWnd {
public:
    explicit Subclasser(char name) : name_(name) {}
    bool throws = false;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kProbe) {
            s_log += name_;
            if (throws)
                throw std::runtime_error("subclasser failed");
        }
        return MKCSubclassWnd::WindowProc(message, wParam, lParam);
    }

private:
    char name_;
};

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe) {
        s_log += 'W';
        return 77;
    }
    if (message == WM_NCDESTROY && s_watchedAtDestroy)
        s_detachedBeforeOwnDestroy = s_watchedAtDestroy->Window() == nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
}

WNDPROC s_beforeForeign = nullptr;
LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
        s_log += 'F';
    return CallWindowProcW(s_beforeForeign, window, message, wParam, lParam);
}

class SubclassWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = OwnProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"SubclassTestWindow";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"SubclassTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        s_log.clear();
    }
    void TearDown() override
    {
        if (IsWindow(window_))
            DestroyWindow(window_);
        s_watchedAtDestroy = nullptr;
    }
    std::string Probe()
    {
        s_log.clear();
        EXPECT_EQ(SendMessageW(window_, kProbe, 0, 0), 77);
        return s_log;
    }
    WNDPROC CurrentProc() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC)); }

    HWND window_ = nullptr;
};

TEST_F(SubclassWindow, NewestSubclasserSeesMessagesFirst)
{
    Subclasser first('A'), second('B');
    ASSERT_TRUE(first.Attach(window_));
    ASSERT_TRUE(second.Attach(window_));
    EXPECT_TRUE(second.Attach(window_));  // already there: nothing changes
    EXPECT_EQ(Probe(), "BAW");

    first.Detach();
    EXPECT_EQ(first.Window(), nullptr);
    EXPECT_NE(CurrentProc(), &OwnProc);
    EXPECT_EQ(Probe(), "BW");

    second.Detach();
    EXPECT_EQ(CurrentProc(), &OwnProc);
    EXPECT_EQ(Probe(), "W");
}

TEST_F(SubclassWindow, RemovingTheNewestKeepsTheOlder)
{
    Subclasser first('A'), second('B'), third('C');
    ASSERT_TRUE(first.Attach(window_));
    ASSERT_TRUE(second.Attach(window_));
    ASSERT_TRUE(third.Attach(window_));
    second.Detach();
    EXPECT_EQ(Probe(), "CAW");
    third.Detach();
    EXPECT_EQ(Probe(), "AW");
}

TEST_F(SubclassWindow, LaterForeignSubclasserIsNotCutOff)
{
    Subclasser ours('A');
    ASSERT_TRUE(ours.Attach(window_));
    s_beforeForeign = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    EXPECT_EQ(Probe(), "FAW");

    ours.Detach();
    EXPECT_EQ(CurrentProc(), &ForeignProc);
    EXPECT_EQ(Probe(), "FW");

    // Reattaching while the foreign procedure is on top reuses our place.
    ASSERT_TRUE(ours.Attach(window_));
    EXPECT_EQ(Probe(), "FAW");
    ours.Detach();

    // Once the foreign subclasser leaves, ours steps aside as well.
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_beforeForeign));
    EXPECT_EQ(Probe(), "W");
    EXPECT_EQ(CurrentProc(), &OwnProc);
}

TEST_F(SubclassWindow, DestroyingTheWindowDetachesEveryObjectFirst)
{
    Subclasser first('A'), second('B');
    ASSERT_TRUE(first.Attach(window_));
    ASSERT_TRUE(second.Attach(window_));
    s_watchedAtDestroy = &first;
    s_detachedBeforeOwnDestroy = false;
    DestroyWindow(window_);
    EXPECT_TRUE(s_detachedBeforeOwnDestroy);
    EXPECT_EQ(first.Window(), nullptr);
    EXPECT_EQ(second.Window(), nullptr);
}

TEST_F(SubclassWindow, HandleThatIsNoWindowIsRefused)
{
    Subclasser object('A');
    ASSERT_TRUE(object.Attach(window_));
    EXPECT_FALSE(object.Attach(reinterpret_cast<HWND>(0x1234)));
    EXPECT_EQ(object.Window(), nullptr);
    EXPECT_EQ(CurrentProc(), &OwnProc);
    EXPECT_TRUE(object.Attach(nullptr));
}

TEST_F(SubclassWindow, ExceptionInASubclasserIsContained)
{
    Subclasser object('A');
    object.throws = true;
    ASSERT_TRUE(object.Attach(window_));
    EXPECT_EQ(SendMessageW(window_, kProbe, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window_));
}

// On its next probe, changes the chain (or sends a probe of its own) before
// passing the message on; its log letter comes first.
enum class Act { kNothing, kDetachSelf, kDeleteSelf, kDetachOther, kDeleteOther, kNestedProbe, kDetachSelfAndNest };

class ActingSubclasser : public MKCSubclassWnd {
public:
    explicit ActingSubclasser(char name) : name_(name) {}
    Act act = Act::kNothing;
    MKCSubclassWnd* other = nullptr;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kProbe)
            return MKCSubclassWnd::WindowProc(message, wParam, lParam);
        s_log += name_;
        Act now = act;
        act = Act::kNothing;
        HWND window = Window();
        switch (now) {
        case Act::kNothing:
            break;
        case Act::kDetachSelf:
            Detach();
            break;
        case Act::kDeleteSelf:
            delete this;
            return 5;
        case Act::kDetachOther:
            other->Detach();
            break;
        case Act::kDeleteOther:
            delete other;
            break;
        case Act::kNestedProbe:
            SendMessageW(window, kProbe, 0, 0);
            break;
        case Act::kDetachSelfAndNest:
            Detach();
            SendMessageW(window, kProbe, 0, 0);
            break;
        }
        return MKCSubclassWnd::WindowProc(message, wParam, lParam);
    }

private:
    char name_;
};

TEST_F(SubclassWindow, ChangesDuringAMessageStillReachTheOlderMembers)
{
    enum { A, B, C, kNone = -1 };
    struct Case {
        const char* name;
        int actor;
        Act act;
        int other;
        const char* firstLog;
        LRESULT firstResult;
        const char* secondLog;
    } cases[] = {
        {"newest detaches itself", C, Act::kDetachSelf, kNone, "CBAW", 77, "BAW"},
        {"newest deletes itself", C, Act::kDeleteSelf, kNone, "C", 5, "BAW"},
        {"middle detaches itself", B, Act::kDetachSelf, kNone, "CBAW", 77, "CAW"},
        {"oldest detaches itself", A, Act::kDetachSelf, kNone, "CBAW", 77, "CBW"},
        {"newest detaches the next", C, Act::kDetachOther, B, "CAW", 77, "CAW"},
        {"newest deletes the next", C, Act::kDeleteOther, B, "CAW", 77, "CAW"},
        {"re-entered", C, Act::kNestedProbe, kNone, "CCBAWBAW", 77, "CBAW"},
        {"re-entered after detaching", C, Act::kDetachSelfAndNest, kNone, "CBAWBAW", 77, "BAW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActingSubclasser* objects[3] = {new ActingSubclasser('A'), new ActingSubclasser('B'),
                                        new ActingSubclasser('C')};
        for (ActingSubclasser* object : objects)
            ASSERT_TRUE(object->Attach(window_));
        objects[c.actor]->act = c.act;
        if (c.other != kNone)
            objects[c.actor]->other = objects[c.other];
        // Who is gone after the first probe.
        if (c.act == Act::kDeleteSelf)
            objects[c.actor] = nullptr;
        if (c.act == Act::kDeleteOther)
            objects[c.other] = nullptr;

        s_log.clear();
        EXPECT_EQ(c.firstResult, SendMessageW(window_, kProbe, 0, 0));
        EXPECT_EQ(c.firstLog, s_log);
        s_log.clear();
        EXPECT_EQ(77, SendMessageW(window_, kProbe, 0, 0));
        EXPECT_EQ(c.secondLog, s_log);

        for (ActingSubclasser* object : objects)
            delete object;
        EXPECT_EQ(CurrentProc(), &OwnProc);
    }
}

TEST(PtrMap, InsertsFindsAndRemovesAcrossBlocks)
{
    MKPtrMap map(3);
    int keys[40];
    for (int i = 0; i < 40; ++i) {
        void** slot = map.ValueAt(&keys[i]);
        ASSERT_NE(slot, nullptr);
        *slot = reinterpret_cast<void*>(static_cast<intptr_t>(i + 1));
    }
    EXPECT_EQ(map.Count(), 40);
    EXPECT_EQ(map.ValueAt(&keys[5]), map.ValueAt(&keys[5]));
    EXPECT_EQ(map.Count(), 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(map.Lookup(&keys[i]), reinterpret_cast<void*>(static_cast<intptr_t>(i + 1)));
    EXPECT_EQ(map.Lookup(&map), nullptr);
    for (int i = 0; i < 40; i += 2)
        EXPECT_TRUE(map.RemoveKey(&keys[i]));
    EXPECT_FALSE(map.RemoveKey(&keys[0]));
    EXPECT_EQ(map.Count(), 20);
    EXPECT_EQ(map.Lookup(&keys[0]), nullptr);
    EXPECT_EQ(map.Lookup(&keys[1]), reinterpret_cast<void*>(2));
    int visited = 0;
    map.ForEach([&](void*, void*) { ++visited; });
    EXPECT_EQ(visited, 20);
    for (int i = 1; i < 40; i += 2)
        EXPECT_TRUE(map.RemoveKey(&keys[i]));
    EXPECT_EQ(map.Count(), 0);
    EXPECT_NE(map.ValueAt(&keys[3]), nullptr);  // usable again after emptying
}

}  // namespace
