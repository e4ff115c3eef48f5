#include "base/MKDateTime.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKSpecialFolders.h"
#include "base/MKTArray.h"
#include "base/MKTOArray.h"

#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <shlobj.h>
#include <string.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

MKString Mk(const std::wstring& s)
{
    return MKString(s.c_str());
}

std::vector<std::wstring> Listing(const std::wstring& folder, bool includeFolders)
{
    MKTOArray<MKString> names;
    EXPECT_TRUE(MKListDirectory(Mk(folder), names, includeFolders));
    std::vector<std::wstring> out;
    for (int i = 0; i < names.GetCount(); ++i)
        out.push_back(names[i].GetText());
    std::sort(out.begin(), out.end());
    return out;
}

std::string ReadAll(const std::wstring& path)
{
    MKByteArray bytes;
    EXPECT_TRUE(MKReadFile(Mk(path), bytes));
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), size_t(bytes.GetCount()));
}

TEST(Files, WriteAndReadBack)
{
    ScratchFolder scratch;
    std::wstring path = scratch.File(L"data.bin");
    const char data[] = "hello\0world";
    ASSERT_TRUE(MKWriteFile(Mk(path), data, 11));
    EXPECT_EQ(std::string(data, 11), ReadAll(path));
    EXPECT_EQ(11, MKFileSize(Mk(path)));

    char buffer[8] = {};
    EXPECT_TRUE(MKReadFileInto(Mk(path), buffer, 5));
    EXPECT_EQ(std::string("hello"), std::string(buffer, 5));
    EXPECT_EQ(0, buffer[5]);

    // A shorter write replaces the file; no temporary file stays behind.
    ASSERT_TRUE(MKWriteFile(Mk(path), "abc", 3));
    EXPECT_EQ("abc", ReadAll(path));
    EXPECT_EQ(std::vector<std::wstring>{L"data.bin"}, Listing(scratch.path(), false));

    // Zero bytes truncate and succeed; null data with bytes to write fails.
    ASSERT_TRUE(MKWriteFile(Mk(path), nullptr, 0));
    EXPECT_EQ(0, MKFileSize(Mk(path)));
    EXPECT_TRUE(MKReadFileInto(Mk(path), buffer, 8));
    EXPECT_FALSE(MKWriteFile(Mk(path), nullptr, 1));
}

TEST(Files, FailedWriteKeepsTheTargetAndLeavesNothing)
{
    ScratchFolder scratch;
    // The target is a folder: the data cannot take its place.
    std::wstring folder = scratch.File(L"target");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_FALSE(MKWriteFile(Mk(folder), "x", 1));
    EXPECT_TRUE(MKDirectoryExists(Mk(folder)));
    EXPECT_EQ((std::vector<std::wstring>{L".", L"..", L"target"}), Listing(scratch.path(), true));

    // A folder that does not exist.
    EXPECT_FALSE(MKWriteFile(Mk(scratch.File(L"missing\\x.bin")), "x", 1));
}

TEST(Files, ReadingRefusesFilesTooLargeForAnArray)
{
    ScratchFolder scratch;
    std::wstring path = scratch.File(L"big.bin");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    // 2 GB and a few bytes, sparse on the host's file system.
    LARGE_INTEGER size;
    size.QuadPart = 0x80000010LL;
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);

    MKByteArray bytes;
    bytes.Add(7);
    EXPECT_FALSE(MKReadFile(Mk(path), bytes));
    EXPECT_EQ(0, bytes.GetCount());
    EXPECT_EQ(-1, MKFileSize(Mk(path)));
    char buffer[4] = {1, 1, 1, 1};
    EXPECT_TRUE(MKReadFileInto(Mk(path), buffer, 4));
    EXPECT_EQ(0, buffer[0]);
}

TEST(Files, MissingFiles)
{
    ScratchFolder scratch;
    MKString missing = Mk(scratch.File(L"nothing.txt"));
    MKByteArray bytes;
    EXPECT_FALSE(MKReadFile(missing, bytes));
    EXPECT_EQ(-1, MKFileSize(missing));
    EXPECT_EQ(-1, MKFileSize(MKString()));
    char buffer[4];
    EXPECT_FALSE(MKReadFileInto(missing, buffer, 4));
    EXPECT_EQ(MKPathNotFound, MKPathAccess(missing, 0));
    EXPECT_FALSE(MKFileRemove(missing));
    EXPECT_EQ(0, MKFileModifiedTime(missing));
    EXPECT_FALSE(MKFileSetModifiedTime(missing, nullptr));
    EXPECT_EQ(nullptr, MKOpenCFile(MKString(), L"rb"));
}

TEST(Files, ExistenceTests)
{
    ScratchFolder scratch;
    std::wstring file = scratch.File(L"f.txt");
    ASSERT_TRUE(MKWriteFile(Mk(file), "x", 1));
    struct {
        std::wstring path;
        bool file;
        bool folder;
    } cases[] = {
        {file, true, false},
        {scratch.path(), false, true},
        {scratch.path() + L"\\", false, true},
        {scratch.File(L".\\f.txt.  "), true, false},
        {scratch.File(L"none"), false, false},
        {scratch.File(L"none\\deeper"), false, false},
        {L"", false, false},
        {scratch.File(L"f|txt"), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.file, MKFileExists(Mk(c.path))) << c.path;
        EXPECT_EQ(c.folder, MKDirectoryExists(Mk(c.path))) << c.path;
    }
    EXPECT_TRUE(MKIsFileAt(Mk(file)));
    EXPECT_FALSE(MKIsDirectoryAt(Mk(file)));
    EXPECT_TRUE(MKIsDirectoryAt(Mk(scratch.path())));
    EXPECT_EQ(MKPathAccessible, MKPathAccess(Mk(file), 0));
    EXPECT_TRUE(MKFileRemove(Mk(file)));
    EXPECT_FALSE(MKFileExists(Mk(file)));
}

TEST(Files, AttributeQueryReportsAndGivesUp)
{
    ScratchFolder scratch;
    WIN32_FILE_ATTRIBUTE_DATA data;
    MKString missing = Mk(scratch.File(L"none"));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), MKGetFileAttributesRetry(missing, data, true));
    EXPECT_EQ(0u, MKGetFileAttributesRetry(missing, data, false));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, data.dwFileAttributes);
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), MKGetFileAttributesRetry(Mk(scratch.File(L"a\\b")), data, true));

    // A name the system refuses every time: the query ends with its error.
    MKString wild = Mk(scratch.File(L"x*y"));
    DWORD started = GetTickCount();
    DWORD error = MKGetFileAttributesRetry(wild, data, true);
    EXPECT_NE(0u, error);
    EXPECT_NE(DWORD(ERROR_FILE_NOT_FOUND), error);
    EXPECT_LT(GetTickCount() - started, 2000u);
    EXPECT_FALSE(MKIsFileAt(wild));
    EXPECT_FALSE(MKIsDirectoryAt(wild));
}

TEST(Files, ModifiedTime)
{
    ScratchFolder scratch;
    MKString path = Mk(scratch.File(L"t.txt"));
    ASSERT_TRUE(MKWriteFile(path, "t", 1));
    MKDateTime when = MKDateTime::FromParts(2020, 1, 2, 3, 4, 5, MKDateTimeUtc);
    ASSERT_TRUE(MKFileSetModifiedTime(path, &when));
    EXPECT_EQ(1577934245, MKFileModifiedTime(path));
    EXPECT_TRUE(MKFileSetModifiedTime(path, nullptr));
    EXPECT_EQ(1577934245, MKFileModifiedTime(path));
    // A local time is stored as its UTC instant.
    MKDateTime local = when.ToLocalTime();
    ASSERT_TRUE(MKFileSetModifiedTime(path, &local));
    EXPECT_EQ(1577934245, MKFileModifiedTime(path));
    // A folder with a trailing separator.
    EXPECT_NE(0, MKFileModifiedTime(Mk(scratch.path() + L"\\")));
}

TEST(Files, ListDirectory)
{
    ScratchFolder scratch;
    ASSERT_TRUE(MKWriteFile(Mk(scratch.File(L"b.txt")), "b", 1));
    ASSERT_TRUE(MKWriteFile(Mk(scratch.File(L"a.dat")), "a", 1));
    ASSERT_TRUE(CreateDirectoryW(scratch.File(L"sub").c_str(), nullptr));
    EXPECT_EQ((std::vector<std::wstring>{L"a.dat", L"b.txt"}), Listing(scratch.path(), false));
    std::wstring forward = scratch.path();
    std::replace(forward.begin(), forward.end(), L'\\', L'/');
    EXPECT_EQ((std::vector<std::wstring>{L".", L"..", L"a.dat", L"b.txt", L"sub"}), Listing(forward, true));
    // A path with a leading double separator names that very folder.
    EXPECT_EQ((std::vector<std::wstring>{L"a.dat", L"b.txt"}), Listing(L"\\\\?\\" + scratch.path(), false));

    MKTOArray<MKString> names;
    names.Add(MKString(L"stale"));
    EXPECT_FALSE(MKListDirectory(Mk(scratch.File(L"none")), names, true));
    EXPECT_EQ(0, names.GetCount());
}

TEST(Folders, SystemAndSpecialFolders)
{
    MKString temp = MKGetTempPath();
    ASSERT_FALSE(temp.IsEmpty());
    EXPECT_EQ(L'\\', temp[temp.GetLength() - 1]);
    EXPECT_TRUE(MKDirectoryExists(temp));

    MKString system = MKGetSystemDirectory();
    wchar_t expected[MAX_PATH];
    GetSystemDirectoryW(expected, MAX_PATH);
    EXPECT_EQ(std::wstring(expected) + L"\\", system.GetText());

    MKString appData = MKGetSpecialFolder(CSIDL_APPDATA);
    wchar_t shellAnswer[MAX_PATH];
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, shellAnswer));
    EXPECT_EQ(std::wstring(shellAnswer) + L"\\", appData.GetText());
    EXPECT_TRUE(MKGetSpecialFolder(0x7FFF).IsEmpty());

    EXPECT_GT(MKDiskFreeSpace(system), 0);
    EXPECT_GT(MKDiskFreeSpace(MKString(L"C:/some/file")), 0);
    EXPECT_EQ(-1, MKDiskFreeSpace(MKString(L"relative\\file")));
    EXPECT_EQ(-1, MKDiskFreeSpace(MKString()));
}

TEST(Folders, TempFileNamesSkipExistingFiles)
{
    MKString first = MKTempFileName();
    MKString temp = MKGetTempPath();
    ASSERT_EQ(0, wcsncmp(first.GetText(), temp.GetText(), size_t(temp.GetLength())));
    EXPECT_TRUE(first.EndsWith(L".tmp", false));
    DWORD stamp = GetCurrentProcessId() ^ 0x12DF6C15;
    // The counter is the hexadecimal number between the stamp and ".tmp".
    std::wstring name = first.GetText() + temp.GetLength();
    ASSERT_EQ(0, _wcsnicmp(name.c_str(), MKString::FromFormat(L"%08lX", stamp).GetText(), 8));
    unsigned long counter = wcstoul(name.substr(8, name.size() - 12).c_str(), nullptr, 16);

    // Occupy the next two names: the generator steps over them.
    std::vector<MKString> taken;
    for (unsigned long next = counter + 1; next <= counter + 2; ++next) {
        taken.push_back(MKString::FromFormat(L"%s%08lX%lX.tmp", temp.GetText(), stamp, next));
        ASSERT_TRUE(MKWriteFile(taken.back(), "x", 1));
    }
    MKString fresh = MKTempFileName();
    EXPECT_EQ(MKString::FromFormat(L"%s%08lX%lX.tmp", temp.GetText(), stamp, counter + 3).GetText(),
              std::wstring(fresh.GetText()));
    EXPECT_EQ(MKPathNotFound, MKPathAccess(fresh, 0));
    for (const MKString& path : taken)
        MKFileRemove(path);
}

// Runs MKTempFileName on a thread of its own, so that a name search that never
// ends fails the test instead of hanging it.
struct TempNameRun {
    MKString name;
    static DWORD WINAPI Run(void* self)
    {
        static_cast<TempNameRun*>(self)->name = MKTempFileName();
        return 0;
    }
};

// Sets an environment variable for a scope and puts the old value back.
class EnvironmentOverride {
public:
    EnvironmentOverride(const wchar_t* name, const wchar_t* value) : m_name(name)
    {
        wchar_t old[1024];
        DWORD length = GetEnvironmentVariableW(name, old, 1024);
        m_had = length > 0 && length < 1024;
        if (m_had)
            m_old = old;
        SetEnvironmentVariableW(name, value);
    }
    ~EnvironmentOverride() { SetEnvironmentVariableW(m_name, m_had ? m_old.c_str() : nullptr); }

private:
    const wchar_t* m_name;
    bool m_had = false;
    std::wstring m_old;
};

TEST(Folders, TempFileNameGivesUpOnAFolderThatRefusesEveryQuery)
{
    // Characters no file name may hold: every probe of a name in this folder
    // answers an error other than "not found".
    const wchar_t* unusable = L"C:\\no<such>|folder";
    EnvironmentOverride tmp(L"TMP", unusable);
    EnvironmentOverride temp(L"TEMP", unusable);
    ASSERT_EQ(0, _wcsnicmp(MKGetTempPath().GetText(), unusable, wcslen(unusable)));
    ASSERT_EQ(MKPathAccessDenied, MKPathAccess(MKString(L"C:\\no<such>|folder\\x.tmp"), 0));

    TempNameRun run;
    HANDLE thread = CreateThread(nullptr, 0, TempNameRun::Run, &run, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    // A generous bound against a hang: a bounded search takes milliseconds.
    DWORD waited = WaitForSingleObject(thread, 60000);
    ASSERT_EQ(WAIT_OBJECT_0, waited) << "the name search does not end";
    CloseHandle(thread);
    EXPECT_TRUE(run.name.IsEmpty()) << run.name.GetText();
}

// A block whose first half is readable and whose second half is reserved but
// not committed: a write of the whole block fails part way through.
class HalfReadableBlock {
public:
    static const int kHalf = 0x10000;
    HalfReadableBlock()
    {
        m_base = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * kHalf, MEM_RESERVE, PAGE_NOACCESS));
        if (m_base && VirtualAlloc(m_base, kHalf, MEM_COMMIT, PAGE_READWRITE))
            memset(m_base, 'n', kHalf);
    }
    ~HalfReadableBlock()
    {
        if (m_base)
            VirtualFree(m_base, 0, MEM_RELEASE);
    }
    const uint8_t* Data() const { return m_base; }

private:
    uint8_t* m_base;
};

TEST(Files, AReplaceThatFailsBeforeTheRenameKeepsTheOldFileWhole)
{
    enum Failure { kWriteFailsPartWay, kTargetHeldOpen };
    const Failure failures[] = {kWriteFailsPartWay, kTargetHeldOpen};
    for (Failure failure : failures) {
        SCOPED_TRACE(failure);
        ScratchFolder scratch;
        std::wstring path = scratch.File(L"state.dat");
        const std::string old(5000, 'o');
        ASSERT_TRUE(MKWriteFile(Mk(path), old.data(), int(old.size())));

        bool written = true;
        if (failure == kWriteFailsPartWay) {
            HalfReadableBlock block;
            ASSERT_NE(nullptr, block.Data());
            written = MKWriteFile(Mk(path), block.Data(), 2 * HalfReadableBlock::kHalf);
        } else {
            // Opened without delete sharing, the file cannot be replaced.
            HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, holder);
            written = MKWriteFile(Mk(path), "new", 3);
            CloseHandle(holder);
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(old, ReadAll(path));
        EXPECT_EQ(std::vector<std::wstring>{L"state.dat"}, Listing(scratch.path(), false));
    }
}

// Nested folders below a scratch folder, named with at most `part`
// characters each, down to 248 characters in all (the most CreateDirectoryW
// makes); removed again at the end, which the scratch folder's own clean-up
// need not know how to do.
class DeepFolder {
public:
    static const size_t kLength = 248;
    DeepFolder(const ScratchFolder& scratch, size_t part) : m_top(scratch.path().size()), m_path(scratch.path())
    {
        while (m_path.size() < kLength) {
            size_t room = kLength - m_path.size() - 1;
            m_path += L"\\" + std::wstring(room < part ? room : part, L'f');
            if (!CreateDirectoryW(m_path.c_str(), nullptr))
                return;
        }
    }
    ~DeepFolder()
    {
        for (std::wstring folder = m_path; folder.size() > m_top; folder.resize(folder.rfind(L'\\')))
            RemoveDirectoryW(folder.c_str());
    }
    // Empty when a folder could not be made.
    std::wstring path() const { return m_path.size() == kLength ? m_path : std::wstring(); }

private:
    size_t m_top;
    std::wstring m_path;
};

TEST(Files, ATargetNearMaxPathIsReplaced)
{
    ScratchFolder scratch;
    // With its separator and "a.dat" the target has 254 characters, below
    // MAX_PATH, while the folder leaves no room for a temporary name of 13.
    DeepFolder deep(scratch, 60);
    std::wstring folder = deep.path();
    ASSERT_FALSE(folder.empty());
    std::wstring path = folder + L"\\a.dat";
    ASSERT_EQ(254u, path.size());

    ASSERT_TRUE(MKWriteFile(Mk(path), "first", 5));
    EXPECT_EQ("first", ReadAll(path));
    ASSERT_TRUE(MKWriteFile(Mk(path), "second", 6));
    EXPECT_EQ("second", ReadAll(path));
    EXPECT_EQ(std::vector<std::wstring>{L"a.dat"}, Listing(folder, false));
    DeleteFileW(path.c_str());
}

TEST(Files, ATargetWithNoRoomBesideItIsWrittenInPlaceAndNeverLeftPartial)
{
    ScratchFolder scratch;
    // Folder names of at most eight characters are their own short form, so
    // not even that leaves room for a temporary name beside the target.
    DeepFolder deep(scratch, 8);
    std::wstring folder = deep.path();
    ASSERT_FALSE(folder.empty());
    wchar_t shortFolder[MAX_PATH];
    DWORD shortLength = GetShortPathNameW(folder.c_str(), shortFolder, MAX_PATH);
    ASSERT_GT(shortLength, 0u);
    ASSERT_GE(shortLength + 1 + 13, DWORD(MAX_PATH)) << shortFolder;
    std::wstring path = folder + L"\\a.dat";

    ASSERT_TRUE(MKWriteFile(Mk(path), "first", 5));
    EXPECT_EQ("first", ReadAll(path));
    {
        HalfReadableBlock block;
        ASSERT_NE(nullptr, block.Data());
        EXPECT_FALSE(MKWriteFile(Mk(path), block.Data(), 2 * HalfReadableBlock::kHalf));
    }
    // Its old text went with the truncation; a partial new one is not kept.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
    EXPECT_TRUE(Listing(folder, false).empty());
}

}  // namespace
