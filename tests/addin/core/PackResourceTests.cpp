// Node hosts a plug-in makes through its API object, served from the plug-in's
// module package (written by standin_install.py, signed and unsigned): the
// entries byte for byte, requests left alone, damaged entries refused, and
// how hosts and handlers are closed and let go.
#include "CoreTestSupport.h"
#include "fixtures/Fixtures.h"

#include "addin/core/ModulePluginPackage.h"
#include "addin/effects/PackResourceHandler.h"
#include "addin/effects/PackResourceHandlerList.h"
#include "addin/effects/Plugin.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/UrlParts.h"
#include "addin/update/ModulePackage.h"
#include "base/MKFile.h"
#include "base/MKRefHolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const wchar_t kTestRGuid[] = L"0A1B2C3D-0000-4000-8000-00000000000D";
const std::wstring kFolder = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\";

std::wstring ResourcesFixture(const std::wstring& name)
{
    return FixturePath((L"install\\resources\\" + name).c_str());
}

// The plain bytes of an entry as the writer left them beside the packages.
std::string EntryFile(const std::wstring& name)
{
    MKByteArray bytes;
    EXPECT_TRUE(MKReadFile(MKString(ResourcesFixture(L"TestR\\" + name).c_str()), bytes)) << name.c_str();
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), size_t(bytes.GetCount()));
}

long Address(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<UINT_PTR>(pointer));
}

// What a host handler made of one request.
struct Answer {
    bool answered = true;
    int32_t handled = -7;
    int code = 2;
    bool streamed = false;
    uint32_t size = 12345;
    std::string bytes;
};

class PackResourceTest : public AddInCoreTest {
protected:
    // Starts the core with the kernel and test plug-in R from the package
    // file, and makes an API object for R.
    void StartWith(const std::wstring& path)
    {
        package = std::make_unique<ModulePackage>();
        ASSERT_EQ(package->Open(MKString(path.c_str())), ModulePackageOk);
        view = std::make_unique<ModulePluginPackage>(*package);
        host.list.packages = {&kernel, view.get()};
        host.list.enabled = {true, true};
        core = std::make_unique<AddInCore>(&host);
        host.core = core.get();
        handlers = std::make_unique<PackResourceHandlerList>(core.get());
        host.packResources = handlers.get();
        ASSERT_TRUE(core->Start());
        plugin = core->FindPluginByGuid(MakeGuid(kTestRGuid));
        ASSERT_NE(plugin, nullptr);
        IUnknown* made = host.MakeApiObject(plugin);
        ASSERT_EQ(made->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&api)), S_OK);
        made->Release();
    }
    // Lets go of everything StartWith made, the handlers before the core.
    void Stop()
    {
        if (api)
            api->Release();
        api = nullptr;
        handlers.reset();
        host.packResources = nullptr;
        if (core)
            core->Stop();
        core.reset();
        view.reset();
        package.reset();
        plugin = nullptr;
    }
    void TearDown() override { Stop(); }

    // A node host made by the API object; the API object keeps the
    // plug-in's reference on it.
    NodeHost* MakeHost(long mouseTarget = 0, long keyTarget = 0)
    {
        BSTR prefix = SysAllocString(L"prefix");
        long address = 0;
        IDispatch* proxy = nullptr;
        EXPECT_EQ(api->CreateNodeHost(prefix, mouseTarget, keyTarget, &address, &proxy), S_OK);
        SysFreeString(prefix);
        EXPECT_NE(proxy, nullptr);
        if (proxy)
            proxy->Release();
        return reinterpret_cast<NodeHost*>(static_cast<UINT_PTR>(static_cast<ULONG>(address)));
    }

    static Answer Request(NodeHost* node, const std::wstring& url)
    {
        UrlParts parts;
        parts.Parse(MKString(url.c_str()));
        Answer answer;
        IStream* stream = nullptr;
        HostHandler* handler = node->GetHostHandler();
        EXPECT_NE(handler, nullptr);
        if (!handler)
            return answer;
        answer.answered = handler->ResolveNodeUrl(1, parts, answer.handled, stream, answer.size, answer.code);
        answer.streamed = stream != nullptr;
        if (stream) {
            char buffer[4096];
            ULONG got = 0;
            while (SUCCEEDED(stream->Read(buffer, sizeof(buffer), &got)) && got > 0)
                answer.bytes.append(buffer, got);
            stream->Release();
        }
        return answer;
    }

    std::unique_ptr<ModulePackage> package;
    std::unique_ptr<ModulePluginPackage> view;
    std::unique_ptr<AddInCore> core;
    std::unique_ptr<PackResourceHandlerList> handlers;
    Plugin* plugin = nullptr;
    IPluginApi* api = nullptr;
};

const wchar_t* const kEntries[] = {L"movie.swf", L"pages\\index.html", L"images\\strip.bin", L"empty.txt"};

TEST_F(PackResourceTest, AHostFromTheApiServesEveryEntryByteForByte)
{
    for (const wchar_t* file : {L"TestR.vmp", L"TestR_unsigned.vmp"}) {
        SCOPED_TRACE(testing::Message() << file);
        StartWith(ResourcesFixture(file));
        NodeHost* node = MakeHost();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(handlers->GetCount(), 1);
        for (const wchar_t* entry : kEntries) {
            SCOPED_TRACE(testing::Message() << entry);
            const Answer answer = Request(node, kFolder + entry);
            EXPECT_FALSE(answer.answered);
            EXPECT_EQ(answer.handled, 2);
            EXPECT_EQ(answer.code, 0);
            ASSERT_TRUE(answer.streamed);
            const std::string expected = EntryFile(entry);
            EXPECT_EQ(answer.size, expected.size());
            EXPECT_TRUE(answer.bytes == expected);
        }
        Stop();
    }
}

TEST_F(PackResourceTest, RequestsOutsideThePackResourcesFolderAreLeftAlone)
{
    StartWith(ResourcesFixture(L"TestR.vmp"));
    NodeHost* node = MakeHost();
    struct Case {
        std::wstring url;
        int32_t handled;  // -7: untouched
    };
    const Case cases[] = {
        {L"c:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\movie.swf", -7},
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\movie.swf", -7},
        {L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\movie.swf", -7},
        {L"http://example.com/pack/resources/movie.swf", -7},
        // In the folder but not in the package: taken, not served.
        {kFolder + L"missing.bin", 2},
        {kFolder + L"MOVIE.SWF", 2},
        {kFolder + L"pages", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.url.c_str());
        const Answer answer = Request(node, c.url);
        EXPECT_FALSE(answer.answered);
        EXPECT_EQ(answer.handled, c.handled);
        EXPECT_FALSE(answer.streamed);
        EXPECT_EQ(answer.code, 2);
        EXPECT_EQ(answer.size, 12345u);
    }
}

// Mend: the entry's digest is checked even in a package whose header is not
// signed, so damaged bytes never reach a control.
TEST_F(PackResourceTest, ADamagedEntryIsRefusedWhileTheOthersAreServed)
{
    for (const wchar_t* file : {L"TestR.vmp", L"TestR_unsigned.vmp"}) {
        SCOPED_TRACE(testing::Message() << file);
        MKByteArray bytes;
        ASSERT_TRUE(MKReadFile(MKString(ResourcesFixture(file).c_str()), bytes));
        ModulePackage original;
        ASSERT_EQ(original.Open(MKString(ResourcesFixture(file).c_str())), ModulePackageOk);
        for (const wchar_t* damaged : {L"movie.swf", L"pages\\index.html"}) {
            const ModuleEntry* entry = original.FindEntryByName(MKString(damaged));
            ASSERT_NE(entry, nullptr);
            bytes[entry->dataOffset + entry->storedSize / 2] ^= 0x20;
        }
        ScratchFolder scratch;
        const std::wstring path = scratch.File(L"TestR.vmp");
        ASSERT_TRUE(MKWriteFile(MKString(path.c_str()), bytes.GetData(), bytes.GetCount()));
        StartWith(path);
        NodeHost* node = MakeHost();
        for (const wchar_t* damaged : {L"movie.swf", L"pages\\index.html"}) {
            SCOPED_TRACE(testing::Message() << damaged);
            const Answer answer = Request(node, kFolder + damaged);
            EXPECT_EQ(answer.handled, 2);
            EXPECT_FALSE(answer.streamed);
        }
        const Answer intact = Request(node, kFolder + L"images\\strip.bin");
        ASSERT_TRUE(intact.streamed);
        EXPECT_TRUE(intact.bytes == EntryFile(L"images\\strip.bin"));
        Stop();
    }
}

TEST_F(PackResourceTest, TheHandlerSendsInputToTheGivenWindowsAndTakesNoKeysOrSnapshots)
{
    StartWith(ResourcesFixture(L"TestR.vmp"));
    NodeHost* node = MakeHost(0x1234, 0x5678);
    HostHandler* handler = node->GetHostHandler();
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->GetMouseTarget(), reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(handler->GetKeyTarget(), reinterpret_cast<HWND>(0x5678));
    EXPECT_EQ(handler->GetFocusWindow(), nullptr);
    int32_t keyState = 9;
    EXPECT_EQ(handler->TranslateKey(WM_KEYDOWN, 'A', 0, keyState), -1);
    EXPECT_EQ(keyState, 0);
    RectF bounds(1, 2, 3, 4);
    bool needed = true;
    handler->GetSnapshotArea(bounds, needed);
    EXPECT_FALSE(needed);
    EXPECT_EQ(bounds, RectF(1, 2, 3, 4));
    PackResourceHandler* own = handlers->Find(node);
    ASSERT_EQ(static_cast<HostHandler*>(own), handler);
    EXPECT_TRUE(IsEqualGUID(own->GetPluginGuid(), MakeGuid(kTestRGuid)));
    EXPECT_EQ(own->GetUrlPrefix(), MKString(L"prefix"));
}

TEST_F(PackResourceTest, AHostTakesOneHandlerAndOnlyFromAPlugin)
{
    StartWith(ResourcesFixture(L"TestR.vmp"));
    NodeHost* node = MakeHost();
    EXPECT_FALSE(handlers->Add(node, plugin, MKString(), nullptr, nullptr));
    EXPECT_FALSE(handlers->Add(nullptr, plugin, MKString(), nullptr, nullptr));
    MKRefHolder<NodeHost> fresh;
    fresh.Attach(new NodeHost(GetModuleHandleW(nullptr)));
    EXPECT_FALSE(handlers->Add(fresh.Get(), nullptr, MKString(), nullptr, nullptr));
    EXPECT_TRUE(handlers->Add(fresh.Get(), plugin, MKString(), nullptr, nullptr));
    EXPECT_EQ(handlers->GetCount(), 2);
    EXPECT_TRUE(handlers->Remove(fresh.Get()));
    EXPECT_EQ(fresh->GetHostHandler(), nullptr);
    EXPECT_FALSE(handlers->Remove(fresh.Get()));
    fresh->Close();
    EXPECT_FALSE(handlers->Add(fresh.Get(), plugin, MKString(), nullptr, nullptr));
    EXPECT_EQ(handlers->GetCount(), 1);
}

// Mend: CloseNode takes only the hosts the object made and still holds; any
// other address is refused instead of being used as a node.
TEST_F(PackResourceTest, CloseNodeClosesItsOwnHostsOnce)
{
    StartWith(ResourcesFixture(L"TestR.vmp"));
    NodeHost* node = MakeHost();
    NodeHost* other = MakeHost();
    MKRefHolder<NodeHost> keep;
    keep.AssignPointer(node);
    MKRefHolder<NodeHost> stranger;
    stranger.Attach(new NodeHost(GetModuleHandleW(nullptr)));
    struct Case {
        const char* what;
        long node;
        HRESULT expected;
    };
    const Case cases[] = {
        {"no node", 0, E_INVALIDARG},
        {"an address naming nothing", 16, E_INVALIDARG},
        {"a host made elsewhere", Address(stranger.Get()), E_INVALIDARG},
        {"its own host", Address(node), S_OK},
        {"the same host again", Address(node), E_INVALIDARG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(api->CloseNode(c.node), c.expected);
    }
    EXPECT_TRUE(node->IsClosed());
    EXPECT_EQ(node->GetHostHandler(), nullptr);
    EXPECT_FALSE(stranger->IsClosed());
    EXPECT_FALSE(other->IsClosed());
    EXPECT_EQ(handlers->GetCount(), 1);

    // The plug-in's unloading closes the hosts it still holds; afterwards
    // the object refuses.
    MKRefHolder<NodeHost> keepOther;
    keepOther.AssignPointer(other);
    static_cast<PluginApiObject*>(api)->Detach();
    EXPECT_TRUE(other->IsClosed());
    EXPECT_EQ(handlers->GetCount(), 0);
    EXPECT_EQ(api->CloseNode(Address(other)), E_FAIL);
    long address = 5;
    IDispatch* proxy = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(api->CreateNodeHost(nullptr, 0, 0, &address, &proxy), E_FAIL);
    EXPECT_EQ(address, 0);
    EXPECT_EQ(proxy, nullptr);
}

TEST_F(PackResourceTest, HostsOutliveTheirPluginAndTheListButServeNothing)
{
    StartWith(ResourcesFixture(L"TestR.vmp"));
    NodeHost* node = MakeHost();
    EXPECT_TRUE(Request(node, kFolder + L"movie.swf").streamed);
    plugin->Unload();
    const Answer answer = Request(node, kFolder + L"movie.swf");
    EXPECT_EQ(answer.handled, 2);
    EXPECT_FALSE(answer.streamed);
    // The list's end takes every handler off its host.
    handlers.reset();
    host.packResources = nullptr;
    EXPECT_EQ(node->GetHostHandler(), nullptr);
    EXPECT_FALSE(node->IsClosed());
    long address = 5;
    IDispatch* proxy = nullptr;
    EXPECT_EQ(api->CreateNodeHost(nullptr, 0, 0, &address, &proxy), E_FAIL);
    EXPECT_EQ(api->CreateNodeHost(nullptr, 0, 0, nullptr, &proxy), E_POINTER);
}

}  // namespace
