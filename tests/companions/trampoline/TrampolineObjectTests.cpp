// The trampoline's OLE object linked in: verbs posted to the message window
// of the parent, the inert OLE members and the empty metafile picture.
#include "companions/trampoline/TrampolineClassFactory.h"
#include "companions/trampoline/TrampolineModule.h"
#include "companions/trampoline/VistelloTrampolineObject.h"

#include "fixtures/ComScope.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const wchar_t kMessageWindow[] = L"VistelloMessageWindow";

// A show window of the test's own with a child of the given class and title.
class ShowWindows {
public:
    ShowWindows(const wchar_t* childClass, const wchar_t* childTitle)
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kMessageWindow;
        m_class = RegisterClassW(&windowClass);
        parent = CreateWindowExW(0, L"STATIC", L"show", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        child = CreateWindowExW(0, childClass, childTitle, WS_CHILD, 0, 0, 1, 1, parent, nullptr,
                                windowClass.hInstance, nullptr);
    }
    ~ShowWindows()
    {
        DestroyWindow(parent);
        if (m_class)
            UnregisterClassW(kMessageWindow, GetModuleHandleW(nullptr));
    }
    ShowWindows(const ShowWindows&) = delete;
    ShowWindows& operator=(const ShowWindows&) = delete;

    // The verbs (wParam) of the verb messages waiting for the child.
    std::vector<WPARAM> TakeVerbs() const
    {
        UINT verbMessage = RegisterWindowMessageW(L"{7A121FE9-1253-48e4-9337-9205C2B179DF}");
        std::vector<WPARAM> verbs;
        MSG message;
        while (PeekMessageW(&message, child, 0, 0, PM_REMOVE)) {
            if (message.message == verbMessage && message.lParam == 0)
                verbs.push_back(message.wParam);
        }
        return verbs;
    }

    HWND parent = nullptr;
    HWND child = nullptr;

private:
    ATOM m_class = 0;
};

class TrampolineObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(factory.CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
        ASSERT_EQ(object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)), S_OK);
    }
    void TearDown() override
    {
        data->Release();
        object->Release();
        EXPECT_EQ(TrampolineLockCount(), 0);
    }

    static FORMATETC Format(CLIPFORMAT format, LONG index, DWORD media)
    {
        return FORMATETC{format, nullptr, DVASPECT_CONTENT, index, media};
    }

    ComScope com;
    TrampolineClassFactory factory;
    IOleObject* object = nullptr;
    IDataObject* data = nullptr;
};

TEST_F(TrampolineObjectTest, DoVerbPostsPositiveVerbsToTheMessageWindowOfTheParentOnly)
{
    ShowWindows show(kMessageWindow, kMessageWindow);
    for (LONG verb : {0L, 1L, 11L, -1L, OLEIVERB_HIDE, 42L})
        EXPECT_EQ(object->DoVerb(verb, nullptr, nullptr, 0, show.parent, nullptr), S_OK) << verb;
    EXPECT_EQ(show.TakeVerbs(), (std::vector<WPARAM>{1, 11, 42}));

    // The child itself, a dead window or none are not show windows.
    EXPECT_EQ(object->DoVerb(5, nullptr, nullptr, 0, show.child, nullptr), S_OK);
    EXPECT_EQ(object->DoVerb(5, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
    HWND dead = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(dead);
    EXPECT_FALSE(VistelloTrampolineObject::PostVerb(5, dead));
    EXPECT_TRUE(show.TakeVerbs().empty());
    EXPECT_TRUE(VistelloTrampolineObject::PostVerb(3, show.parent));
    EXPECT_EQ(show.TakeVerbs(), (std::vector<WPARAM>{3}));
}

TEST_F(TrampolineObjectTest, AChildOfAnotherTitleOrClassIsNotTheMessageWindow)
{
    ShowWindows otherTitle(kMessageWindow, L"Message");
    EXPECT_EQ(object->DoVerb(1, nullptr, nullptr, 0, otherTitle.parent, nullptr), S_OK);
    EXPECT_FALSE(VistelloTrampolineObject::PostVerb(1, otherTitle.parent));
    EXPECT_TRUE(otherTitle.TakeVerbs().empty());
    ShowWindows otherClass(L"STATIC", kMessageWindow);
    EXPECT_FALSE(VistelloTrampolineObject::PostVerb(1, otherClass.parent));
}

TEST_F(TrampolineObjectTest, OnlyTheMetafilePictureOfTheWholeObjectIsOffered)
{
    struct Case {
        FORMATETC format;
        HRESULT expected;
    };
    const Case cases[] = {
        {Format(CF_METAFILEPICT, -1, TYMED_MFPICT), S_OK},
        {Format(CF_METAFILEPICT, -1, TYMED_MFPICT | TYMED_HGLOBAL), S_OK},
        {Format(CF_METAFILEPICT, 0, TYMED_MFPICT), DV_E_FORMATETC},
        {Format(CF_METAFILEPICT, -1, TYMED_HGLOBAL), DV_E_FORMATETC},
        {Format(CF_ENHMETAFILE, -1, TYMED_MFPICT), DV_E_FORMATETC},
        {Format(static_cast<CLIPFORMAT>(0x10000 | CF_METAFILEPICT), -1, TYMED_MFPICT), S_OK},
    };
    for (const Case& c : cases) {
        FORMATETC format = c.format;
        EXPECT_EQ(data->QueryGetData(&format), c.expected) << format.lindex << " " << format.tymed;
        STGMEDIUM medium;
        memset(&medium, 0xA5, sizeof(medium));
        EXPECT_EQ(data->GetData(&format, &medium), c.expected);
        if (c.expected != S_OK) {
            EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_NULL));
            EXPECT_EQ(medium.hGlobal, nullptr);
            EXPECT_EQ(medium.pUnkForRelease, nullptr);
            continue;
        }
        ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_MFPICT));
        EXPECT_EQ(medium.pUnkForRelease, nullptr);
        EXPECT_EQ(GlobalSize(medium.hMetaFilePict), sizeof(METAFILEPICT));
        auto* picture = static_cast<METAFILEPICT*>(GlobalLock(medium.hMetaFilePict));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
        EXPECT_EQ(picture->xExt, 100);
        EXPECT_EQ(picture->yExt, 100);
        // An empty metafile: its header and the end record only.
        EXPECT_EQ(GetMetaFileBitsEx(picture->hMF, 0, nullptr), 18u + 6u);
        GlobalUnlock(medium.hMetaFilePict);
        ReleaseStgMedium(&medium);
    }
    EXPECT_EQ(data->QueryGetData(nullptr), DV_E_FORMATETC);
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), E_NOTIMPL);
    EXPECT_EQ(formats, nullptr);
}

// A sink that only counts its references.
class CountingSink : public IAdviseSink {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IAdviseSink) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override {}
    void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
    void STDMETHODCALLTYPE OnSave() override {}
    void STDMETHODCALLTYPE OnClose() override {}

    ULONG refs = 1;
};

TEST_F(TrampolineObjectTest, DataAdvisesGoToTheHolderMadeOnFirstUse)
{
    EXPECT_EQ(data->DUnadvise(1), E_FAIL);
    CountingSink sink;
    FORMATETC format = Format(CF_METAFILEPICT, -1, TYMED_MFPICT);
    DWORD connection = 77;
    ASSERT_EQ(data->DAdvise(&format, 0, &sink, &connection), S_OK);
    EXPECT_NE(connection, 0u);
    EXPECT_GT(sink.refs, 1u);
    EXPECT_EQ(data->DUnadvise(connection), S_OK);
    EXPECT_EQ(sink.refs, 1u);
    EXPECT_EQ(data->DUnadvise(connection), OLE_E_NOCONNECTION);
    // A sink still advised when the object goes is released with the holder.
    ASSERT_EQ(data->DAdvise(&format, 0, &sink, &connection), S_OK);
    data->Release();
    object->Release();
    EXPECT_EQ(sink.refs, 1u);
    ASSERT_EQ(factory.CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)), S_OK);
}

TEST_F(TrampolineObjectTest, TheInertMembersAnswerWithZeroedResults)
{
    SIZEL size = {5, 5};
    EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    IMoniker* moniker = reinterpret_cast<IMoniker*>(1);
    EXPECT_EQ(object->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_OBJFULL, &moniker), S_OK);
    EXPECT_EQ(moniker, nullptr);
    IOleClientSite* site = reinterpret_cast<IOleClientSite*>(1);
    EXPECT_EQ(object->GetClientSite(&site), S_OK);
    EXPECT_EQ(site, nullptr);
    IDataObject* clipboard = reinterpret_cast<IDataObject*>(1);
    EXPECT_EQ(object->GetClipboardData(0, &clipboard), S_OK);
    EXPECT_EQ(clipboard, nullptr);
    DWORD connection = 9;
    EXPECT_EQ(object->Advise(nullptr, &connection), S_OK);
    EXPECT_EQ(connection, 0u);
    DWORD status = 9;
    EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status, 0u);
    CLSID classId{};
    EXPECT_EQ(object->GetUserClassID(&classId), S_OK);
    EXPECT_EQ(classId, CLSID_VistelloTrampolineObject);
    EXPECT_EQ(object->GetUserClassID(nullptr), E_POINTER);
    EXPECT_EQ(object->EnumVerbs(nullptr), E_NOTIMPL);
    EXPECT_EQ(object->GetUserType(USERCLASSTYPE_FULL, nullptr), E_NOTIMPL);
    EXPECT_EQ(object->SetColorScheme(nullptr), E_NOTIMPL);
    EXPECT_EQ(object->EnumAdvise(nullptr), E_NOTIMPL);
    EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(object->Update(), S_OK);
    EXPECT_EQ(object->IsUpToDate(), S_OK);
    EXPECT_EQ(data->GetDataHere(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(data->SetData(nullptr, nullptr, FALSE), S_OK);
}

TEST_F(TrampolineObjectTest, TheInterfaceMapTheLockAndAggregation)
{
    EXPECT_EQ(TrampolineLockCount(), 1);
    IUnknown* identity = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(data->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    IUnknown* defaultInterface = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IVistelloTrampolineObject, reinterpret_cast<void**>(&defaultInterface)),
              S_OK);
    // IUnknown is answered by the first interface of the map.
    EXPECT_EQ(identity, defaultInterface);
    EXPECT_EQ(static_cast<IUnknown*>(dispatch), defaultInterface);
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(dispatch->GetTypeInfoCount(nullptr), E_POINTER);
    IPersist* persist = reinterpret_cast<IPersist*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), E_NOINTERFACE);
    EXPECT_EQ(persist, nullptr);
    identity->Release();
    dispatch->Release();
    defaultInterface->Release();

    EXPECT_EQ(factory.LockServer(TRUE), S_OK);
    EXPECT_EQ(TrampolineLockCount(), 2);
    EXPECT_EQ(factory.LockServer(FALSE), S_OK);

    // Aggregated, the object's interfaces speak for the outer object.
    IUnknown* outer = data;
    IUnknown* inner = nullptr;
    EXPECT_EQ(factory.CreateInstance(outer, IID_IOleObject, reinterpret_cast<void**>(&inner)), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory.CreateInstance(nullptr, IID_IOleObject, nullptr), E_POINTER);
    ASSERT_EQ(factory.CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    EXPECT_EQ(TrampolineLockCount(), 2);
    IOleObject* aggregated = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&aggregated)), S_OK);
    IUnknown* outerIdentity = nullptr;
    ASSERT_EQ(aggregated->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&outerIdentity)), S_OK);
    EXPECT_EQ(outerIdentity, identity);
    outerIdentity->Release();
    aggregated->Release();
    EXPECT_EQ(inner->Release(), 0u);
    EXPECT_EQ(TrampolineLockCount(), 1);
}

}  // namespace
