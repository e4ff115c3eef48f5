#include "player/app/PVFileAssociation.h"
#include "player/app/PVWndPlacement.h"
#include "player/app/framework/MKProfile.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

namespace {

const char kCompany[] = "Brelix Technologies";
const char kApplication[] = "Plova Player Settings Test";
const char kCommandKey[] = "ShockwaveFlash.ShockwaveFlash\\Shell\\open\\command";
const char kIconKey[] = "ShockwaveFlash.ShockwaveFlash\\DefaultIcon";

// The test's own profile, removed before and after.
class ProfileScope {
public:
    ProfileScope()
    {
        MKProfile::SetRegistryKey(kCompany, kApplication);
        RegDeleteTreeA(HKEY_CURRENT_USER, MKProfile::KeyPath().GetText());
    }
    ~ProfileScope() { RegDeleteTreeA(HKEY_CURRENT_USER, MKProfile::KeyPath().GetText()); }
};

// The value's type and data as the registry holds them; type 0 when absent.
DWORD RawValue(HKEY root, const std::string& path, const char* name, std::string& data)
{
    HKEY key = nullptr;
    data.clear();
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0;
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        type = 0;
    else
        data.assign(buffer, size);
    RegCloseKey(key);
    return type;
}

std::string SettingsPath()
{
    return std::string(MKProfile::KeyPath().GetText()) + "\\Settings";
}

TEST(Profile, IntegersAreDwordsAndTextsAreStrings)
{
    ProfileScope scope;
    EXPECT_STREQ("Software\\Brelix Technologies\\Plova Player Settings Test", MKProfile::KeyPath().GetText());
    EXPECT_EQ(1, MKProfile::GetInt("Settings", "ToolBar", 1));
    EXPECT_TRUE(MKProfile::WriteInt("Settings", "ToolBar", 0));
    EXPECT_EQ(0, MKProfile::GetInt("Settings", "ToolBar", 1));
    EXPECT_TRUE(MKProfile::WriteString("Settings", "Name", "caf\xE9"));
    EXPECT_STREQ("caf\xE9", MKProfile::GetString("Settings", "Name", "x").GetText());

    std::string data;
    EXPECT_EQ(DWORD(REG_DWORD), RawValue(HKEY_CURRENT_USER, SettingsPath(), "ToolBar", data));
    EXPECT_EQ(std::string(4, '\0'), data);
    EXPECT_EQ(DWORD(REG_SZ), RawValue(HKEY_CURRENT_USER, SettingsPath(), "Name", data));
    EXPECT_EQ(std::string("caf\xE9", 5), data);

    // A value of another type reads as the default.
    EXPECT_EQ(7, MKProfile::GetInt("Settings", "Name", 7));
    EXPECT_STREQ("d", MKProfile::GetString("Settings", "ToolBar", "d").GetText());
}

TEST(WndPlacement, LoadsElevenIntegersAndIgnoresFewer)
{
    ProfileScope scope;
    PVWndPlacement placement;
    EXPECT_FALSE(placement.IsValid());
    EXPECT_EQ(UINT(SW_SHOWMAXIMIZED), placement.Placement().showCmd);
    EXPECT_FALSE(placement.Load("Settings"));
    EXPECT_FALSE(placement.Load(""));

    MKProfile::WriteString("Settings", "WindowPlacement", "0,0,1,10,10,-1,-1,100,50,740");
    EXPECT_FALSE(placement.Load("Settings"));

    MKProfile::WriteString("Settings", "WindowPlacement", "0,0,1,10,10,-1,-1,100,50,740,530");
    ASSERT_TRUE(placement.Load("Settings"));
    const WINDOWPLACEMENT& p = placement.Placement();
    EXPECT_EQ(UINT(SW_SHOWNORMAL), p.showCmd);
    EXPECT_EQ(10, p.ptMinPosition.x);
    EXPECT_EQ(-1, p.ptMaxPosition.y);
    EXPECT_EQ(100, p.rcNormalPosition.left);
    EXPECT_EQ(50, p.rcNormalPosition.top);
    EXPECT_EQ(740, p.rcNormalPosition.right);
    EXPECT_EQ(530, p.rcNormalPosition.bottom);

    placement.Save("Other");
    EXPECT_STREQ("0,0,1,10,10,-1,-1,100,50,740,530", MKProfile::GetString("Other", "WindowPlacement", "").GetText());
}

TEST(WndPlacement, CaptureSavesUnlessMinimised)
{
    ProfileScope scope;
    HWND window = CreateWindowExA(0, "STATIC", "placed", WS_OVERLAPPEDWINDOW, 100, 50, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(window);
    ShowWindow(window, SW_SHOWNORMAL);
    PVWndPlacement placement;
    ASSERT_TRUE(placement.Capture("Settings", window));
    std::string saved = MKProfile::GetString("Settings", "WindowPlacement", "").GetText();
    EXPECT_NE(std::string::npos, saved.find(",100,50,740,530")) << saved;
    EXPECT_EQ(0u, saved.find("0,"));

    ShowWindow(window, SW_MINIMIZE);
    EXPECT_FALSE(placement.Capture("Settings", window));
    EXPECT_FALSE(placement.IsValid());
    EXPECT_EQ(saved, MKProfile::GetString("Settings", "WindowPlacement", "").GetText());
    EXPECT_FALSE(placement.Capture("Settings", nullptr));
    DestroyWindow(window);
}

TEST(FileAssociation, WrittenOnlyWhenMaintained)
{
    ProfileScope scope;
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "ShockwaveFlash.ShockwaveFlash\\Shell");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kIconKey);
    std::string data;

    PVWriteAssociation(false, "C:\\Player\\plovaplayer.exe");
    EXPECT_EQ(DWORD(REG_DWORD), RawValue(HKEY_CURRENT_USER, SettingsPath(), "MaintainAssoc", data));
    EXPECT_EQ(0, MKProfile::GetInt("Settings", "MaintainAssoc", 9));
    EXPECT_EQ(0u, RawValue(HKEY_CLASSES_ROOT, kCommandKey, nullptr, data));

    PVWriteAssociation(true, "C:\\Player\\plovaplayer.exe");
    EXPECT_EQ(1, MKProfile::GetInt("Settings", "MaintainAssoc", 9));
    EXPECT_EQ(DWORD(REG_SZ), RawValue(HKEY_CLASSES_ROOT, kCommandKey, nullptr, data));
    EXPECT_STREQ("\"C:\\Player\\plovaplayer.exe\" \"%1\"", data.c_str());
    EXPECT_EQ(DWORD(REG_SZ), RawValue(HKEY_CLASSES_ROOT, kIconKey, nullptr, data));
    EXPECT_STREQ("C:\\Player\\plovaplayer.exe,0", data.c_str());

    RegDeleteTreeA(HKEY_CLASSES_ROOT, "ShockwaveFlash.ShockwaveFlash\\Shell");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kIconKey);
}

TEST(FileAssociation, ProgramPathIsThisProgram)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_STREQ(path, PVProgramPath().GetText());
}

}  // namespace
