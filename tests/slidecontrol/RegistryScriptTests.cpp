#include "slidecontrol/RegistryScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadScript()
{
    std::ifstream file(VISTELLO_SLIDECONTROL_RGS, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

struct Expected {
    std::string path;
    bool isValue;
    const char* valueName;
    RegistryScriptEntry::Removal removal;
    const char* text;  // null: no data
};

TEST(RegistryScript, TheControlsScriptGivesItsKeyTableInOrder)
{
    std::string text = ReadScript();
    ASSERT_FALSE(text.empty());
    RegistryScript script;
    script.Substitute("MODULE", MKString("C:\\x\\plovapoint.dll"));
    MKString error;
    ASSERT_TRUE(script.Parse(text.data(), int(text.size()), error)) << error.GetText();

    const char* clsid = "CLSID\\{10FD7FEE-875F-11D6-83D2-525400E80BD5}";
    std::string c = clsid;
    const Expected expected[] = {
        {"PlovaPoint.player.1", false, "", RegistryScriptEntry::kRemove, "Veviv Udare ruz Ovuvidided"},
        {"PlovaPoint.player.1\\CLSID", false, "", RegistryScriptEntry::kRemove, "{10FD7FEE-875F-11D6-83D2-525400E80BD5}"},
        {"PlovaPoint.player", false, "", RegistryScriptEntry::kRemove, "Veviv Udare ruz Ovuvidided"},
        {"PlovaPoint.player\\CLSID", false, "", RegistryScriptEntry::kRemove, "{10FD7FEE-875F-11D6-83D2-525400E80BD5}"},
        {"PlovaPoint.player\\CurVer", false, "", RegistryScriptEntry::kRemove, "PlovaPoint.player.1"},
        {"CLSID", false, "", RegistryScriptEntry::kNoRemove, nullptr},
        {clsid, false, "", RegistryScriptEntry::kForceRemove, "Veviv Udare ruz Ovuvidided"},
        {c + "\\ProgID", false, "", RegistryScriptEntry::kRemove, "PlovaPoint.player.1"},
    };
    const auto& entries = script.Entries();
    ASSERT_EQ(18, entries.GetCount());
    for (int i = 0; i < int(sizeof expected / sizeof expected[0]); ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ("HKCR", entries[i].root.GetText());
        EXPECT_STREQ(expected[i].path.c_str(), entries[i].path.GetText());
        EXPECT_EQ(expected[i].removal, entries[i].removal);
        EXPECT_EQ(expected[i].text != nullptr, entries[i].hasData);
        if (expected[i].text)
            EXPECT_STREQ(expected[i].text, entries[i].text.GetText());
    }
    // The server path is substituted; the threading model is a value of its key.
    EXPECT_STREQ((c + "\\InprocServer32").c_str(), entries[10].path.GetText());
    EXPECT_STREQ("C:\\x\\plovapoint.dll", entries[10].text.GetText());
    EXPECT_TRUE(entries[11].isValue);
    EXPECT_STREQ("ThreadingModel", entries[11].valueName.GetText());
    EXPECT_STREQ("Apartment", entries[11].text.GetText());
    EXPECT_STREQ("C:\\x\\plovapoint.dll, 102", entries[13].text.GetText());
    EXPECT_STREQ((c + "\\MiscStatus\\1").c_str(), entries[15].path.GetText());
    EXPECT_STREQ("131473", entries[15].text.GetText());
}

TEST(RegistryScript, BadScriptsAreRefusedWithTheLine)
{
    const char* const scripts[] = {
        "HKCR { a = s 'x' ",          // no closing brace
        "HKXX { }",                   // unknown root
        "HKCR {\n a = q 'x' }",       // unknown value type
        "HKCR { a = s 'unterminated }",
        "HKCR { = s 'x' }",            // no key name
        "HKCR { val = s 'x' }",       // value without a name
        "HKCR { a { val b = d 'x1' } }",  // not a number
    };
    for (const char* text : scripts) {
        SCOPED_TRACE(text);
        RegistryScript script;
        MKString error;
        EXPECT_FALSE(script.Parse(text, int(strlen(text)), error));
        EXPECT_EQ(0, strncmp(error.GetText(), "line ", 5));
    }
}

TEST(RegistryScript, QuotesAndNumbers)
{
    const char text[] = "HKCU { 'it''s' = s '%%50 %X%' { val n = d '0x10' } }";
    RegistryScript script;
    script.Substitute("X", MKString("y"));
    MKString error;
    ASSERT_TRUE(script.Parse(text, int(sizeof text - 1), error)) << error.GetText();
    ASSERT_EQ(2, script.Entries().GetCount());
    EXPECT_STREQ("HKCU", script.Entries()[0].root.GetText());
    EXPECT_STREQ("it's", script.Entries()[0].path.GetText());
    EXPECT_STREQ("%50 y", script.Entries()[0].text.GetText());
    EXPECT_TRUE(script.Entries()[1].isNumber);
    EXPECT_EQ(16u, script.Entries()[1].number);
}

}  // namespace
