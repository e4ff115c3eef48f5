// The control site over the stand-in Flash control: its fixed answers, the
// owner's questions, and the calls the control sees (the control's log).
#include "addin/hosting/ControlPropertyBag.h"
#include "addin/hosting/ControlSite.h"
#include "addin/hosting/ControlSiteOwner.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "hostapi/FlashInterfaces.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// An owner that answers what a windowless node would and records the rest.
class RecordingOwner : public ControlSiteOwner {
public:
    explicit RecordingOwner(HWND window) : m_window(window) { }

    const CLSID* GetControlClsid() override { return clsid; }
    HRESULT InvokeAmbient(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        ambients.push_back(id);
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT GetContainer(IOleContainer**) override { return E_NOTIMPL; }
    HRESULT ShowObject() override { return S_OK; }
    HRESULT OnShowWindow(bool) override { return S_OK; }
    void OnSave() override { }
    void OnViewChange(DWORD, LONG) override { }
    HRESULT SetMenu(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    HRESULT SetStatusText(LPCOLESTR) override { return E_NOTIMPL; }
    void OnFocusGained() override { focus.push_back(true); }
    void OnFocusLost() override { focus.push_back(false); }
    HRESULT GetWindow(HWND* window) override
    {
        *window = m_window;
        return S_OK;
    }
    HRESULT CanInPlaceActivate() override { return S_OK; }
    void OnInPlaceActivate() override { }
    HRESULT OnUIActivate() override { return S_OK; }
    HRESULT OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT RequestUIActivate() override { return S_OK; }
    void OnInPlaceActivateEx() override { }
    HRESULT GetDC(const RECT*, DWORD, HDC* dc) override
    {
        *dc = nullptr;
        return E_FAIL;
    }
    HRESULT ReleaseDC(HDC) override { return E_FAIL; }
    HRESULT InvalidateRect(const RECT*, bool, bool outside) override
    {
        invalidations.push_back(outside);
        return S_OK;
    }
    HRESULT QueryService(REFGUID, REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    void OnPropertyChanged(DISPID id) override { changed.push_back(id); }
    bool OnRequestEdit(DISPID) override { return true; }
    HRESULT GetOverrideKeyPath(MKString& key, DWORD) override
    {
        key = keyPath;
        return S_OK;
    }
    HRESULT GetHostInfo(DOCHOSTUIINFO*) override { return E_NOTIMPL; }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return E_NOTIMPL; }
    HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                   IOleInPlaceUIWindow*) override
    {
        return E_NOTIMPL;
    }
    HRESULT HideUI() override { return E_NOTIMPL; }
    HRESULT UpdateUI() override { return E_NOTIMPL; }

    const CLSID* clsid = &CLSID_ShockwaveFlash;
    std::vector<DISPID> ambients;
    std::vector<bool> focus;
    std::vector<bool> invalidations;
    std::vector<DISPID> changed;
    const wchar_t* keyPath = L"";

private:
    HWND m_window;
};

ControlSite* NewSite(ControlSiteOwner* owner)
{
    auto* site = new ControlSite(owner);
    site->AddRef();
    return site;
}

TEST(ControlSite, AnswersInterfacesFromItsTable)
{
    RecordingOwner owner(nullptr);
    ControlSite* site = NewSite(&owner);
    struct Case {
        const IID* iid;
        void* expected;
    };
    const Case cases[] = {
        {&IID_IUnknown, static_cast<IDispatch*>(site)},
        {&IID_IDispatch, static_cast<IDispatch*>(site)},
        {&IID_IOleClientSite, nullptr},
        {&IID_IAdviseSink, nullptr},
        {&IID_IStorage, static_cast<IStorage*>(site)},
        {&IID_IOleControlSite, static_cast<IOleControlSite*>(site)},
        {&IID_IOleInPlaceSite, static_cast<IOleInPlaceSiteWindowless*>(site)},
        {&IID_IOleInPlaceSiteEx, static_cast<IOleInPlaceSiteWindowless*>(site)},
        {&IID_IOleInPlaceSiteWindowless, static_cast<IOleInPlaceSiteWindowless*>(site)},
        {&IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(site)},
        {&IID_IServiceProvider, static_cast<IServiceProvider*>(site)},
        {&IID_IDocHostUIHandler, static_cast<IDocHostUIHandler2*>(site)},
        {&IID_IDocHostUIHandler2, static_cast<IDocHostUIHandler2*>(site)},
        {&IID_IOleWindow, nullptr},
        {&IID_IPropertyNotifySink, nullptr},
    };
    for (const Case& c : cases) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(c.expected ? S_OK : E_NOINTERFACE, site->QueryInterface(*c.iid, &out));
        EXPECT_EQ(c.expected, out);
        if (out)
            static_cast<IUnknown*>(out)->Release();
    }
    EXPECT_EQ(E_POINTER, site->QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(0u, site->Release());
}

TEST(ControlSite, ConvertsPixelsToHimetricRoundingToNearest)
{
    struct Case {
        int pixels, dpi, himetric;
    };
    const Case cases[] = {{100, 96, 2646},  {0, 96, 0},      {1, 96, 26},     {96, 96, 2540},
                          {100, 120, 2117}, {100, 72, 3528}, {-10, 96, -264}, {640, 96, 16933}};
    for (const Case& c : cases)
        EXPECT_EQ(c.himetric, ControlSite::PixelsToHimetric(c.pixels, c.dpi)) << c.pixels << " at " << c.dpi;
}

TEST(ControlSite, AnswersFourAmbientsAndPassesTheRestToItsOwner)
{
    RecordingOwner owner(nullptr);
    ControlSite* site = NewSite(&owner);
    struct Case {
        DISPID id;
        VARTYPE type;
        LONG value;
    };
    const Case cases[] = {{DISPID_AMBIENT_USERMODE, VT_BOOL, VARIANT_TRUE},
                          {DISPID_AMBIENT_UIDEAD, VT_BOOL, VARIANT_FALSE},
                          {DISPID_AMBIENT_BACKCOLOR, VT_I4, 0},
                          {DISPID_AMBIENT_APPEARANCE, VT_I4, 0}};
    for (const Case& c : cases) {
        for (WORD flags : {WORD(DISPATCH_PROPERTYGET), WORD(DISPATCH_METHOD)}) {
            VARIANT result;
            VariantInit(&result);
            DISPPARAMS none = {};
            ASSERT_EQ(S_OK, site->Invoke(c.id, IID_NULL, 0, flags, &none, &result, nullptr, nullptr));
            EXPECT_EQ(c.type, result.vt);
            EXPECT_EQ(c.value, c.type == VT_BOOL ? LONG(result.boolVal) : result.lVal);
        }
        // A caller that wants no result gets no write through a null pointer.
        EXPECT_EQ(E_POINTER, site->Invoke(c.id, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, nullptr, nullptr, nullptr));
    }
    EXPECT_TRUE(owner.ambients.empty());
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(
        DISP_E_MEMBERNOTFOUND,
        site->Invoke(DISPID_AMBIENT_LOCALEID, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, &result, nullptr, nullptr));
    EXPECT_EQ(std::vector<DISPID>{DISPID_AMBIENT_LOCALEID}, owner.ambients);

    EXPECT_EQ(S_OK, site->OnFocus(TRUE));
    EXPECT_EQ(S_OK, site->OnFocus(FALSE));
    EXPECT_EQ((std::vector<bool>{true, false}), owner.focus);

    LPOLESTR key = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(S_OK, site->GetOverrideKeyPath(&key, 0));
    EXPECT_EQ(nullptr, key);
    owner.keyPath = L"Software\\Vistello";
    EXPECT_EQ(S_OK, site->GetOverrideKeyPath(&key, 0));
    EXPECT_STREQ(L"Software\\Vistello", key);
    CoTaskMemFree(key);
    EXPECT_EQ(E_INVALIDARG, site->GetOverrideKeyPath(nullptr, 0));
    EXPECT_EQ(S_OK, site->SetClass(CLSID_ShockwaveFlash));
    EXPECT_EQ(0u, site->Release());
}

// A windowless stand-in Flash control under a site whose owner draws into a
// visible window.
class SiteWithFlash : public ::testing::Test {
protected:
    SiteWithFlash() : registration(StandInControl::Flash10)
    {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr, nullptr,
                                 nullptr);
        owner = std::make_unique<RecordingOwner>(window);
        site = NewSite(owner.get());
        bag = new ControlPropertyBag();
        bag->AddRef();
        bag->SetString(MKString(L"wmode"), MKString(L"transparent"));
        bag->SetExtent(40, 30);
    }
    ~SiteWithFlash() override
    {
        site->DestroyControl();
        site->Release();
        bag->Release();
        DestroyWindow(window);
    }

    // The lines about placing the control.
    std::vector<std::wstring> PlacementLines() const
    {
        std::vector<std::wstring> lines;
        for (const std::wstring& line : log.Lines()) {
            if (line.find(L"SetExtent") != std::wstring::npos || line.find(L"SetObjectRects") != std::wstring::npos)
                lines.push_back(line);
        }
        return lines;
    }

    ComScope com;
    ControlRegistration registration;
    ControlLogFile log;
    HWND window = nullptr;
    std::unique_ptr<RecordingOwner> owner;
    ControlSite* site = nullptr;
    ControlPropertyBag* bag = nullptr;
};

TEST_F(SiteWithFlash, TellsTheControlOnlyWhatChanged)
{
    site->SetObjectRect(RECT{1, 2, 41, 32});  // no control yet: only stored
    EXPECT_TRUE(PlacementLines().empty());
    EXPECT_EQ(E_FAIL, site->LoadProperties(bag));
    ASSERT_EQ(S_OK, site->CreateControl());
    ASSERT_EQ(S_OK, site->CreateControl());
    EXPECT_EQ(S_OK, site->LoadProperties(bag));
    ASSERT_EQ(S_OK, site->InPlaceActivate(RECT{10, 10, 60, 40}));
    EXPECT_TRUE(site->IsInPlaceActive());
    owner->invalidations.clear();
    site->SetObjectRect(RECT{10, 10, 60, 40});
    site->SetObjectRect(RECT{20, 10, 70, 40});
    site->SetObjectRect(RECT{20, 10, 120, 40});
    EXPECT_EQ(S_OK, site->InPlaceActivate(RECT{0, 0, 100, 30}));
    EXPECT_EQ((std::vector<std::wstring>{
                  L"flash IOleObject.SetExtent(1, 1323,794)",
                  L"flash IOleInPlaceObject.SetObjectRects(20,10,70,40, 20,10,70,40)",
                  L"flash IOleObject.SetExtent(1, 2646,794)",
                  L"flash IOleInPlaceObject.SetObjectRects(20,10,120,40, 20,10,120,40)",
                  L"flash IOleInPlaceObject.SetObjectRects(0,0,100,30, 0,0,100,30)",
              }),
              PlacementLines());
    // The control repaints from inside SetObjectRects: not outside a move.
    ASSERT_FALSE(owner->invalidations.empty());
    for (bool outside : owner->invalidations)
        EXPECT_FALSE(outside);

    int clientSites = 0;
    for (const std::wstring& line : log.Lines())
        clientSites += line == L"flash IOleObject.SetClientSite(site)";
    EXPECT_EQ(1, clientSites);
}

TEST_F(SiteWithFlash, HandsOutOneFrameAndOneDocumentWindow)
{
    ASSERT_EQ(S_OK, site->CreateControl());
    IOleInPlaceFrame* frames[2] = {};
    IOleInPlaceUIWindow* documents[2] = {};
    RECT position, clip;
    for (int i = 0; i < 2; ++i) {
        OLEINPLACEFRAMEINFO info = {sizeof(info), TRUE, window, reinterpret_cast<HACCEL>(1), 5};
        ASSERT_EQ(S_OK, site->GetWindowContext(&frames[i], &documents[i], &position, &clip, &info));
        EXPECT_FALSE(info.fMDIApp);
        EXPECT_EQ(nullptr, info.hwndFrame);
        EXPECT_EQ(0u, info.cAccelEntries);
    }
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(static_cast<IOleInPlaceFrame*>(site), frames[0]);
    EXPECT_EQ(documents[0], documents[1]);
    EXPECT_NE(nullptr, documents[0]);
    for (int i = 0; i < 2; ++i) {
        frames[i]->Release();
        documents[i]->Release();
    }
}

TEST_F(SiteWithFlash, ReportsWhatTheControlAnswersToLoading)
{
    ASSERT_EQ(S_OK, site->CreateControl());
    EXPECT_EQ(S_OK, site->LoadProperties(bag));
    EXPECT_EQ(E_FAIL, site->LoadProperties(nullptr));
    EXPECT_TRUE(log.Contains(L"flash property _ExtentX=\"40\" as VT_I4"));
    EXPECT_TRUE(log.Contains(L"flash property wmode=\"transparent\""));
    // The control still holds the client site it was given, though the site
    // does not answer for IOleClientSite itself.
    IOleObject* object = site->GetOleObject();
    IOleClientSite* client = nullptr;
    ASSERT_EQ(S_OK, object->GetClientSite(&client));
    ASSERT_NE(nullptr, client);
    void* out = nullptr;
    EXPECT_EQ(E_NOINTERFACE, client->QueryInterface(IID_IOleClientSite, &out));
    client->Release();
}

TEST(ControlSite, BalancesTheApartmentItEntersForTheControl)
{
    ControlRegistration registration(StandInControl::Flash10);
    HRESULT again = E_FAIL;
    bool created = false;
    std::thread([&] {
        RecordingOwner owner(nullptr);
        ControlSite* site = NewSite(&owner);
        created = SUCCEEDED(site->CreateControl());
        site->DestroyControl();
        site->Release();
        // Left as it was found: a first CoInitialize on this thread again.
        again = CoInitialize(nullptr);
        CoUninitialize();
    }).join();
    EXPECT_TRUE(created);
    EXPECT_EQ(S_OK, again);
}

TEST(ControlSite, AnswersTheFailureOfAnUnregisteredClass)
{
    ComScope com;
    RecordingOwner owner(nullptr);
    const CLSID nowhere = {0x1B2C3D4E, 0x5F60, 0x4718, {0x89, 0x9A, 0xAB, 0xBC, 0xCD, 0xDE, 0xEF, 0x01}};
    owner.clsid = &nowhere;
    ControlSite* site = NewSite(&owner);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, site->CreateControl());
    EXPECT_FALSE(site->HasControl());
    EXPECT_EQ(E_POINTER, site->InPlaceActivate(RECT{0, 0, 10, 10}));
    site->DestroyControl();
    EXPECT_EQ(0u, site->Release());
}

}  // namespace
