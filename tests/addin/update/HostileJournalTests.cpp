// Journals planted in the updater folder, which every user may write: the
// recovery that every UpdateInstaller::Prepare runs must not delete, move or
// overwrite anything outside the installation folder, whatever the journal
// names and however the path is written.
#include "FileTree.h"
#include "PackageFixtures.h"

#include "addin/update/UpdateInstaller.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// The journal's stored form, written here byte by byte: magic, version 1,
// phase, eight lists of strings (i32 count, each an i32 UTF-8 byte count and
// the bytes), an empty extension block.
enum List { BackupMoves, BackupFiles, BackupFolders, StagedMoves, StagedFiles, StagedFolders, Unused, Records };
enum Phase { Staging = 1, Moving = 2, Recording = 3, Done = 4, Committing = 5 };

void PutU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string JournalBytes(int phase, int list, const std::vector<std::wstring>& entries)
{
    std::string out;
    PutU32(out, 0x4C4E524A);
    PutU32(out, 1);
    PutU32(out, uint32_t(phase));
    for (int i = 0; i < 8; ++i) {
        PutU32(out, i == list ? uint32_t(entries.size()) : 0);
        for (size_t k = 0; i == list && k < entries.size(); ++k) {
            std::string text = Utf8(entries[k]);
            PutU32(out, uint32_t(text.size()));
            out += text;
        }
    }
    PutU32(out, 0);
    return out;
}

void Replace(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The same folder through Wine's Z: drive, or nothing outside Wine.
std::wstring OtherDriveForm(const std::wstring& path)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName || path.rfind(L"Z:", 0) == 0 || path.rfind(L"z:", 0) == 0)
        return std::wstring();
    char* name = unixName(path.c_str());
    if (!name)
        return std::wstring();
    std::wstring form = L"Z:";
    for (const char* c = name; *c; ++c)
        form += *c == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(*c));
    HeapFree(GetProcessHeap(), 0, name);
    return form;
}

// An installation ("inst", update_fixtures.py's "installer" with its update
// waiting) beside a sibling folder "inst2" whose name extends the
// installation's: victim.txt, other.txt and an empty folder.
class HostileJournalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CopyFixtureTree(L"installer", inside);
        std::filesystem::create_directories(std::filesystem::path(outside + L"\\empty"));
        ASSERT_TRUE(MKWriteFile((outside + L"\\victim.txt").c_str(), "victim", 6));
        ASSERT_TRUE(MKWriteFile((outside + L"\\other.txt").c_str(), "other", 5));
        ASSERT_TRUE(MKWriteFile((inside + L"\\a.txt.old.2").c_str(), "stale", 5));
    }

    std::wstring Expand(std::wstring text) const
    {
        Replace(text, L"{in}", inside);
        Replace(text, L"{out}", outside);
        return text;
    }

    // Plants the journal, runs Prepare and answers whether it returned true.
    bool PrepareOver(int phase, int list, const std::vector<std::wstring>& entries)
    {
        std::vector<std::wstring> expanded;
        for (const std::wstring& entry : entries)
            expanded.push_back(Expand(entry));
        std::string bytes = JournalBytes(phase, list, expanded);
        EXPECT_TRUE(MKWriteFile(GetJournalFilePath(folder), bytes.data(), int(bytes.size())));
        UpdateInstaller installer(folder);
        return installer.Prepare();
    }

    ScratchFolder scratch;
    std::wstring inside = scratch.File(L"inst");
    std::wstring outside = scratch.File(L"inst2");
    MKString folder = inside.c_str();
};

TEST_F(HostileJournalTest, AJournalNamingAnythingOutsideTheInstallationTouchesNothing)
{
    struct Case {
        const char* name;
        int phase;
        int list;
        std::vector<std::wstring> entries;
    };
    const std::wstring victim = L"{out}\\victim.txt";
    std::vector<Case> cases = {
        {"backup file", Done, BackupFiles, {victim}},
        {"backup file beside an inside one", Done, BackupFiles, {L"{in}\\a.txt.old.2", victim}},
        {"backup folder", Done, BackupFolders, {L"{out}\\empty"}},
        {"record copy deleted when done", Done, Records, {L"{in}\\plugins.dat", victim}},
        {"backup moved back out of place", Moving, BackupMoves, {L"{out}\\moved.txt", victim}},
        {"backup pulled into the installation", Moving, BackupMoves, {L"{in}\\pulled.txt", victim}},
        {"installed file named outside", Moving, BackupMoves, {victim, L"{in}\\a.txt.old.2"}},
        {"new file taken back", Committing, StagedMoves, {L"{out}\\staged.txt", victim}},
        {"new file taken back into the installation", Committing, StagedMoves, {L"{in}\\staged.txt", victim}},
        {"staged file", Staging, StagedFiles, {victim}},
        {"staged folder", Staging, StagedFolders, {L"{out}\\empty"}},
        {"record that did not exist", Recording, Records, {victim, L""}},
        {"record restored over", Recording, Records, {victim, L"{in}\\a.txt"}},
        {"record copy moved out", Recording, Records, {L"{in}\\a.txt", victim}},
        {"record pair outside", Recording, Records, {victim, L"{out}\\other.txt"}},
        {"long-path prefix", Done, BackupFiles, {L"\\\\?\\{out}\\victim.txt"}},
        {"device prefix", Done, BackupFiles, {L"\\\\.\\{out}\\victim.txt"}},
        {"climbing out", Done, BackupFiles, {L"{in}\\..\\inst2\\victim.txt"}},
        {"climbing out with slashes", Done, BackupFiles, {L"{in}/../inst2/victim.txt"}},
        {"climbing out from below", Done, BackupFiles, {L"{in}\\sub\\..\\..\\inst2\\victim.txt"}},
        {"dots and blanks", Done, BackupFiles, {L"{in}\\.. \\inst2\\victim.txt"}},
        {"stream of the folder", Done, BackupFiles, {L"{in}\\:victim"}},
        {"the installation folder itself", Done, BackupFolders, {L"{in}"}},
    };
    std::wstring otherDrive = OtherDriveForm(outside);
    if (!otherDrive.empty())
        cases.push_back({"another drive", Done, BackupFiles, {otherDrive + L"\\victim.txt"}});
    for (const Case& c : cases) {
        FileTree before = ReadFileTree(scratch.path());
        EXPECT_TRUE(PrepareOver(c.phase, c.list, c.entries)) << c.name;
        FileTree after = ReadFileTree(scratch.path());
        // The damaged journal itself is gone; nothing else changed.
        EXPECT_EQ(after.erase(L"inst\\updater\\journal.dat"), 0u) << c.name;
        before.erase(L"inst\\updater\\journal.dat");
        EXPECT_EQ(after, before) << c.name;
    }
}

TEST_F(HostileJournalTest, AJournalOfTheInstallationsOwnPathsIsStillFinished)
{
    // The control: an inside journal is acted on, so the cases above show
    // refusal and not a recovery that never ran.
    ASSERT_TRUE(PrepareOver(Done, BackupFiles, {L"{in}\\a.txt.old.2"}));
    EXPECT_FALSE(MKFileExists((inside + L"\\a.txt.old.2").c_str()));
    EXPECT_FALSE(MKFileExists(GetJournalFilePath(folder)));
    EXPECT_TRUE(MKFileExists((inside + L"\\a.txt").c_str()));
}

}  // namespace
