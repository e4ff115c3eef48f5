#include "addin/hosting/BindHostService.h"
#include "addin/hosting/BindingManager.h"
#include "addin/hosting/UrlResolver.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "hostapi/FlashInterfaces.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/HostWindow.h"
#include "tests/standins/controlsupport/QueryAs.h"
#include "tests/standins/controlsupport/TestControlSite.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The Flash stand-in loading its movie through our bind host, as it does on
// a slide: names below the virtual root from the node's resolver, other names
// through Wine's urlmon.
namespace {

const wchar_t kMovieName[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\effect.swf";
const char kMovie[] = "standin-movie 1\nrate 50\nframe FF102030\nframe FF405060\n";

// Serves one movie from memory.
class MovieResolver final : public UrlResolver {
public:
    std::vector<std::wstring> requests;

    int ResolveUrl(int, const MKString& url, int* handled, IStream** stream, uint32_t* size) override
    {
        requests.push_back(url.GetText());
        const size_t length = sizeof(kMovie) - 1;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length);
        memcpy(GlobalLock(memory), kMovie, length);
        GlobalUnlock(memory);
        CreateStreamOnHGlobal(memory, TRUE, stream);
        *handled = 1;
        *size = uint32_t(length);
        return kReady;
    }
    void OnBindingPending(int, const MKString&, int) override {}
};

// The lines of the binding: the bind host's steps, the callbacks and the load.
std::vector<std::wstring> BindingLines(const ControlLogFile& log, bool withProgress)
{
    std::vector<std::wstring> lines;
    for (const std::wstring& line : log.Lines()) {
        const bool progress = line.find(L"flash bind OnProgress") == 0;
        if ((line.find(L"flash host ") == 0 || line.find(L"flash bind ") == 0 ||
             line.find(L"flash movie loaded") == 0) &&
            (withProgress || !progress))
            lines.push_back(line);
    }
    return lines;
}

// A path as the stand-in's log quotes it: backslashes doubled.
std::wstring Quoted(const std::wstring& path)
{
    std::wstring quoted = L"\"";
    for (wchar_t c : path) {
        if (c == L'\\')
            quoted += L'\\';
        quoted += c;
    }
    return quoted + L"\"";
}

class FlashBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registration.Registered());
        manager = new BindingManager(&resolver);
        manager->AddRef();
        IBindHost* host = nullptr;
        ASSERT_EQ(S_OK, BindHostService::Offer(manager, reinterpret_cast<void**>(&host)));
        site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, true, host);
        host->Release();
        ASSERT_EQ(S_OK, site->Create(CLSID_ShockwaveFlash, nullptr, &control));
        flash = QueryAs<IShockwaveFlash>(control, IID_IShockwaveFlash);
        ASSERT_NE(nullptr, flash);
        log.Clear();
    }
    void TearDown() override
    {
        if (flash)
            flash->Release();
        if (control) {
            TestControlSite::Destroy(control);
            control->Release();
        }
        site->Release();
        manager->StopAll();
        manager->ClearNode();
        manager->Release();
    }

    HRESULT PutMovie(const std::wstring& name)
    {
        BSTR text = SysAllocString(name.c_str());
        const HRESULT hr = flash->put_Movie(text);
        SysFreeString(text);
        return hr;
    }

    ComScope com;
    ControlRegistration registration{StandInControl::Flash10};
    ControlLogFile log;
    HostWindow window{160, 120};
    MovieResolver resolver;
    BindingManager* manager = nullptr;
    TestControlSite* site = nullptr;
    IOleObject* control = nullptr;
    IShockwaveFlash* flash = nullptr;
};

TEST_F(FlashBindingTest, VirtualRootMovieIsServedInsideTheBind)
{
    ASSERT_EQ(S_OK, PutMovie(kMovieName));
    const std::vector<std::wstring> golden = {
        L"flash host QueryService(SID_IBindHost) = 0x00000000",
        L"flash host CreateMoniker(\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\pack\\\\resources\\\\effect.swf\") "
        L"= 0x00000000",
        L"flash bind OnStartBinding",
        L"flash bind OnDataAvailable(5, " + std::to_wstring(sizeof(kMovie) - 1) + L")",
        L"flash bind OnStopBinding(0x00000001)",
        L"flash movie loaded 2 frames",
        L"flash host MonikerBindToStorage = 0x00000000",
    };
    EXPECT_EQ(golden, BindingLines(log, true));
    EXPECT_EQ(std::vector<std::wstring>{kMovieName}, resolver.requests);
    EXPECT_EQ(0, manager->GetBindingCount());
}

TEST_F(FlashBindingTest, LocalFileIsDownloadedByUrlmonThroughTheProxy)
{
    ScratchFolder folder;
    const std::wstring movie = folder.File(L"local.swf");
    const std::string bytes = "standin-movie 1\nframe FF008080\nframe FF800080\nframe FF808000\n";
    ASSERT_TRUE(WriteTextFile(movie, bytes));
    ASSERT_EQ(S_OK, PutMovie(movie));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"flash movie loaded 3 frames"); }, 10000));
    // Wine reads a local file within the bind: the data arrives whole before
    // MonikerBindToStorage returns, which also hands the stream back (the
    // stand-in then reads it once more and finds its end).
    const std::vector<std::wstring> golden = {
        L"flash host QueryService(SID_IBindHost) = 0x00000000",
        L"flash host CreateMoniker(" + Quoted(movie) + L") = 0x00000000",
        L"flash bind OnStartBinding",
        L"flash bind OnDataAvailable(13, " + std::to_wstring(bytes.size()) + L")",
        L"flash bind OnStopBinding(0x00000000)",
        L"flash movie loaded 3 frames",
        L"flash host MonikerBindToStorage = 0x00000000",
        L"flash bind OnDataAvailable(5, 0)",
    };
    EXPECT_EQ(golden, BindingLines(log, false));
    EXPECT_TRUE(log.Contains(L"flash bind OnProgress("));
    EXPECT_TRUE(resolver.requests.empty());
}

// A bind host that makes file monikers but refuses every bind, as a failing
// product bind host would.
class RefusingBindHost final : public IBindHost {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown || iid == IID_IBindHost ? this : nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE CreateMoniker(LPOLESTR name, IBindCtx*, IMoniker** moniker, DWORD) override
    {
        return CreateFileMoniker(name, moniker);
    }
    HRESULT STDMETHODCALLTYPE MonikerBindToStorage(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                                   void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                                  void**) override
    {
        return E_NOTIMPL;
    }

    ULONG refs = 1;
};

TEST(FlashBinding, AFailedBindIsTheAnswerEvenWhenTheFileIsOnDisk)
{
    ComScope com;
    ControlRegistration registration{StandInControl::Flash10};
    ASSERT_TRUE(registration.Registered());
    ControlLogFile log;
    HostWindow window{160, 120};
    ScratchFolder folder;
    const std::wstring movie = folder.File(L"on-disk.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe FF008080\n"));
    RefusingBindHost bindHost;
    auto* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, true, &bindHost);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_ShockwaveFlash, nullptr, &control));
    IShockwaveFlash* flash = QueryAs<IShockwaveFlash>(control, IID_IShockwaveFlash);
    ASSERT_NE(nullptr, flash);
    log.Clear();
    BSTR text = SysAllocString(movie.c_str());
    flash->put_Movie(text);
    SysFreeString(text);
    PumpUntil([] { return false; }, 200);
    std::vector<std::wstring> outcomes;
    for (const std::wstring& line : log.Lines()) {
        if (line.find(L"flash movie ") == 0)
            outcomes.push_back(line);
    }
    EXPECT_EQ(std::vector<std::wstring>{L"flash movie failed 0x80004002"}, outcomes);
    flash->Release();
    TestControlSite::Destroy(control);
    control->Release();
    site->Release();
}

}  // namespace
