#include "player/app/framework/MKCFlashHooked.h"
#include "player/app/framework/MKCFlashWnd.h"

#include "fixtures/ComScope.h"
#include "hostapi/FlashInterfaces.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include "PumpMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adobe Flash Player ActiveX";

// The control's file version, as the player's installer records it.
std::string FileVersionText(const std::wstring& path)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length))
        return "";
    char text[64];
    wsprintfA(text, "%u.%u.%u.%u", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
              HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return text;
}

// Writes the uninstall record of the player for the life of the object.
class InstalledPlayerRecord {
public:
    explicit InstalledPlayerRecord(const std::string& version)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            RegSetValueExA(key, "DisplayVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                           DWORD(version.size() + 1));
            RegCloseKey(key);
        }
    }
    ~InstalledPlayerRecord() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey); }
};

class Parent {
public:
    Parent()
    {
        m_window = CreateWindowExA(0, "STATIC", "flash host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 320,
                                   240, nullptr, nullptr, nullptr, nullptr);
    }
    ~Parent() { DestroyWindow(m_window); }
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

TEST(FlashVersion, ParsesTwoToFourParts)
{
    struct Case {
        const char* text;
        bool ok;
        int major, minor, build, revision;
    };
    const Case cases[] = {
        {"10,0,22,87", true, 10, 0, 22, 87},
        {"9.0", true, 9, 0, -1, -1},
        {"9", false, -1, -1, -1, -1},
        {"9.0.x", true, 9, 0, -1, -1},
        {"9.0.1.x", true, 9, 0, 1, -1},
        {"a.1", false, -1, -1, -1, -1},
        {"1.2.3.4.5", false, -1, -1, -1, -1},
        {"", false, -1, -1, -1, -1},
    };
    for (const Case& c : cases) {
        int major = 0, minor = 0, build = 0, revision = 0;
        EXPECT_EQ(c.ok, MKCFlashWnd::ParseVersion(c.text, major, minor, build, revision)) << c.text;
        EXPECT_EQ(c.major, major) << c.text;
        EXPECT_EQ(c.minor, minor) << c.text;
        EXPECT_EQ(c.build, build) << c.text;
        EXPECT_EQ(c.revision, revision) << c.text;
    }
}

TEST(FlashWnd, PresenceFollowsTheRegistration)
{
    ComScope com;
    {
        ControlRegistration registration(StandInControl::Flash10);
        ASSERT_TRUE(registration.Registered());
        EXPECT_TRUE(MKCFlashWnd::IsFlashControlAvailable());
    }
    EXPECT_FALSE(MKCFlashWnd::IsFlashControlAvailable());
}

TEST(FlashWnd, VersionComesFromTheInstalledRecordElseFromTheControl)
{
    ComScope com;
    struct Case {
        StandInControl control;
        const char* fromControl;
    };
    for (Case c : {Case{StandInControl::Flash9, "9.0"}, Case{StandInControl::Flash101, "10.1"}}) {
        ControlRegistration registration(c.control);
        ASSERT_TRUE(registration.Registered());
        Parent parent;
        {
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
            MKCFlashWnd flash;
            ASSERT_TRUE(flash.Create(nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 320, 240}, parent.Get(), 100));
            EXPECT_STREQ(c.fromControl, flash.GetVersionText().GetText());
        }
        std::string installed = FileVersionText(registration.Path());
        ASSERT_FALSE(installed.empty());
        InstalledPlayerRecord record(installed);
        MKCFlashWnd flash;
        ASSERT_TRUE(flash.Create(nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 320, 240}, parent.Get(), 100));
        EXPECT_EQ(installed, flash.GetVersionText().GetText());
        EXPECT_EQ(0, strncmp(c.fromControl, installed.c_str(), strlen(c.fromControl)));
    }
}

TEST(FlashWnd, RightClicksNeverReachTheControlLeftClicksDo)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ASSERT_TRUE(registration.Registered());
    ControlLogFile log;
    Parent parent;
    MKCFlashWnd flash;
    ASSERT_TRUE(flash.Create(nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 320, 240}, parent.Get(), 100));
    HWND control = flash.GetSafeHwnd();
    ASSERT_TRUE(IsWindow(control));
    EXPECT_EQ(parent.Get(), GetParent(control));
    EXPECT_EQ(100, GetDlgCtrlID(control));
    ASSERT_NE(nullptr, flash.Hook());
    EXPECT_EQ(control, flash.Hook()->Window());

    LPARAM at = MAKELPARAM(20, 20);
    SendMessageA(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
    SendMessageA(control, WM_RBUTTONUP, 0, at);
    SendMessageA(control, WM_RBUTTONDBLCLK, MK_RBUTTON, at);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(control, WM_LBUTTONUP, 0, at);
    PumpMessages();
    EXPECT_FALSE(log.Contains(L"WM_RBUTTON"));
    EXPECT_TRUE(log.Contains(L"WM_LBUTTONDOWN"));
    EXPECT_TRUE(log.Contains(L"WM_LBUTTONUP"));

    // Unblocked, the control sees them again.
    flash.SetBlockRightButton(false);
    SendMessageA(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
    EXPECT_TRUE(log.Contains(L"WM_RBUTTONDOWN"));
}

TEST(FlashWnd, DispatchMembersReachTheControl)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ASSERT_TRUE(registration.Registered());
    ControlLogFile log;
    Parent parent;
    MKCFlashWnd flash;
    ASSERT_TRUE(flash.Create(nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 320, 240}, parent.Get(), 100));
    flash.SetLoop(false);
    flash.SetMovie("C:\\no such movie.swf");
    flash.Play();
    flash.GotoFrame(3);
    flash.CurrentFrame();
    flash.GetPlaying();
    flash.Stop();
    EXPECT_EQ((10 << 16) | 0, flash.FlashVersion());
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(106, put)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(102, put)"));
    EXPECT_TRUE(log.Contains(L"\"C:\\\\no such movie.swf\""));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(112, call)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(127, call)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(128, call)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(125, get)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(113, call)"));
}

TEST(FlashWnd, NoControlMeansCreateFailsAndNoHook)
{
    ComScope com;
    {
        ControlRegistration registration(StandInControl::Flash10);
    }
    Parent parent;
    MKCFlashWnd flash;
    EXPECT_FALSE(flash.Create(nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 320, 240}, parent.Get(), 100));
    EXPECT_EQ(nullptr, flash.Hook());
    EXPECT_EQ(nullptr, flash.GetSafeHwnd());
    EXPECT_EQ(0, flash.CurrentFrame());
}

}  // namespace
