// The built VistelloTrampoline.exe: registration by its switches, checked with
// reg.exe, and another process's DoVerb reaching the message window of a
// stand-in show through local-server activation.
#include "ShowTestSupport.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"

#include "addin/core/AddInModule.h"
#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowMessageWindow.h"
#include "addin/effects/SlideShowSession.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <sstream>

using standin::PowerPointHost;

namespace {

using Lines = std::vector<std::string>;

const std::string kClassId = "{522D7408-728B-4F76-9DDC-CA67040A736C}";
const std::string kAppId = "{DE65A14E-2D81-4FE7-B39D-51945948C6EC}";
const std::string kLibId = "{076D5527-53FC-45AF-BFD4-C2DEE0CA177C}";
const std::string kProgId = "VistelloTrampoline.VistelloTrampolineObject";

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

unsigned long RunServer(const wchar_t* options)
{
    // Wine starts the desktop's process from the first process that needs
    // it; started from a child, it would inherit the child's output pipe
    // and keep it open.
    GetDesktopWindow();
    return RunChildProcess(L"\"" + std::wstring(VISTELLO_TRAMPOLINE_EXE) + L"\" " + options).exitCode;
}

// "reg query /s" of the key: its lines, trimmed; nothing when it is absent.
Lines RegQuery(const std::string& key)
{
    Lines lines;
    ChildProcessResult run = RunChildProcess(L"reg.exe query \"" + Wide(key) + L"\" /s");
    if (run.exitCode != 0)
        return lines;
    std::istringstream stream(run.output);
    for (std::string line; std::getline(stream, line);) {
        size_t first = line.find_first_not_of(" \t\r");
        size_t last = line.find_last_not_of(" \t\r");
        if (first != std::string::npos)
            lines.push_back(line.substr(first, last - first + 1));
    }
    return lines;
}

// The lines grouped by key (a key's name, then its values), keys sorted:
// reg.exe lists sub-keys in the registry's own order.
std::vector<Lines> ByKey(const Lines& lines)
{
    std::vector<Lines> keys;
    for (const std::string& line : lines) {
        if (line.rfind("HKEY_", 0) == 0 || keys.empty())
            keys.emplace_back();
        keys.back().push_back(line);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The keys of the server below a classes root, as reg.exe lists them.
std::vector<std::pair<std::string, Lines>> ExpectedKeys(const std::string& root)
{
    // Quoted: under a folder with blanks an unquoted path would let COM start
    // a program named by its first words.
    const std::string program = "\"" + Narrow(VISTELLO_TRAMPOLINE_EXE) + "\"";
    const std::string name = "(Default)    REG_SZ    VistelloTrampolineObject Class";
    const std::string progId1 = root + "\\" + kProgId + ".1";
    const std::string progId = root + "\\" + kProgId;
    const std::string classKey = root + "\\CLSID\\" + kClassId;
    return {
        {root + "\\AppID\\" + kAppId, {root + "\\AppID\\" + kAppId, "(Default)    REG_SZ    VistelloTrampoline"}},
        {root + "\\AppID\\VistelloTrampoline.EXE",
         {root + "\\AppID\\VistelloTrampoline.EXE", "AppID    REG_SZ    " + kAppId}},
        {progId1,
         {progId1, name, progId1 + "\\CLSID", "(Default)    REG_SZ    " + kClassId, progId1 + "\\Insertable",
          "(Default)    REG_SZ", progId1 + "\\protocol", progId1 + "\\protocol\\StdFileEditing",
          progId1 + "\\protocol\\StdFileEditing\\server", "(Default)    REG_SZ    " + program,
          progId1 + "\\protocol\\StdFileEditing\\verb", progId1 + "\\protocol\\StdFileEditing\\verb\\0",
          "(Default)    REG_SZ    &Edit"}},
        {progId,
         {progId, name, progId + "\\CLSID", "(Default)    REG_SZ    " + kClassId, progId + "\\CurVer",
          "(Default)    REG_SZ    " + kProgId + ".1"}},
        {classKey,
         {classKey, name, classKey + "\\InprocHandler32", "(Default)    REG_SZ    ole32.dll",
          classKey + "\\Insertable", classKey + "\\LocalServer32", "(Default)    REG_SZ    " + program,
          classKey + "\\Programmable", classKey + "\\ProgID", "(Default)    REG_SZ    " + kProgId + ".1",
          classKey + "\\TypeLib", "(Default)    REG_SZ    " + kLibId, classKey + "\\Verb", classKey + "\\Verb\\0",
          "(Default)    REG_SZ    &Edit,0,2", classKey + "\\Verb\\1", "(Default)    REG_SZ    &Open,0,2",
          classKey + "\\VersionIndependentProgID", "(Default)    REG_SZ    " + kProgId}},
    };
}

TEST(TrampolineRegistrationTest, TheSwitchesWriteAndRemoveTheServersKeysAndTypeLibrary)
{
    struct Case {
        const wchar_t* registerSwitch;
        const wchar_t* unregisterSwitch;
        std::string root;
        HKEY rootKey;
        std::string rootPath;
    };
    const Case cases[] = {
        {L"/RegServer", L"-UnregServer", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT, ""},
        {L"-regserverperuser", L"/UnregServerPerUser", "HKEY_CURRENT_USER\\Software\\Classes", HKEY_CURRENT_USER,
         "Software\\Classes"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(RunServer(c.registerSwitch), 0u) << c.root;
        for (const auto& [key, lines] : ExpectedKeys(c.root))
            EXPECT_EQ(ByKey(RegQuery(key)), ByKey(lines)) << key;
        EXPECT_FALSE(RegQuery("HKEY_CLASSES_ROOT\\TypeLib\\" + kLibId + "\\1.0").empty());

        ASSERT_EQ(RunServer(c.unregisterSwitch), 0u) << c.root;
        for (const auto& [key, lines] : ExpectedKeys(c.root))
            EXPECT_EQ(RegQuery(key), Lines{}) << key;
        EXPECT_EQ(RegQuery("HKEY_CLASSES_ROOT\\TypeLib\\" + kLibId), Lines{});
        // The shared parents stay.
        for (const char* parent : {"\\AppID", "\\CLSID"})
            EXPECT_TRUE(KeyExists(c.rootKey, c.rootPath.empty() ? std::string(parent + 1) : c.rootPath + parent))
                << c.root << parent;
    }
    // Nothing left to remove is no failure.
    EXPECT_EQ(RunServer(L"/UnregServer"), 0u);
}

bool TrampolineRunning()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, L"VistelloTrampoline.exe") == 0;
    CloseHandle(snapshot);
    return found;
}

std::vector<int> s_verbs;

class TrampolineShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RunServer(L"/RegServer"), 0u);
        if (!ModuleInstance())
            SetModuleInstance(GetModuleHandleW(nullptr));
        PaneSubclassRegistry::CreateInstance();
        s_verbs.clear();
        SlideShowSession::SetVerbHook([](SlideShowSession*, int verb) { s_verbs.push_back(verb); });
    }
    void TearDown() override
    {
        SlideShowSession::SetVerbHook(nullptr);
        SlideShowMessageWindow::UnregisterWindowClass();
        RunServer(L"/UnregServer");
    }

    ComScope com;
};

TEST_F(TrampolineShowTest, AnotherProcesssDoVerbReachesTheShowsMessageWindowAndTheServerEndsWhenIdle)
{
    PowerPointHost powerPoint(L"11.0");
    TestShowHost host(powerPoint, 1100);
    SlideShowController controller(&host);
    standin::PresentationObject* presentation = powerPoint.App().AddPresentation(L"Verbs.ppt");
    presentation->AddSlide();
    PowerPoint::SlideShowWindow* window = nullptr;
    ASSERT_EQ(presentation->Settings()->Run(&window), S_OK);
    window->Release();
    auto* show = static_cast<standin::SlideShowWindowObject*>(window);
    controller.AttachShowWindow(show);
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    HWND pane = show->Pane();
    ASSERT_NE(FindMessageWindow(pane), nullptr);

    wchar_t parent[16];
    wsprintfW(parent, L"%lx", reinterpret_cast<unsigned long>(pane));
    ChildProcessResult client = RunChildProcess(TestsBinPath(L"trampoline_client.exe") + L" " + parent +
                                                L" 0 11 -1 13 " + std::to_wstring(OLEIVERB_HIDE));
    DWORD released = GetTickCount();
    EXPECT_EQ(client.exitCode, 0u) << client.output;
    EXPECT_NE(client.output.find("typeinfo 00000000 1"), std::string::npos) << client.output;
    // Posted, not sent: nothing arrives before the show's thread pumps.
    EXPECT_TRUE(s_verbs.empty());
    PumpCountingTimer(200, nullptr, 0);
    EXPECT_EQ(s_verbs, (std::vector<int>{1, 3}));

    show->End();
    EXPECT_EQ(controller.GetSessionCount(), 0);

    // The server goes about five seconds after its last object.
    EXPECT_TRUE(TrampolineRunning());
    while (TrampolineRunning() && GetTickCount() - released < 20000)
        Sleep(100);
    DWORD idle = GetTickCount() - released;
    EXPECT_FALSE(TrampolineRunning());
    EXPECT_GE(idle, 4500u);
    // Five seconds idle, the pause after the class object goes, the exit;
    // a loaded machine adds to the last two.
    EXPECT_LE(idle, 12000u);
}

}  // namespace
