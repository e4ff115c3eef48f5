// The ribbon model and the customUI text it makes.
#include "addin/core/ControlHandlerLookup.h"
#include "addin/core/RibbonContextualTabs.h"
#include "addin/core/RibbonGroup.h"
#include "addin/core/RibbonModel.h"
#include "addin/core/RibbonTab.h"
#include "addin/core/RibbonTabs.h"
#include "standins/powerpoint/CustomUi.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring kHead =
    L"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" onLoad=\"OnLoad\">  <ribbon>";
const std::wstring kTail = L"  </ribbon></customUI>";

std::wstring CustomUI(const RibbonModel& model)
{
    MKString xml;
    EXPECT_TRUE(model.BuildCustomUI(xml));
    return xml.GetText();
}

// Answers one plug-in control id with a handler of its own.
class OnePluginControl final : public ControlHandlerLookup {
public:
    RibbonControlHandler* FindControlHandler(const MKString& id) override
    {
        return id.EqualsText(L"pluginButton") ? &handler : nullptr;
    }
    RibbonGroup handler{nullptr, MKString(L"unused")};
};

TEST(RibbonXmlTest, WithoutFragmentsTheProductTabLeavesAnEmptyTabsElement)
{
    RibbonModel model(nullptr);
    EXPECT_EQ(CustomUI(model), kHead + L"<tabs></tabs>" + kTail);
    EXPECT_EQ(model.Tabs().GetTabCount(), 1);
    standin::CustomUi parsed;
    EXPECT_TRUE(parsed.Parse(CustomUI(model)));
    EXPECT_EQ(parsed.RootAttribute(L"onLoad"), L"OnLoad");
}

TEST(RibbonXmlTest, FragmentsAtEveryAnchorMakeTheCustomUIText)
{
    RibbonModel model(nullptr);
    EXPECT_TRUE(model.AddTabsXml(L"<tab id=\"PluginTab\" label=\"Plug\"/>"));
    EXPECT_TRUE(model.AddTabGroupXml(L"TabHome", L"GroupClipboard",
                                     L"<button id=\"b1\" label=\"Paste+\" onAction=\"OnClick\"/>"));
    // A built-in group that receives nothing is left out.
    ASSERT_NE(model.Tabs().FindOrAddBuiltInTab(L"TabHome")->FindOrAddGroup(L"GroupFont"), nullptr);
    EXPECT_TRUE(model.AddTabXml(L"TabInsert", L"<group id=\"ins\"/>"));
    EXPECT_TRUE(model.AddCustomElementXml(
        L"VistelloTab", L"<group id=\"vg\" label=\"V\"><button id=\"vb\" getLabel=\"GetLabel\" onAction=\"OnClick\"/></group>"));
    EXPECT_TRUE(model.AddTabSetXml(L"TabSetDrawingTools", L"<tab idMso=\"TabDrawingToolsFormat\"/>"));
    EXPECT_TRUE(model.AddTabSetGroupXml(L"TabSetPictureTools", L"TabPictureToolsFormat", L"GroupPictureStyles",
                                        L"<button id=\"pb\"/>"));
    EXPECT_TRUE(model.AddTabSetTabXml(L"TabSetPictureTools", L"TabPictureToolsFormat", L"<group id=\"pg\"/>"));
    EXPECT_FALSE(model.AddCustomElementXml(L"NoSuchElement", L"<group id=\"lost\"/>"));

    const std::wstring expected =
        kHead +
        L"<tabs>"
        L"<tab id=\"VistelloTab\" getKeytip=\"GetKeyTip\" getVisible=\"GetVisible\" getLabel=\"GetLabel\">"
        L"<group id=\"vg\" label=\"V\"><button id=\"vb\" getLabel=\"GetLabel\" onAction=\"OnClick\"/></group></tab>"
        L"<tab idMso=\"TabHome\"><group idMso=\"GroupClipboard\">"
        L"<button id=\"b1\" label=\"Paste+\" onAction=\"OnClick\"/></group></tab>"
        L"<tab idMso=\"TabInsert\"><group id=\"ins\"/></tab>"
        L"<tab id=\"PluginTab\" label=\"Plug\"/>"
        L"</tabs>"
        L"<contextualTabs>"
        L"<tabSet idMso=\"TabSetDrawingTools\"><tab idMso=\"TabDrawingToolsFormat\"/></tabSet>"
        L"<tabSet idMso=\"TabSetPictureTools\"><tab idMso=\"TabPictureToolsFormat\">"
        L"<group idMso=\"GroupPictureStyles\"><button id=\"pb\"/></group><group id=\"pg\"/></tab></tabSet>"
        L"</contextualTabs>" +
        kTail;
    EXPECT_EQ(CustomUI(model), expected);
    standin::CustomUi parsed;
    ASSERT_TRUE(parsed.Parse(CustomUI(model)));
    ASSERT_NE(parsed.FindById(L"VistelloTab"), nullptr);
    EXPECT_EQ(parsed.FindById(L"VistelloTab")->Attribute(L"getKeytip"), L"GetKeyTip");
}

TEST(RibbonXmlTest, IdsAreEscapedSoThatOneOddIdCannotBreakTheDocument)
{
    RibbonModel model(nullptr);
    EXPECT_TRUE(model.AddTabXml(L"Tab\"A&B<", L"<group id=\"x\"/>"));
    EXPECT_TRUE(model.AddTabGroupXml(L"TabHome", L"G'1", L"<button id=\"y\"/>"));
    std::wstring xml = CustomUI(model);
    EXPECT_NE(xml.find(L"<tab idMso=\"Tab&quot;A&amp;B&lt;\">"), std::wstring::npos);
    EXPECT_NE(xml.find(L"<group idMso=\"G&apos;1\">"), std::wstring::npos);
    standin::CustomUi parsed;
    EXPECT_TRUE(parsed.Parse(xml));
}

TEST(RibbonXmlTest, AnchorsAreFoundByExactIdAndKind)
{
    RibbonModel model(nullptr);
    RibbonTabs& tabs = model.Tabs();
    RibbonTab* home = tabs.FindOrAddBuiltInTab(L"TabHome");
    EXPECT_EQ(tabs.FindOrAddBuiltInTab(L"TabHome"), home);
    EXPECT_NE(tabs.FindOrAddBuiltInTab(L"tabhome"), home);
    // A built-in tab never answers for the custom id, nor the other way round.
    RibbonTab* product = tabs.FindOrAddCustomTab(L"VistelloTab");
    EXPECT_EQ(product, model.FindCustomRibbonElement(L"VistelloTab"));
    EXPECT_NE(tabs.FindOrAddBuiltInTab(L"VistelloTab"), product);
    EXPECT_EQ(tabs.GetTabCount(), 4);
    EXPECT_EQ(home->FindOrAddGroup(L"GroupFont"), home->FindOrAddGroup(L"GroupFont"));
    RibbonTabs* set = model.ContextualTabs().FindOrAddTabSet(L"TabSetChartTools");
    EXPECT_TRUE(set->IsTabSet());
    EXPECT_EQ(model.ContextualTabs().FindOrAddTabSet(L"TabSetChartTools"), set);

    // A tab set with a tab that emits nothing still writes its own tags.
    set->FindOrAddBuiltInTab(L"TabChartToolsDesign");
    std::wstring xml = CustomUI(model);
    EXPECT_NE(xml.find(L"<contextualTabs><tabSet idMso=\"TabSetChartTools\"></tabSet></contextualTabs>"),
              std::wstring::npos);
    // The tab holding an empty group is written, the group is not.
    EXPECT_NE(xml.find(L"<tabs><tab idMso=\"TabHome\"></tab></tabs>"), std::wstring::npos);
}

TEST(RibbonXmlTest, ElementsWithIdsOfTheirOwnAnswerCallbacksBeforeThePlugIns)
{
    OnePluginControl plugins;
    RibbonModel model(&plugins);
    RibbonControlHandler* product = model.FindTarget(L"VistelloTab");
    ASSERT_EQ(product, model.FindCustomRibbonElement(L"VistelloTab"));
    EXPECT_EQ(model.FindTarget(L"pluginButton"), &plugins.handler);
    EXPECT_EQ(model.FindTarget(L"nobody"), nullptr);

    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(product->GetLabel(&result), S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_STREQ(result.bstrVal, L"Vistello");
    EXPECT_EQ(product->GetKeyTip(&result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"M");
    EXPECT_EQ(product->GetVisible(&result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    static_cast<RibbonTab*>(model.FindCustomRibbonElement(L"VistelloTab"))->SetVisible(false);
    EXPECT_EQ(product->GetVisible(&result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    // Callbacks a tab does not answer leave the result alone.
    EXPECT_EQ(product->GetImage(&result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(product->GetLabel(nullptr), S_OK);
    VariantClear(&result);

    // A second element with a listed id stays out of the list, and leaving
    // takes only itself out.
    {
        RibbonTabs other(&model, false, MKString());
        RibbonTab* twin = other.FindOrAddCustomTab(L"VistelloTab");
        EXPECT_NE(twin, nullptr);
        EXPECT_NE(model.FindCustomRibbonElement(L"VistelloTab"), twin);
    }
    EXPECT_EQ(model.FindCustomRibbonElement(L"VistelloTab"), product);
}

}  // namespace
