// The customUI parser behind the ribbon host.
#include "standins/powerpoint/CustomUi.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const wchar_t* xml;
    bool parses;
    size_t elements;
};

class CustomUiParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CustomUiParseTest, ParsesCustomUiDocumentsOnly)
{
    standin::CustomUi document;
    EXPECT_EQ(document.Parse(GetParam().xml), GetParam().parses);
    EXPECT_EQ(document.Elements().size(), GetParam().elements);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, CustomUiParseTest,
    ::testing::Values(
        ParseCase{L"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"/>", true, 1},
        // The declaration's encoding does not matter: the text is UTF-16.
        ParseCase{L"<?xml version=\"1.0\" encoding=\"utf-8\"?><customUI><ribbon/></customUI>", true, 2},
        ParseCase{L"<mso:customUI xmlns:mso=\"x\"><mso:ribbon/></mso:customUI>", true, 2},
        ParseCase{L"<ribbon/>", false, 0}, ParseCase{L"<customUI><ribbon></customUI>", false, 0},
        ParseCase{L"", false, 0}));

TEST(CustomUi, FindsControlsByIdAndReadsTheirCallbacks)
{
    standin::CustomUi document;
    ASSERT_TRUE(document.Parse(L"<customUI onLoad=\"Loaded\"><ribbon><tabs><tab id=\"T\" getLabel=\"Label\">"
                               L"<group idMso=\"GroupClipboard\"><button id=\"B\" onAction=\"Click\"/></group>"
                               L"</tab></tabs></ribbon></customUI>"));
    EXPECT_EQ(document.RootAttribute(L"onLoad"), L"Loaded");
    const standin::CustomUiElement* button = document.FindById(L"B");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->tag, L"button");
    EXPECT_EQ(button->depth, 5);
    EXPECT_EQ(button->Attribute(L"onAction"), L"Click");
    EXPECT_EQ(button->Attribute(L"getLabel"), L"");
    EXPECT_EQ(document.FindById(L"GroupClipboard"), nullptr);
}

}  // namespace
