// The ribbon as Office meets it: the stand-in's ribbon host loads the
// customUI text from the extension and calls the callbacks by name; they reach
// the ribbon model's elements and the plug-ins' handlers by control id.
#include "AddInTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"
#include "fixtures/VariantArgs.h"

#include "addin/core/ControlHandlerLookup.h"
#include "addin/core/DispResult.h"
#include "addin/core/RibbonCallbacks.h"
#include "addin/core/RibbonElement.h"
#include "addin/core/RibbonExtension.h"
#include "addin/core/RibbonModel.h"
#include "base/MKString.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/RibbonHost.h"
#include "standins/powerpoint/RibbonUiObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Arguments handed to the Invoke that the host builds keep their BSTRs alive
// in a static: the host copies the VARIANTs, not the strings.
VARIANT TextArg(const wchar_t* text)
{
    static std::vector<std::unique_ptr<OLECHAR, void (*)(BSTR)>> s_texts;
    s_texts.emplace_back(SysAllocString(text), [](BSTR b) { SysFreeString(b); });
    VARIANT arg = TypedArg(VT_BSTR);
    arg.bstrVal = s_texts.back().get();
    return arg;
}

std::wstring Describe(const VARIANT* value)
{
    if (!value)
        return L"null";
    switch (value->vt) {
    case VT_I4:
        return L"I4:" + std::to_wstring(value->lVal);
    case VT_BSTR:
        return std::wstring(L"BSTR:") + (value->bstrVal ? value->bstrVal : L"");
    case VT_BOOL:
        return L"BOOL:" + std::to_wstring(value->boolVal);
    default:
        return L"vt" + std::to_wstring(value->vt);
    }
}

// A plug-in's handler: records each operation with its further arguments
// and answers its own name, except GetItemImage, which answers nothing.
class PluginHandler final : public RibbonElement {
public:
    PluginHandler() : RibbonElement(nullptr, MKString(L"plugin"), kBuiltIn) {}
    bool AppendXml(MKTextBuffer&) const override { return true; }

    struct Call {
        std::wstring operation;
        std::vector<std::wstring> arguments;
    };
    std::vector<Call> calls;
    bool raise = false;

#define PLAIN(op)                                             \
    HRESULT op(VARIANT* result) override                      \
    {                                                         \
        return Record(L## #op, {}, result);                   \
    }
#define ONE(op)                                               \
    HRESULT op(VARIANT* result, VARIANT* a) override          \
    {                                                         \
        return Record(L## #op, {Describe(a)}, result);        \
    }
    PLAIN(OnClick)
    PLAIN(GetVisible)
    PLAIN(GetEnabled)
    PLAIN(GetPressed)
    PLAIN(GetDescription)
    PLAIN(GetLabel)
    PLAIN(GetShowLabel)
    PLAIN(GetImage)
    PLAIN(GetShowImage)
    PLAIN(GetKeyTip)
    PLAIN(GetScreenTip)
    PLAIN(GetSuperTip)
    PLAIN(GetText)
    PLAIN(GetTitle)
    PLAIN(GetSize)
    PLAIN(GetItemCount)
    PLAIN(GetContent)
    PLAIN(GetSelectedItemID)
    PLAIN(GetSelectedItemIndex)
    PLAIN(GetItemWidth)
    PLAIN(GetItemHeight)
    ONE(OnToggleClick)
    ONE(GetItemLabel)
    ONE(GetItemScreenTip)
    ONE(GetItemSuperTip)
    ONE(GetItemID)
    ONE(OnChange)
#undef PLAIN
#undef ONE
    HRESULT GetItemImage(VARIANT*, VARIANT* index) override
    {
        calls.push_back({L"GetItemImage", {Describe(index)}});
        return S_OK;
    }
    HRESULT OnItemClick(VARIANT* result, VARIANT* selectedId, VARIANT* selectedIndex) override
    {
        return Record(L"OnItemClick", {Describe(selectedId), Describe(selectedIndex)}, result);
    }

private:
    HRESULT Record(const wchar_t* operation, std::vector<std::wstring> arguments, VARIANT* result)
    {
        calls.push_back({operation, arguments});
        if (raise)
            throw std::runtime_error("plug-in handler failed");
        return DispResult(result).SetText(operation);
    }
};

class PluginControls final : public ControlHandlerLookup {
public:
    RibbonControlHandler* FindControlHandler(const MKString& id) override
    {
        ++lookups;
        return id.EqualsText(L"pluginButton") ? &handler : nullptr;
    }
    PluginHandler handler;
    int lookups = 0;
};

// The add-in's controlling object as far as the ribbon needs it.
class Outer final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown)
            *out = static_cast<IUnknown*>(this);
        else if (iid == Office::IID_IRibbonExtensibility)
            *out = static_cast<Office::IRibbonExtensibility*>(&extension);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

    ULONG refs = 1;
    RibbonExtension extension{this, nullptr};
};

const wchar_t kFragment[] =
    L"<group id=\"pluginGroup\" label=\"Plug-in\">"
    L"<button id=\"pluginButton\" getLabel=\"GetLabel\" onAction=\"OnClick\" getScreentip=\"GetScreenTip\"/>"
    L"</group>";

class RibbonCallbackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.AddCustomElementXml(RibbonModel::kProductTabId, kFragment);
        outer.extension.SetModel(&model);
        ribbon = standin::RibbonHost::Load(&outer, L"Microsoft.PowerPoint.Presentation");
        ASSERT_NE(ribbon, nullptr);
        callbacks = outer.extension.GetCallbacks();
        ASSERT_NE(callbacks, nullptr);
    }

    ComScope com;
    PluginControls plugins;
    RibbonModel model{&plugins};
    Outer outer;
    std::unique_ptr<standin::RibbonHost> ribbon;
    RibbonCallbacks* callbacks = nullptr;
};

TEST_F(RibbonCallbackTest, TheHostLoadsTheModelsTextAndShowsTheControlsThroughTheCallbacks)
{
    MKString expected;
    ASSERT_TRUE(model.BuildCustomUI(expected));
    EXPECT_EQ(ribbon->Xml(), expected.GetText());
    EXPECT_EQ(ribbon->CallOnLoad(), S_OK);
    EXPECT_TRUE(callbacks->HasRibbonUi());

    ribbon->ShowControls();
    // The product tab answers from the model, the button from its plug-in.
    EXPECT_EQ(ribbon->ShownValue(L"VistelloTab", L"getLabel"), L"Vistello");
    EXPECT_EQ(ribbon->ShownValue(L"VistelloTab", L"getKeytip"), L"M");
    EXPECT_EQ(ribbon->ShownValue(L"VistelloTab", L"getVisible"), L"True");
    EXPECT_EQ(ribbon->ShownValue(L"pluginButton", L"getLabel"), L"GetLabel");
    EXPECT_EQ(ribbon->ShownValue(L"pluginButton", L"getScreentip"), L"GetScreenTip");
    EXPECT_EQ(plugins.lookups, 2);  // only for the button

    plugins.handler.calls.clear();
    EXPECT_EQ(ribbon->InvokeControl(L"pluginButton", L"onAction"), S_OK);
    ASSERT_EQ(plugins.handler.calls.size(), 1u);
    EXPECT_EQ(plugins.handler.calls[0].operation, L"OnClick");
    EXPECT_EQ(ribbon->Invoke(L"GetLabel", L"unknownControl"), E_FAIL);
}

TEST_F(RibbonCallbackTest, EveryCallbackNameHasItsDispidAndReachesItsOperationWithItsArguments)
{
    const struct {
        const wchar_t* name;
        DISPID id;
        std::vector<VARIANT> extra;
        std::vector<std::wstring> arguments;
        VARTYPE wrongType;  // of the second argument; VT_EMPTY: any type
    } cases[] = {
        {L"OnClick", 1, {}, {}, VT_EMPTY},
        {L"GetEnabled", 2, {}, {}, VT_EMPTY},
        {L"GetVisible", 3, {}, {}, VT_EMPTY},
        {L"GetPressed", 4, {}, {}, VT_EMPTY},
        {L"GetDescription", 5, {}, {}, VT_EMPTY},
        {L"GetImage", 6, {}, {}, VT_EMPTY},
        {L"GetLabel", 7, {}, {}, VT_EMPTY},
        {L"GetShowImage", 8, {}, {}, VT_EMPTY},
        {L"GetShowLabel", 9, {}, {}, VT_EMPTY},
        {L"GetKeyTip", 10, {}, {}, VT_EMPTY},
        {L"GetScreenTip", 11, {}, {}, VT_EMPTY},
        {L"GetSuperTip", 12, {}, {}, VT_EMPTY},
        {L"GetText", 13, {}, {}, VT_EMPTY},
        {L"OnChange", 14, {TextArg(L"typed")}, {L"BSTR:typed"}, VT_I4},
        {L"GetTitle", 15, {}, {}, VT_EMPTY},
        {L"GetSize", 16, {}, {}, VT_EMPTY},
        {L"GetItemCount", 17, {}, {}, VT_EMPTY},
        {L"GetItemLabel", 18, {IntArg(2)}, {L"I4:2"}, VT_BSTR},
        {L"GetItemScreenTip", 19, {IntArg(3)}, {L"I4:3"}, VT_BSTR},
        {L"GetItemSuperTip", 20, {IntArg(4)}, {L"I4:4"}, VT_BSTR},
        {L"GetItemImage", 21, {IntArg(5)}, {L"I4:5"}, VT_BSTR},
        {L"GetItemID", 22, {IntArg(6)}, {L"I4:6"}, VT_R8},
        {L"GetContent", 23, {}, {}, VT_EMPTY},
        {L"GetSelectedItemID", 24, {}, {}, VT_EMPTY},
        {L"GetSelectedItemIndex", 25, {}, {}, VT_EMPTY},
        {L"GetItemWidth", 26, {}, {}, VT_EMPTY},
        {L"GetItemHeight", 27, {}, {}, VT_EMPTY},
        {L"OnToggleClick", 30, {TypedArg(VT_BOOL)}, {L"BOOL:0"}, VT_EMPTY},
        {L"OnItemClick", 31, {TextArg(L"item7"), IntArg(7)}, {L"BSTR:item7", L"I4:7"}, VT_EMPTY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring name = c.name;
        LPOLESTR names[] = {name.data()};
        DISPID id = 0;
        ASSERT_EQ(callbacks->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
        EXPECT_EQ(id, c.id);

        plugins.handler.calls.clear();
        VARIANT result = TypedArg(VT_EMPTY);
        EXPECT_EQ(ribbon->Invoke(c.name, L"pluginButton", c.extra, &result), S_OK);
        ASSERT_EQ(plugins.handler.calls.size(), 1u);
        EXPECT_EQ(plugins.handler.calls[0].operation, c.name);
        EXPECT_EQ(plugins.handler.calls[0].arguments, c.arguments);
        if (c.id == 21) {
            // An item without image answers a null picture.
            EXPECT_EQ(result.vt, VT_DISPATCH);
            EXPECT_EQ(result.pdispVal, nullptr);
        } else {
            EXPECT_EQ(Describe(&result), std::wstring(L"BSTR:") + c.name);
        }
        VariantClear(&result);

        // One argument too many, and for the others one too few.
        std::vector<VARIANT> more = c.extra;
        more.push_back(IntArg(0));
        EXPECT_EQ(ribbon->Invoke(c.name, L"pluginButton", more), DISP_E_BADPARAMCOUNT);
        if (!c.extra.empty()) {
            std::vector<VARIANT> fewer(c.extra.begin(), c.extra.end() - 1);
            EXPECT_EQ(ribbon->Invoke(c.name, L"pluginButton", fewer), DISP_E_BADPARAMCOUNT);
        }
        if (c.wrongType != VT_EMPTY) {
            std::vector<VARIANT> wrong = c.extra;
            wrong[0] = TypedArg(c.wrongType);
            EXPECT_EQ(ribbon->Invoke(c.name, L"pluginButton", wrong), DISP_E_BADVARTYPE);
        }
        EXPECT_EQ(plugins.handler.calls.size(), 1u);
    }
}

TEST_F(RibbonCallbackTest, NamesAreExactAndTheFirstUnknownOneStopsTheLookup)
{
    std::wstring known = L"GetLabel";
    std::wstring lower = L"onClick";
    std::wstring onLoad = L"OnLoad";
    std::wstring loadImage = L"LoadImage";
    LPOLESTR names[] = {known.data(), lower.data(), onLoad.data()};
    DISPID ids[3] = {0, 0, 0};
    EXPECT_EQ(callbacks->GetIDsOfNames(IID_NULL, names, 3, 0, ids), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(ids[0], 7);
    LPOLESTR tail[] = {onLoad.data(), loadImage.data()};
    EXPECT_EQ(callbacks->GetIDsOfNames(IID_NULL, tail, 2, 0, ids), S_OK);
    EXPECT_EQ(ids[0], 28);
    EXPECT_EQ(ids[1], 29);
}

TEST_F(RibbonCallbackTest, ArgumentsThatAreNoControlAreRefused)
{
    auto invoke = [&](DISPID id, std::vector<VARIANT> inOrder) {
        std::vector<VARIANT> reversed(inOrder.rbegin(), inOrder.rend());
        DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
        VARIANT result = TypedArg(VT_EMPTY);
        HRESULT hr = callbacks->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        VariantClear(&result);
        return hr;
    };
    VARIANT unknown = TypedArg(VT_UNKNOWN);
    unknown.punkVal = &outer;
    VARIANT nullControl = TypedArg(VT_DISPATCH);
    EXPECT_EQ(invoke(0, {}), E_NOTIMPL);
    EXPECT_EQ(invoke(32, {}), E_NOTIMPL);
    EXPECT_EQ(invoke(7, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(invoke(7, {unknown}), DISP_E_BADVARTYPE);
    EXPECT_EQ(invoke(7, {nullControl}), E_INVALIDARG);
    // A control object that is no ribbon control has the empty id: no target.
    VARIANT notAControl = TypedArg(VT_DISPATCH);
    notAControl.pdispVal = outer.extension.GetCallbacks();
    EXPECT_EQ(invoke(7, {notAControl}), E_FAIL);
    EXPECT_EQ(invoke(29, {TextArg(L"image.png")}), S_OK);  // LoadImage
    EXPECT_EQ(invoke(28, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(invoke(28, {unknown}), DISP_E_BADVARTYPE);
    EXPECT_EQ(invoke(28, {nullControl}), E_INVALIDARG);
    EXPECT_TRUE(plugins.handler.calls.empty());
}

TEST_F(RibbonCallbackTest, OnLoadTwiceKeepsTheSecondRibbonAndInvalidatingReachesIt)
{
    callbacks->Invalidate(L"");  // nothing before OnLoad
    ASSERT_EQ(ribbon->CallOnLoad(), S_OK);
    auto second = standin::RibbonHost::Load(&outer, L"Microsoft.PowerPoint.Presentation");
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->CallOnLoad(), S_OK);
    callbacks->Invalidate(L"");
    callbacks->Invalidate(L"pluginButton");
    EXPECT_TRUE(ribbon->Ui()->Invalidations().empty());
    EXPECT_EQ(second->Ui()->Invalidations(), (std::vector<std::wstring>{L"", L"pluginButton"}));
}

TEST_F(RibbonCallbackTest, TheExtensionKeepsTheAddInsIdentityAndAFailingHandlerIsCaught)
{
    const ULONG held = outer.refs;  // the host's references
    IUnknown* identity = nullptr;
    ASSERT_EQ(outer.extension.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    ASSERT_EQ(callbacks->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(outer.extension.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    EXPECT_EQ(dispatch, static_cast<IDispatch*>(callbacks));
    dispatch->Release();
    ASSERT_EQ(callbacks->QueryInterface(RibbonCallbacks::kInterfaceId, reinterpret_cast<void**>(&dispatch)), S_OK);
    dispatch->Release();
    IUnknown* none = nullptr;
    EXPECT_EQ(callbacks->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    EXPECT_EQ(outer.refs, held);

    EXPECT_EQ(outer.extension.GetCustomUI(nullptr, nullptr), E_POINTER);
    RibbonExtension bare(&outer, nullptr);
    BSTR xml = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(bare.GetCustomUI(nullptr, &xml), E_FAIL);
    EXPECT_EQ(xml, nullptr);

    plugins.handler.raise = true;
    EXPECT_EQ(ribbon->Invoke(L"OnClick", L"pluginButton"), E_UNEXPECTED);
}

// The built add-in as PowerPoint 2010 meets it: its ribbon comes from the
// extension that the add-in object answers for, with the product tab alone.
TEST(BuiltAddInRibbonTest, PowerPointLoadsTheRibbonOfTheBuiltAddIn)
{
    ComScope com;
    ErrorBoxWatcher boxes;
    AddInLibrary library;
    RemoveAddInRegistration();
    ASSERT_EQ(library.RegisterServer(), S_OK);
    {
        standin::PowerPointHost host(L"14.0");
        host.Start();
        standin::RibbonHost* ribbon = host.Ribbon(L"Vistello.AddIn");
        ASSERT_NE(ribbon, nullptr);
        EXPECT_EQ(ribbon->Xml(), L"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" "
                                 L"onLoad=\"OnLoad\">  <ribbon><tabs></tabs>  </ribbon></customUI>");
        EXPECT_EQ(ribbon->CallOnLoad(), S_OK);
        // Nothing is installed beside the library: no plug-in added to it.
        EXPECT_EQ(boxes.Texts(),
                  std::vector<std::wstring>{L"Vistello cannot be started:\r\nThe application is not properly installed."});
        host.Shutdown();
    }
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
    RemoveAddInRegistration();
}

}  // namespace
