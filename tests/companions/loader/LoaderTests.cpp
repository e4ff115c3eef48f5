// The built VistelloLoaderAddIn.dll: its COM objects and the hand-over to a
// test add-in placed beside a copy of it, following the test's plan.
#include "testaddin/TestAddInPlan.h"

#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"

#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/LanguageSettingsObject.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

#include <string>

using standin::PowerPointHost;

namespace {

const CLSID kLoaderClass = {0xDF9F1320, 0xDF9A, 0x4E86, {0xB1, 0x83, 0x6D, 0x84, 0x3E, 0x88, 0x5D, 0x4B}};

std::wstring OutFile(const wchar_t* name)
{
    return std::wstring(VISTELLO_OUT_DIR) + L"\\" + name;
}

// A copy of the loader in a folder of its own, with the given library as
// VistelloAddIn.dll beside it (none when empty), loaded into the process.
class LoaderCopy {
public:
    LoaderCopy(const ScratchFolder& folder, const std::wstring& addIn)
        : addInPath(folder.File(L"VistelloAddIn.dll"))
    {
        std::wstring loaderPath = folder.File(L"VistelloLoaderAddIn.dll");
        CopyFileW(OutFile(L"VistelloLoaderAddIn.dll").c_str(), loaderPath.c_str(), FALSE);
        if (!addIn.empty())
            CopyFileW(addIn.c_str(), addInPath.c_str(), FALSE);
        module = LoadLibraryW(loaderPath.c_str());
    }
    ~LoaderCopy()
    {
        if (module)
            FreeLibrary(module);
    }
    LoaderCopy(const LoaderCopy&) = delete;
    LoaderCopy& operator=(const LoaderCopy&) = delete;

    template <class Function>
    Function Export(const char* name) const
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** out) const
    {
        return Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject")(classId, iid, out);
    }
    HRESULT CanUnloadNow() const { return Export<HRESULT(WINAPI*)()>("DllCanUnloadNow")(); }
    // The add-in's connection, through the class factory as Office makes it.
    Office::IDTExtensibility2* CreateConnection(IUnknown** addIn) const
    {
        IClassFactory* factory = nullptr;
        if (FAILED(GetClassObject(kLoaderClass, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
            return nullptr;
        factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(addIn));
        factory->Release();
        Office::IDTExtensibility2* connection = nullptr;
        if (*addIn)
            (*addIn)->QueryInterface(Office::IID_IDTExtensibility2, reinterpret_cast<void**>(&connection));
        return connection;
    }
    bool AddInLoaded() const { return GetModuleHandleW(addInPath.c_str()) != nullptr; }

    std::wstring addInPath;
    HMODULE module = nullptr;
};

class LoaderHandOverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t address[32];
        wsprintfW(address, L"%08lx", reinterpret_cast<unsigned long>(&plan));
        SetEnvironmentVariableW(kTestAddInPlanVariable, address);
        ASSERT_NE(loader.module, nullptr);
    }
    void TearDown() override { SetEnvironmentVariableW(kTestAddInPlanVariable, nullptr); }

    ComScope com;
    PowerPointHost host;
    ScratchFolder folder;
    LoaderCopy loader{folder, TestsBinPath(L"loader_test_addin.dll")};
    TestAddInPlan plan;
};

TEST_F(LoaderHandOverTest, TheAddInGetsTheRecordStartsAndTheLoaderFreesItsLoadOnceWmUserIsHandled)
{
    IUnknown* addIn = nullptr;
    Office::IDTExtensibility2* connection = loader.CreateConnection(&addIn);
    ASSERT_NE(connection, nullptr);
    IDispatch* application = host.App().AsDispatch();
    IDispatch* instance = host.App().Languages();
    EXPECT_EQ(connection->OnConnection(application, Office::ext_cm_Startup, instance, nullptr), S_OK);

    EXPECT_STREQ(plan.calls, "cns");
    EXPECT_EQ(plan.info.size, 28);
    EXPECT_EQ(plan.info.version, 1);
    EXPECT_EQ(plan.info.loaderModule, loader.module);
    EXPECT_EQ(plan.info.application, application);
    EXPECT_EQ(plan.info.loaderAddIn, instance);
    EXPECT_EQ(plan.info.addInModule, GetModuleHandleW(loader.addInPath.c_str()));
    EXPECT_EQ(plan.info.reserved, 0);
    // Started: the library stays until the add-in handles its message.
    EXPECT_TRUE(loader.AddInLoaded());
    EXPECT_EQ(connection->OnConnection(application, Office::ext_cm_Startup, instance, nullptr), S_OK);
    EXPECT_STREQ(plan.calls, "cns");

    PowerPointHost::Pump(50);
    EXPECT_STREQ(plan.calls, "cnsud");
    EXPECT_FALSE(loader.AddInLoaded());

    // Handed over: a later connection starts again from the beginning.
    memset(plan.calls, 0, sizeof(plan.calls));
    EXPECT_EQ(connection->OnDisconnection(Office::ext_dm_UserClosed, nullptr), S_OK);
    EXPECT_EQ(connection->OnConnection(application, Office::ext_cm_AfterStartup, instance, nullptr), S_OK);
    EXPECT_STREQ(plan.calls, "cns");
    connection->Release();
    // Office lets go before the hand-over: the add-in is destroyed and freed.
    EXPECT_EQ(addIn->Release(), 0u);
    EXPECT_STREQ(plan.calls, "cnsd");
    EXPECT_FALSE(loader.AddInLoaded());
    PowerPointHost::Pump(30);
    EXPECT_STREQ(plan.calls, "cnsd");
    // The add-in held the last reference on its factory.
    EXPECT_EQ(loader.CanUnloadNow(), S_OK);
}

TEST_F(LoaderHandOverTest, EveryRefusalLeavesTheLoaderConnectedWithTheLibraryFreed)
{
    struct Case {
        bool create;
        int32_t needsStart;
        bool start;
        const char* calls;
    };
    const Case cases[] = {
        {false, 1, true, "c"},   {true, 0, true, "cnd"},  {true, 2, true, "cnd"},
        {true, -1, true, "cnd"}, {true, 1, false, "cnsd"},
    };
    for (const Case& c : cases) {
        plan = TestAddInPlan{};
        plan.create = c.create;
        plan.needsStart = c.needsStart;
        plan.start = c.start;
        IUnknown* addIn = nullptr;
        Office::IDTExtensibility2* connection = loader.CreateConnection(&addIn);
        ASSERT_NE(connection, nullptr);
        EXPECT_EQ(connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_Startup, nullptr, nullptr), S_OK);
        EXPECT_STREQ(plan.calls, c.calls) << c.calls;
        EXPECT_FALSE(loader.AddInLoaded()) << c.calls;
        PowerPointHost::Pump(20);
        EXPECT_STREQ(plan.calls, c.calls) << c.calls;
        connection->Release();
        EXPECT_EQ(addIn->Release(), 0u);
        EXPECT_STREQ(plan.calls, c.calls) << c.calls;
    }
}

TEST_F(LoaderHandOverTest, TheLoadersWindowProcedureLeavesWindowsWithoutATableToTheSystem)
{
    IUnknown* addIn = nullptr;
    Office::IDTExtensibility2* connection = loader.CreateConnection(&addIn);
    ASSERT_NE(connection, nullptr);
    plan.start = false;
    connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_Startup, nullptr, nullptr);
    ASSERT_NE(plan.windowProc, nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = plan.windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LoaderProcedureWithoutTable";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 0);
    EXPECT_TRUE(DestroyWindow(window));
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    EXPECT_STREQ(plan.calls, "cnsd");
    connection->Release();
    addIn->Release();
}

TEST_F(LoaderHandOverTest, TheObjectsAnswerTheirInterfacesAndRefuseBadArguments)
{
    IClassFactory* factory = nullptr;
    void* out = &factory;
    EXPECT_EQ(loader.GetClassObject(IID_IClassFactory, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(loader.GetClassObject(kLoaderClass, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(loader.GetClassObject(kLoaderClass, IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(loader.CanUnloadNow(), S_OK);
    ASSERT_EQ(loader.GetClassObject(kLoaderClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(loader.CanUnloadNow(), S_FALSE);

    IUnknown* outer = host.App().AsDispatch();
    IUnknown* object = nullptr;
    EXPECT_EQ(factory->CreateInstance(outer, IID_IDispatch, reinterpret_cast<void**>(&object)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->Release(), 2u);  // the add-in and the lock hold it
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);

    IDispatch* dispatch = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), E_NOINTERFACE);
    EXPECT_EQ(dispatch, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
    Office::IDTExtensibility2* connection = nullptr;
    ASSERT_EQ(object->QueryInterface(Office::IID_IDTExtensibility2, reinterpret_cast<void**>(&connection)), S_OK);
    ASSERT_EQ(connection->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    EXPECT_EQ(dispatch, static_cast<IDispatch*>(connection));
    UINT count = 7;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), E_FAIL);
    dispatch->Release();
    IUnknown* identity = nullptr;
    ASSERT_EQ(connection->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    // One identity: the connection answers IUnknown with the add-in's own.
    EXPECT_EQ(identity, object);
    identity->Release();
    IClassFactory* none = nullptr;
    EXPECT_EQ(connection->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    EXPECT_EQ(connection->OnConnection(nullptr, Office::ext_cm_Startup, nullptr, nullptr), E_POINTER);
    EXPECT_STREQ(plan.calls, "");
    EXPECT_EQ(connection->OnStartupComplete(nullptr), S_OK);
    EXPECT_EQ(connection->OnAddInsUpdate(nullptr), S_OK);
    EXPECT_EQ(connection->OnBeginShutdown(nullptr), S_OK);
    // The connection counts on its owner.
    EXPECT_EQ(connection->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(loader.CanUnloadNow(), S_OK);
}

TEST(LoaderMissingAddInTest, AMissingLibraryOrExportLoadsNothingAndStillConnects)
{
    ComScope com;
    PowerPointHost host;
    // Nothing beside the loader, then a library without the export (a second
    // copy of the loader).
    for (bool withLibrary : {false, true}) {
        ScratchFolder folder;
        LoaderCopy loader(folder, withLibrary ? OutFile(L"VistelloLoaderAddIn.dll") : L"");
        IUnknown* addIn = nullptr;
        Office::IDTExtensibility2* connection = loader.CreateConnection(&addIn);
        ASSERT_NE(connection, nullptr);
        EXPECT_EQ(connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_Startup, nullptr, nullptr), S_OK);
        EXPECT_FALSE(loader.AddInLoaded());
        EXPECT_EQ(connection->OnDisconnection(Office::ext_dm_HostShutdown, nullptr), S_OK);
        connection->Release();
        EXPECT_EQ(addIn->Release(), 0u);
    }
}

}  // namespace
