#pragma once
// The plug-in manager's side for tests over the stand-in .NET runtime: an
// installed list held in memory, an add-in that records what the manager asks
// of it, and a fixture with the kernel and two test plug-ins.
#include "../effects/PluginTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/CountedDispatch.h"
#include "fixtures/StandInAssembly.h"
#include "fixtures/StandInClr.h"

#include "addin/core/AddInCore.h"
#include "addin/core/AddInCoreHost.h"
#include "addin/core/EnvironmentInfo.h"
#include "addin/core/InstalledPluginList.h"
#include "addin/core/PluginApiObject.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideVisitLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const wchar_t kKernelName[];
std::string KernelAssembly();
std::wstring PluginName(const wchar_t* name);
std::string PluginAssembly(const wchar_t* name, const wchar_t* guid);

// An installed list held in memory: the kernel package first.
class MemoryPluginList final : public InstalledPluginList {
public:
    int Load() override { return loadResult; }
    bool DropIncompatible(const MKVersion&, const MKVersion&) override { return !packages.empty() && kernelFirst; }
    int GetCount() const override { return static_cast<int>(packages.size()); }
    bool IsEnabled(int index) const override { return enabled[static_cast<size_t>(index)]; }
    const PluginPackage* GetPackage(int index) const override
    {
        return index >= 0 && index < GetCount() ? packages[static_cast<size_t>(index)] : nullptr;
    }
    MKVersion GetKernelVersion() const override { return MKVersion(2, 1, 0, 5); }

    int loadResult = 0;
    bool kernelFirst = true;
    std::vector<const PluginPackage*> packages;
    std::vector<bool> enabled;
};

class TestCoreHost final : public AddInCoreHost {
public:
    HINSTANCE GetModuleInstance() override { return GetModuleHandleW(nullptr); }
    void ShowErrorBox(const wchar_t* text) override { errors.push_back(text); }
    InstalledPluginList* MakeInstalledPluginList() override
    {
        auto* made = new MemoryPluginList(list);
        return made;
    }
    MKVersion GetOfficeVersion() override { return MKVersion(14, 0, 0, 0); }
    EnvironmentInfo* GetEnvironment() override { return &environment; }
    PlayerVersionCache* GetPlayerVersions() override { return players; }
    void AddFeature(uint32_t usageId) override { features.push_back(usageId); }
    void CountUse(uint32_t usageId) override { uses.push_back(usageId); }
    IDispatch* MakeKernelHostObject() override
    {
        kernelHost.AddRef();
        return &kernelHost;
    }
    IDispatch* MakeCallbackObject(KernelPlugin*) override
    {
        callback.AddRef();
        return &callback;
    }
    PackResourceHandlerList* GetPackResources() override { return packResources; }
    const SlideVisitLog* FindShowEventLog(PowerPoint::SlideShowWindow* window) override
    {
        return shows ? shows->FindVisitLog(window) : nullptr;
    }
    IUnknown* MakeApiObject(Plugin* plugin) override
    {
        ++apiObjects;
        return static_cast<IPluginApi*>(new PluginApiObject(plugin, core, this));
    }
    void DetachPluginObject(IUnknown* object) override
    {
        ++detached;
        IPluginApi* api = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&api)))) {
            static_cast<PluginApiObject*>(api)->Detach();
            api->Release();
        }
    }
    void InvalidateRibbon(const MKString& id) override { invalidated.push_back(id.GetText()); }
    void StopSlideShowSession() override { ++stoppedShows; }

    MemoryPluginList list;
    EnvironmentInfo environment;
    PlayerVersionCache* players = nullptr;
    std::vector<std::wstring> errors;
    std::vector<uint32_t> features;
    std::vector<uint32_t> uses;
    CountedDispatch kernelHost;
    CountedDispatch callback;
    AddInCore* core = nullptr;
    PackResourceHandlerList* packResources = nullptr;
    // The slide shows the add-in follows, as the add-in's connection holds
    // them; none when null.
    SlideShowController* shows = nullptr;
    int apiObjects = 0;
    std::vector<std::wstring> invalidated;
    int detached = 0;
    int stoppedShows = 0;
};

class AddInCoreTest : public ::testing::Test {
protected:
    AddInCoreTest() : kernel(L"Kernel Package"), first(L"First Package"), second(L"Second Package")
    {
        kernel.AddEntry(L"quintarel.dll", LoaderAssembly().Bytes());
        kernel.AddAssembly(kKernelName, KernelAssembly(), true);
        first.AddAssembly(PluginName(L"TestA"), PluginAssembly(L"TestA", L"0a1b2c3d-0000-4000-8000-00000000000a"), true);
        second.AddAssembly(PluginName(L"TestB"), PluginAssembly(L"TestB", L"0a1b2c3d-0000-4000-8000-00000000000b"),
                           true);
        host.list.packages = {&kernel, &first, &second};
        host.list.enabled = {true, true, true};
    }

    ComScope com;
    StandInClr clr;
    MemoryPackage kernel;
    MemoryPackage first;
    MemoryPackage second;
    TestCoreHost host;
};
