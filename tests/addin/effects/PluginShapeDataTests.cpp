// The data a plug-in's effect types keep in a stand-in shape's tags, reached
// through the plug-in record by type index: both forms, deletion, and the
// answers for bad types and objects.
#include "PluginTestSupport.h"

#include "addin/effects/Plugin.h"
#include "base/MKCoTaskMemBuffer.h"
#include "fixtures/ComScope.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using standin::CallLog;

namespace {

const GUID kType = MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B");
// PowerPoint keeps tag names in upper case.
const std::wstring kStored = L"_VQZ_6D1F2A3B4C5D4E6F8A9B0C1D2E3F4A5B_STATE$";
const MKString kName(L"State");

class PluginShapeDataTest : public ::testing::Test {
protected:
    PluginShapeDataTest() : package(L"Package"), plugin(&host, &package)
    {
        package.AddType(kType, L"Type");
        standin::SlideObject* slide = office.App().AddPresentation(L"Data.pptx")->AddSlide();
        shape = slide->AddShape(PowerPoint::msoAutoShape, L"Box", 0, 0, 100, 100);
    }
    void SetUp() override { ASSERT_EQ(plugin.RegisterEffectType(kType, nullptr), 1); }
    void TearDown() override { CallLog::Get().ClearFailures(); }

    IUnknown* Shape() const { return static_cast<PowerPoint::Shape*>(shape); }
    std::vector<std::wstring> TagNames() const
    {
        std::vector<std::wstring> names;
        for (const auto& entry : shape->Tags()->Entries())
            names.push_back(entry.first);
        return names;
    }
    HRESULT Write(const std::string& data, bool single)
    {
        return plugin.WriteShapeData(1, Shape(), kName, reinterpret_cast<const uint8_t*>(data.data()),
                                     static_cast<int>(data.size()), single);
    }
    HRESULT Read(bool single, std::string& data)
    {
        MKCoTaskMemBuffer buffer;
        int length = -1;
        const HRESULT hr = plugin.ReadShapeData(1, Shape(), kName, single, buffer, &length);
        data = hr == S_OK && length > 0 ? std::string(static_cast<const char*>(buffer.Data()), size_t(length)) : "";
        return hr;
    }

    ComScope com;
    standin::PowerPointHost office{L"14.0"};
    standin::ShapeObject* shape = nullptr;
    MemoryPackage package;
    TestPluginHost host;
    Plugin plugin;
};

TEST_F(PluginShapeDataTest, ChunkedDataGivesItsSizeAndReadsBack)
{
    int size = 0;
    EXPECT_EQ(plugin.GetShapeDataSize(1, Shape(), kName, &size), S_OK);
    EXPECT_EQ(size, -1);
    std::string data;
    EXPECT_EQ(Read(false, data), S_FALSE);

    ASSERT_EQ(Write("chunked payload", false), S_OK);
    EXPECT_EQ(TagNames(), (std::vector<std::wstring>{kStored + L"1", kStored + L"0"}));
    EXPECT_EQ(plugin.GetShapeDataSize(1, Shape(), kName, &size), S_OK);
    EXPECT_EQ(size, 15);
    EXPECT_EQ(Read(false, data), S_OK);
    EXPECT_EQ(data, "chunked payload");

    // A negative length deletes the data.
    EXPECT_EQ(plugin.WriteShapeData(1, Shape(), kName, nullptr, -1, false), S_OK);
    EXPECT_TRUE(TagNames().empty());
    EXPECT_EQ(plugin.GetShapeDataSize(1, Shape(), kName, &size), S_OK);
    EXPECT_EQ(size, -1);
}

TEST_F(PluginShapeDataTest, SingleDataIsOneTagBesideTheChunkedForm)
{
    ASSERT_EQ(Write("chunked", false), S_OK);
    ASSERT_EQ(Write("single", true), S_OK);
    EXPECT_EQ(TagNames(),
              (std::vector<std::wstring>{kStored + L"1", kStored + L"0", kStored}));
    std::string data;
    EXPECT_EQ(Read(true, data), S_OK);
    EXPECT_EQ(data, "single");
    EXPECT_EQ(Read(false, data), S_OK);
    EXPECT_EQ(data, "chunked");
    // The single form has no header: its size is not told.
    int size = 0;
    EXPECT_EQ(plugin.DeleteShapeData(1, Shape(), kName, false), S_OK);
    EXPECT_EQ(plugin.GetShapeDataSize(1, Shape(), kName, &size), S_OK);
    EXPECT_EQ(size, -1);
    EXPECT_EQ(plugin.DeleteShapeData(1, Shape(), kName, true), S_OK);
    EXPECT_TRUE(TagNames().empty());
    EXPECT_TRUE(FAILED(Read(true, data)));
}

TEST_F(PluginShapeDataTest, EveryCallRefusesBadTypesAndObjectsAlike)
{
    IUnknown* tags = static_cast<PowerPoint::Tags*>(shape->Tags());
    struct Case {
        const char* what;
        int index;
        IUnknown* object;
        const wchar_t* failing;  // a stand-in call made to fail
        HRESULT expected;
    };
    const Case cases[] = {
        {"index 0", 0, Shape(), nullptr, E_FAIL},
        {"index beyond the table", 2, Shape(), nullptr, E_FAIL},
        {"no shape", 1, nullptr, nullptr, E_POINTER},
        {"no shape interface", 1, tags, nullptr, E_NOINTERFACE},
        {"tags unreadable", 1, Shape(), L"Shape.get_Tags", E_INVALIDARG},
    };
    const uint8_t byte = 7;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.failing)
            CallLog::Get().Fail(c.failing, E_FAIL);
        int size = 5;
        MKCoTaskMemBuffer buffer;
        int length = 5;
        EXPECT_EQ(plugin.GetShapeDataSize(c.index, c.object, kName, &size), c.expected);
        EXPECT_EQ(size, -1);
        EXPECT_EQ(plugin.WriteShapeData(c.index, c.object, kName, &byte, 1, false), c.expected);
        EXPECT_EQ(plugin.ReadShapeData(c.index, c.object, kName, false, buffer, &length), c.expected);
        EXPECT_EQ(length, 0);
        EXPECT_EQ(plugin.DeleteShapeData(c.index, c.object, kName, true), c.expected);
        CallLog::Get().ClearFailures();
    }
    EXPECT_TRUE(TagNames().empty());
}

TEST_F(PluginShapeDataTest, ATypeUnregisteredSinceTakesNoCalls)
{
    ASSERT_EQ(Write("data", true), S_OK);
    plugin.Unload();
    std::string data;
    EXPECT_EQ(Read(true, data), E_FAIL);
    EXPECT_EQ(TagNames().size(), 1u);
}

}  // namespace
