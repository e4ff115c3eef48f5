#include "base/MKRegKey.h"
#include "base/MKTArray.h"
#include "base/MKTOArray.h"

#include "fixtures/ChildProcess.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::wstring Str(const MKString& s)
{
    return s.GetText();
}

std::vector<std::wstring> Sorted(const MKTOArray<MKString>& names)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < names.GetCount(); ++i)
        out.push_back(names[i].GetText());
    std::sort(out.begin(), out.end());
    return out;
}

// What reg.exe reports for one key: value name -> "TYPE data".
std::map<std::string, std::string> RegQuery(const std::wstring& path, bool* found = nullptr)
{
    ChildProcessResult run = RunChildProcess(L"reg.exe query \"" + path + L"\"");
    EXPECT_TRUE(run.started);
    if (found)
        *found = run.exitCode == 0;
    std::map<std::string, std::string> values;
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // "    name    TYPE    data": fields are separated by four blanks.
        if (line.compare(0, 4, "    ") != 0)
            continue;
        size_t nameEnd = line.find("    ", 4);
        if (nameEnd == std::string::npos)
            continue;
        std::string name = line.substr(4, nameEnd - 4);
        std::string rest = line.substr(nameEnd + 4);
        size_t typeEnd = rest.find("    ");
        values[name] = typeEnd == std::string::npos ? rest : rest.substr(0, typeEnd) + " " + rest.substr(typeEnd + 4);
    }
    return values;
}

// A fresh key under HKEY_CURRENT_USER\Software for one test, removed with the
// system's own tree deletion afterwards.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_name = L"VistelloRegistryTests\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                 std::to_wstring(++counter);
        HKEY handle;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (L"Software\\" + m_name).c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &handle, nullptr));
        RegCloseKey(handle);
        m_key = MKRegOpenSoftwareKey(MKString(m_name.c_str()), true);
        ASSERT_TRUE(m_key);
    }
    void TearDown() override
    {
        m_key.Release();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VistelloRegistryTests");
    }

    std::wstring FullPath(const std::wstring& sub = L"") const
    {
        return L"HKEY_CURRENT_USER\\Software\\" + m_name + (sub.empty() ? L"" : L"\\" + sub);
    }
    MKRegValue Value(uint32_t type, const void* data, int size)
    {
        MKRegValue value = MKRegValue::Alloc(type, size);
        memcpy(value.GetData(), data, size_t(size));
        return value;
    }

    std::wstring m_name;
    MKRegKey m_key;
};

TEST_F(RegistryTest, EveryValueTypeRoundTripsAndShowsOutside)
{
    EXPECT_EQ(FullPath(), Str(m_key.GetPath()));
    const uint8_t binary[] = {0x01, 0x02, 0xFF};
    const wchar_t multi[] = L"one\0two words\0";
    const wchar_t expand[] = L"%TEMP%\\x";
    const uint32_t bigEndian = 0x05000000;  // 5 when read most significant byte first
    const uint64_t qword = 0x0000000123456789ull;
    ASSERT_TRUE(m_key.SetString(L"text", MKString(L"hello world")));
    ASSERT_TRUE(m_key.SetString(L"empty", MKString()));
    ASSERT_TRUE(m_key.SetDword(L"number", 42));
    ASSERT_TRUE(m_key.SetValue(L"bytes", Value(REG_BINARY, binary, sizeof(binary))));
    ASSERT_TRUE(m_key.SetValue(L"list", Value(REG_MULTI_SZ, multi, sizeof(multi))));
    ASSERT_TRUE(m_key.SetValue(L"expand", Value(REG_EXPAND_SZ, expand, sizeof(expand))));
    ASSERT_TRUE(m_key.SetValue(L"big", Value(REG_DWORD_BIG_ENDIAN, &bigEndian, 4)));
    ASSERT_TRUE(m_key.SetValue(L"wide", Value(REG_QWORD, &qword, 8)));
    ASSERT_TRUE(m_key.SetValue(nullptr, MKRegValue::FromString(MKString(L"default"))));

    std::map<std::string, std::string> outside = RegQuery(FullPath());
    EXPECT_EQ("REG_SZ hello world", outside["text"]);
    EXPECT_EQ("REG_SZ ", outside["empty"]);
    EXPECT_EQ("REG_DWORD 0x2a", outside["number"]);
    EXPECT_EQ("REG_BINARY 0102FF", outside["bytes"]);
    EXPECT_EQ("REG_MULTI_SZ one\\0two words", outside["list"]);
    EXPECT_EQ("REG_EXPAND_SZ %TEMP%\\x", outside["expand"]);
    // reg.exe prints the four bytes as a little-endian number.
    EXPECT_EQ("REG_DWORD_BIG_ENDIAN 0x5000000", outside["big"]);
    EXPECT_EQ(0u, outside["wide"].rfind("REG_QWORD", 0));
    EXPECT_EQ("REG_SZ default", outside["(Default)"]);

    struct {
        const wchar_t* name;
        uint32_t type;
        const void* data;
        int size;
    } expected[] = {
        {L"text", REG_SZ, L"hello world", 24},  {L"empty", REG_SZ, L"", 2},
        {L"bytes", REG_BINARY, binary, 3},      {L"list", REG_MULTI_SZ, multi, int(sizeof(multi))},
        {L"expand", REG_EXPAND_SZ, expand, 18}, {L"big", REG_DWORD_BIG_ENDIAN, &bigEndian, 4},
        {L"wide", REG_QWORD, &qword, 8},        {nullptr, REG_SZ, L"default", 16},
    };
    for (const auto& e : expected) {
        MKRegValue value = m_key.QueryValue(e.name);
        ASSERT_FALSE(value.IsNull()) << (e.name ? e.name : L"(default)");
        EXPECT_EQ(e.type, value.GetType());
        ASSERT_EQ(e.size, value.GetSize());
        EXPECT_EQ(0, memcmp(e.data, value.GetData(), size_t(e.size)));
        EXPECT_TRUE(m_key.HasValue(e.name));
    }

    uint32_t number = 0;
    EXPECT_TRUE(m_key.GetDword(L"number", number));
    EXPECT_EQ(42u, number);
    EXPECT_TRUE(m_key.GetDword(L"big", number));
    EXPECT_EQ(5u, number);
    EXPECT_FALSE(m_key.GetDword(L"text", number));
    EXPECT_FALSE(m_key.GetDword(L"wide", number));
    MKByteArray bytes;
    EXPECT_TRUE(m_key.GetBinary(L"bytes", bytes));
    EXPECT_EQ(3, bytes.GetCount());
    EXPECT_FALSE(m_key.GetBinary(L"number", bytes));

    MKTOArray<MKString> names;
    ASSERT_TRUE(m_key.EnumValueNames(names));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"big", L"bytes", L"empty", L"expand", L"list", L"number", L"text",
                                         L"wide"}),
              Sorted(names));
    ASSERT_TRUE(m_key.DeleteValue(L"number"));
    EXPECT_FALSE(m_key.HasValue(L"number"));
    EXPECT_FALSE(m_key.DeleteValue(L"number"));
    ASSERT_TRUE(m_key.DeleteAllValues());
    ASSERT_TRUE(m_key.EnumValueNames(names));
    EXPECT_EQ(0, names.GetCount());
}

TEST_F(RegistryTest, StringsNeverReadPastTheData)
{
    HKEY handle = m_key.GetHandle();
    // Written behind our back: no terminator, an inner zero, an odd size. (The
    // system adds a terminator only when the character after the data is one.)
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(handle, L"bare", 0, REG_SZ, (const BYTE*)L"abcXYZ", 6));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(handle, L"inner", 0, REG_SZ, (const BYTE*)L"ab\0cd", 10));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(handle, L"odd", 0, REG_SZ, (const BYTE*)L"xyz", 5));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(handle, L"multi", 0, REG_MULTI_SZ, (const BYTE*)L"a\0bcX", 8));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(handle, L"multiEnd", 0, REG_MULTI_SZ, (const BYTE*)L"a\0bc\0\0zz", 12));
    MKString out;
    ASSERT_TRUE(m_key.QueryString(L"bare", out));
    EXPECT_EQ(L"abc", Str(out));
    ASSERT_TRUE(m_key.QueryString(L"inner", out));
    EXPECT_EQ(L"ab", Str(out));
    ASSERT_TRUE(m_key.QueryString(L"odd", out));
    EXPECT_EQ(L"xy", Str(out));

    MKTOArray<MKString> parts;
    parts.Add(MKString(L"stale"));
    EXPECT_EQ(4, m_key.QueryValue(L"multi").GetMultiString(parts));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"bc"}), Sorted(parts));
    EXPECT_EQ(5, m_key.QueryValue(L"multiEnd").GetMultiString(parts));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"bc"}), Sorted(parts));

    // Other types leave the out string alone.
    ASSERT_TRUE(m_key.SetDword(L"number", 1));
    MKString kept(L"kept");
    EXPECT_FALSE(m_key.QueryString(L"number", kept));
    EXPECT_FALSE(m_key.QueryString(L"missing", kept));
    EXPECT_EQ(L"kept", Str(kept));
    EXPECT_TRUE(m_key.QueryValue(L"missing").IsNull());
}

TEST_F(RegistryTest, KeyPathsAndHandles)
{
    MKRegKey software = MKOpenRegKey::CurrentUser().OpenSubKey(MKString(L"Software"), false);
    ASSERT_TRUE(software);
    EXPECT_EQ(L"HKEY_CURRENT_USER\\Software", Str(software.GetPath()));
    EXPECT_FALSE(software.IsWritable());
    HKEY handle = software.GetHandle();
    MKRegKey copy = software;
    software.Release();
    // The copy keeps the key open; the last release closes it, never the root.
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr));
    copy.Release();
    EXPECT_NE(ERROR_SUCCESS, RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr));
    {
        MKRegKey root = MKOpenRegKey::CurrentUser();
        EXPECT_EQ(L"HKEY_CURRENT_USER", Str(root.GetPath()));
    }
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(HKEY_CURRENT_USER, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE", Str(MKOpenRegKey::LocalMachine().GetPath()));
    EXPECT_TRUE(MKOpenRegKey::ClassesRoot().SubKeyExists(MKString(L"CLSID")));
    EXPECT_TRUE(MKOpenRegKey::Users().IsWritable());

    MKRegKey created = m_key.CreateSubKey(MKString(L"a\\\\b\\"));
    ASSERT_TRUE(created);
    EXPECT_EQ(FullPath(L"a\\b"), Str(created.GetPath()));
    MKRegKey opened = m_key.OpenPath(MKString(L"a\\\\\\b\\"), false);
    ASSERT_TRUE(opened);
    EXPECT_EQ(FullPath(L"a\\b"), Str(opened.GetPath()));
    // Opening an existing key through CreateSubKey gives it as well.
    EXPECT_TRUE(m_key.CreateSubKey(MKString(L"a")));
    EXPECT_FALSE(m_key.OpenSubKey(MKString(L"missing"), false));

    MKString path = MKString(m_name.c_str());
    EXPECT_TRUE(MKRegOpenSoftwareKey(path, false));
    EXPECT_TRUE(MKRegOpenMachineSoftwareKey(MKString(L"Microsoft\\Windows NT\\CurrentVersion"), false));
    EXPECT_FALSE(MKRegOpenMachineSoftwareKey(MKString(L"NoSuchVendor\\NoSuchProduct"), false));

    MKRegKey null;
    EXPECT_FALSE(null.OpenSubKey(MKString(L"x"), false));
    EXPECT_FALSE(null.SubKeyExists(MKString(L"x")));
    EXPECT_FALSE(null.HasValue(L"x"));
    EXPECT_TRUE(null.QueryValue(L"x").IsNull());
    EXPECT_FALSE(null.SetDword(L"x", 1));
    EXPECT_EQ(L"", Str(null.GetPath()));
    MKTOArray<MKString> names;
    EXPECT_FALSE(null.EnumSubKeys(names));
}

TEST(RegistryPath, Normalize)
{
    struct {
        const wchar_t* path;
        const wchar_t* normal;
    } cases[] = {
        {L"A\\\\\\B\\", L"A\\B"}, {L"plain", L"plain"}, {L"\\\\a\\b\\\\", L"\\a\\b"}, {L"a\\b", L"a\\b"},
        {L"\\", L""},             {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.normal, Str(MKNormalizeKeyPath(MKString(c.path)))) << c.path;
    MKString unchanged(L"no separators");
    EXPECT_EQ(unchanged.GetText(), MKNormalizeKeyPath(unchanged).GetText());
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseEveryChange)
{
    ASSERT_TRUE(m_key.SetString(L"value", MKString(L"v")));
    ASSERT_TRUE(m_key.CreateSubKey(MKString(L"child")));
    MKRegKey readOnly = MKRegOpenSoftwareKey(MKString(m_name.c_str()), false);
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(readOnly.SetString(L"value", MKString(L"changed")));
    EXPECT_FALSE(readOnly.SetDword(L"other", 1));
    EXPECT_FALSE(readOnly.DeleteValue(L"value"));
    EXPECT_FALSE(readOnly.DeleteAllValues());
    EXPECT_FALSE(readOnly.CreateSubKey(MKString(L"new")));
    EXPECT_FALSE(readOnly.DeleteSubKeyTree(MKString(L"child")));
    EXPECT_FALSE(readOnly.DeleteTree(MKString(L"child")));
    MKString value;
    EXPECT_TRUE(readOnly.QueryString(L"value", value));
    EXPECT_EQ(L"v", Str(value));
    EXPECT_TRUE(readOnly.SubKeyExists(MKString(L"child")));
    EXPECT_FALSE(readOnly.SubKeyExists(MKString(L"new")));
    // Names of 256 characters and more are refused before the registry sees them.
    std::wstring longName(256, L'n');
    EXPECT_FALSE(m_key.SetDword(longName.c_str(), 1));
    EXPECT_TRUE(m_key.SetDword(longName.substr(1).c_str(), 1));
}

TEST_F(RegistryTest, DeleteSubKeyTreeRemovesEverything)
{
    for (const wchar_t* sub : {L"tree\\a\\deep\\deeper", L"tree\\a\\side", L"tree\\b"}) {
        MKRegKey key = m_key.CreateSubKey(MKString(sub));
        ASSERT_TRUE(key) << sub;
        ASSERT_TRUE(key.SetString(L"s", MKString(sub)));
        ASSERT_TRUE(key.SetDword(L"d", 7));
    }
    MKRegKey tree = m_key.OpenSubKey(MKString(L"tree"), true);
    ASSERT_TRUE(tree.SetDword(L"top", 1));
    MKTOArray<MKString> names;
    ASSERT_TRUE(tree.EnumSubKeys(names));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), Sorted(names));
    tree.Release();
    bool found = false;
    RegQuery(FullPath(L"tree\\a\\deep\\deeper"), &found);
    ASSERT_TRUE(found);

    EXPECT_TRUE(m_key.DeleteSubKeyTree(MKString(L"tree\\\\")));
    EXPECT_FALSE(m_key.SubKeyExists(MKString(L"tree")));
    RegQuery(FullPath(L"tree"), &found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(m_key.DeleteSubKeyTree(MKString(L"tree")));
    EXPECT_FALSE(m_key.DeleteTree(MKString(L"tree")));
    ASSERT_TRUE(m_key.EnumSubKeys(names));
    EXPECT_EQ(0, names.GetCount());
}

TEST_F(RegistryTest, UnreadableKeyStillExists)
{
    HKEY locked;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(m_key.GetHandle(), L"locked", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &locked, nullptr));
    // An empty access list grants nobody anything.
    ACL empty;
    ASSERT_TRUE(InitializeAcl(&empty, sizeof(empty), ACL_REVISION));
    ASSERT_EQ(ERROR_SUCCESS, SetSecurityInfo(locked, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                             &empty, nullptr));
    EXPECT_FALSE(m_key.OpenSubKey(MKString(L"locked"), false));
    EXPECT_TRUE(m_key.SubKeyExists(MKString(L"locked")));
    // Open access again so the key can go.
    ASSERT_EQ(ERROR_SUCCESS, SetSecurityInfo(locked, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                             nullptr, nullptr));
    RegCloseKey(locked);
}

TEST_F(RegistryTest, PerformanceDataGrowsItsBuffer)
{
    MKRegKey performance =
        MKRegKey::Create(HKEY_PERFORMANCE_DATA, MKString(L"HKEY_PERFORMANCE_DATA"), false, true);
    MKRegValue data = performance.QueryValue(L"Global");
    ASSERT_FALSE(data.IsNull());
    ASSERT_GT(data.GetSize(), 32);
    EXPECT_EQ(0, memcmp(data.GetData(), L"PERF", 8));
}

}  // namespace
