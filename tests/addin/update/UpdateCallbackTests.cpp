// The kernel's callback object over an add-in linked into the test: the update
// settings it stores and the automatic check they start or stop, the update
// history as XML, and the update check object it hands out. The linked
// add-in's installation folder is the test program's.
#include "AddInTestSupport.h"
#include "LinkedAddIn.h"

#include "addin/core/AddInCoreServices.h"
#include "addin/core/PluginCallbackObject.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/UpdateCheckDispatch.h"
#include "addin/update/UpdateChecker.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UpdaterLink.h"
#include "base/MKFile.h"
#include "fixtures/ComScope.h"
#include "fixtures/LoopbackHttpServer.h"
#include "fixtures/VariantArgs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t kProductKey[] = L"Software\\Brelix Technologies\\Vistello";
const wchar_t kMachineProductKey[] = L"SOFTWARE\\Brelix Technologies\\Vistello";

VARIANT BoolArg(bool value)
{
    VARIANT arg = TypedArg(VT_BOOL);
    arg.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return arg;
}

// The value's line of "reg query", or empty.
std::string StoredLine(const char* name)
{
    for (const std::string& line : RegQuery(std::wstring(L"HKCU\\") + kProductKey)) {
        if (line.rfind(name, 0) == 0)
            return line;
    }
    return std::string();
}

class UpdateCallbackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ASSERT_NE(linked->addIn, nullptr);
        link = linked->addIn->GetUpdaterLink();
        ASSERT_NE(link, nullptr);
        folder = linked->addIn->GetModuleFolder();
        // The check is due and no history is kept.
        MKFileRemove(GetStateFilePath(folder));
        MKFileRemove(GetHistoryFilePath(folder));
        LoopbackHttpServer::Reply stall;
        stall.stall = true;
        ASSERT_TRUE(server.Start(stall));
        WriteText(HKEY_LOCAL_MACHINE, kMachineProductKey, L"UpdateService", server.Url(L""));
        services = std::make_unique<AddInCoreServices>(*linked->addIn);
        callback = new PluginCallbackObject(services.get());
        callback->AddRef();
    }
    void TearDown() override
    {
        callback->Release();
        linked.reset();
        server.Stop();
        MKFileRemove(GetStateFilePath(folder));
        MKFileRemove(GetHistoryFilePath(folder));
        ClearSettings();
    }
    static void ClearSettings()
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey, L"AutoCheckUpdates");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey, L"AutoInstallUpdates");
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kMachineProductKey, L"UpdateService");
    }

    // Invoke with the arguments in declared order.
    HRESULT Call(IDispatch* object, DISPID id, std::vector<VARIANT> args, VARIANT* result)
    {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(args.size()), 0};
        if (result)
            VariantInit(result);
        return object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
    }

    ComScope com;
    std::unique_ptr<LinkedAddIn> linked = std::make_unique<LinkedAddIn>();
    std::unique_ptr<AddInCoreServices> services;
    UpdaterLink* link = nullptr;
    MKString folder;
    LoopbackHttpServer server;
    PluginCallbackObject* callback = nullptr;
};

TEST_F(UpdateCallbackTest, TurningAutomaticChecksOffStopsTheRunningCheckAndIsStored)
{
    VARIANT result;
    ASSERT_EQ(Call(callback, 8, {BoolArg(true), BoolArg(false)}, nullptr), S_OK);
    ASSERT_NE(link->GetChecker(), nullptr);
    EXPECT_EQ(StoredLine("AutoCheckUpdates"), "AutoCheckUpdates    REG_DWORD    0x1");
    EXPECT_EQ(StoredLine("AutoInstallUpdates"), "AutoInstallUpdates    REG_DWORD    0x0");
    ASSERT_EQ(Call(callback, 7, {}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);

    ASSERT_EQ(Call(callback, 8, {BoolArg(false), BoolArg(true)}, nullptr), S_OK);
    EXPECT_EQ(link->GetChecker(), nullptr);
    EXPECT_EQ(StoredLine("AutoCheckUpdates"), "AutoCheckUpdates    REG_DWORD    0x0");
    EXPECT_EQ(StoredLine("AutoInstallUpdates"), "AutoInstallUpdates    REG_DWORD    0x1");
    ASSERT_EQ(Call(callback, 7, {}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    // Off means off: nothing starts a check on its own now.
    link->StartAutomaticCheck();
    EXPECT_EQ(link->GetChecker(), nullptr);
}

TEST_F(UpdateCallbackTest, TheHistoryIsNullWithoutAFileAndItsXmlWithOne)
{
    VARIANT result;
    ASSERT_EQ(Call(callback, 9, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(result.bstrVal, nullptr);

    ReadyRecord ready(folder);
    ready.version = MKVersion(4, 0);
    UpdateHistory history(folder);
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    ASSERT_TRUE(history.AddUpdate(ready, 1, false));
    ASSERT_TRUE(history.Save(nullptr));
    ASSERT_EQ(Call(callback, 9, {}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    ASSERT_NE(result.bstrVal, nullptr);
    EXPECT_EQ(MKString(result.bstrVal), history.WriteXml());
    VariantClear(&result);
}

TEST_F(UpdateCallbackTest, TheUpdateCheckObjectTakesTheCheckOverAndGoesQuietWithTheAddIn)
{
    link->StartAutomaticCheck();
    ASSERT_NE(link->GetChecker(), nullptr);
    VARIANT result;
    ASSERT_EQ(Call(callback, 1, {}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_DISPATCH);
    IDispatch* check = result.pdispVal;
    // The automatic check made way for the object's own.
    EXPECT_EQ(link->GetChecker(), nullptr);
    VARIANT answer;
    ASSERT_EQ(Call(check, 1, {}, &answer), S_OK);
    EXPECT_EQ(answer.boolVal, VARIANT_TRUE);
    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    ASSERT_EQ(Call(check, 3, {}, &answer), S_OK);
    EXPECT_EQ(answer.lVal, int32_t(UpdateCheckChecking));

    // A plug-in may hold the object after the add-in has gone: its check
    // stops with the add-in and every member then answers E_NOTIMPL.
    callback->Detach();
    linked.reset();
    EXPECT_EQ(Call(check, 3, {}, &answer), E_NOTIMPL);
    EXPECT_EQ(Call(check, 1, {}, &answer), E_NOTIMPL);
    VariantClear(&result);
}

}  // namespace
