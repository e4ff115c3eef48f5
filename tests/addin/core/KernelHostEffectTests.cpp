// The kernel host's effect data calls on stand-in PowerPoint effects: the
// marker and the data in the effect's last two command behaviours, the bytes
// read back, and addresses from the .NET side that name nothing usable.
#include "CoreTestSupport.h"

#include "addin/core/KernelHostObject.h"
#include "standins/powerpoint/AnimationBehaviorObject.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CommandEffectObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <gtest/gtest.h>

#include <string>

using standin::EffectObject;

namespace {

long Address(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<UINT_PTR>(pointer));
}

class KernelHostEffectTest : public ::testing::Test {
protected:
    KernelHostEffectTest() : core(&host)
    {
        host.core = &core;
        kernelHost = new KernelHostObject(&core, &host);
        standin::SlideObject* slide = office.App().AddPresentation(L"Effects.pptx")->AddSlide();
        shape = slide->AddShape(PowerPoint::msoAutoShape, L"Box", 0, 0, 100, 100);
        main = slide->TimeLine()->Main();
    }
    ~KernelHostEffectTest() override { kernelHost->Release(); }

    EffectObject* NewEffect(int commands)
    {
        EffectObject* effect =
            main->AddEffect(shape, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
        for (int i = 0; i < commands; ++i)
            effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"other");
        return effect;
    }
    static long EffectAddress(EffectObject* effect) { return Address(static_cast<PowerPoint::Effect*>(effect)); }
    static std::wstring Command(EffectObject* effect, size_t index)
    {
        return effect->Behaviors()->Items()[index]->Command()->Command();
    }
    // The data the kernel host reads back; the HRESULT goes to `hr`.
    std::string ReadBack(IUnknown* effect, HRESULT* hr)
    {
        long address = -1;
        long size = -1;
        *hr = kernelHost->ReadShapeEffectData(effect, &address, &size);
        void* block = reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<ULONG>(address)));
        std::string data = block ? std::string(static_cast<const char*>(block), size_t(size)) : "";
        if (FAILED(*hr)) {
            EXPECT_EQ(address, 0);
            EXPECT_EQ(size, 0);
        }
        CoTaskMemFree(block);
        return data;
    }

    ComScope com;
    TestCoreHost host;
    AddInCore core;
    IKernelHost* kernelHost = nullptr;
    standin::PowerPointHost office{L"14.0"};
    standin::ShapeObject* shape = nullptr;
    standin::SequenceObject* main = nullptr;
};

TEST_F(KernelHostEffectTest, WrittenMarkerAndDataLieInTheLastTwoCommandsAndReadBackExactly)
{
    EffectObject* effect = NewEffect(1);
    const wchar_t id[] = L"fx.kernel";
    const std::string bytes("\x00\x01\xFEkernel data\xFF", 15);
    ASSERT_EQ(kernelHost->WriteShapeEffect(EffectAddress(effect), Address(id), Address(bytes.data()),
                                           static_cast<long>(bytes.size())),
              S_OK);
    const auto& items = effect->Behaviors()->Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Command(effect, 0), L"other");
    EXPECT_EQ(Command(effect, 1), L"VistelloEffect:fx.kernel");
    EXPECT_EQ(Command(effect, 2).substr(0, 21), L"VistelloEffectData:ad");
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(items[i]->Type(), PowerPoint::msoAnimTypeCommand);
        EXPECT_EQ(items[i]->Command()->Type(), PowerPoint::msoAnimCommandTypeVerb);
        EXPECT_FLOAT_EQ(items[i]->Timing()->Values().duration, 0.001f);
    }
    HRESULT hr = E_UNEXPECTED;
    EXPECT_EQ(ReadBack(static_cast<PowerPoint::Effect*>(effect), &hr), bytes);
    EXPECT_EQ(hr, S_OK);

    // Without an id the marker stays and the data is replaced.
    const std::string second = "second";
    ASSERT_EQ(kernelHost->WriteShapeEffect(EffectAddress(effect), 0, Address(second.data()), 6), S_OK);
    EXPECT_EQ(Command(effect, 1), L"VistelloEffect:fx.kernel");
    EXPECT_EQ(ReadBack(static_cast<PowerPoint::Effect*>(effect), &hr), second);
}

TEST_F(KernelHostEffectTest, WritesAnswerFailForRefusedEffectsAndUnusableAddresses)
{
    EffectObject* two = NewEffect(2);
    EffectObject* fresh = NewEffect(0);
    const wchar_t id[] = L"id";
    const char bytes[] = "data";
    struct Case {
        const char* what;
        long effect;
        long id;
        long bytes;
        long length;
    };
    const Case cases[] = {
        {"two behaviours", EffectAddress(two), Address(id), Address(bytes), 4},
        {"no effect", 0, Address(id), Address(bytes), 4},
        {"effect address naming nothing", 16, Address(id), Address(bytes), 4},
        {"no effect interface", Address(static_cast<PowerPoint::Shape*>(shape)), Address(id), Address(bytes), 4},
        {"id address naming nothing", EffectAddress(fresh), 16, Address(bytes), 4},
        {"bytes naming nothing", EffectAddress(fresh), Address(id), 16, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(kernelHost->WriteShapeEffect(c.effect, c.id, c.bytes, c.length), E_FAIL);
    }
    EXPECT_EQ(two->Behaviors()->Items().size(), 2u);
    EXPECT_TRUE(fresh->Behaviors()->Items().empty());

    // No bytes: the marker alone and empty data.
    ASSERT_EQ(kernelHost->WriteShapeEffect(EffectAddress(fresh), 0, 0, 5), S_OK);
    EXPECT_EQ(Command(fresh, 0), L"VistelloEffect:");
    HRESULT hr = E_UNEXPECTED;
    EXPECT_EQ(ReadBack(static_cast<PowerPoint::Effect*>(fresh), &hr), "");
    EXPECT_EQ(hr, S_OK);
}

TEST_F(KernelHostEffectTest, ReadsAnswerFailWithoutTheMarkerOrAnEffect)
{
    EffectObject* unmarked = NewEffect(2);
    EffectObject* broken = NewEffect(0);
    broken->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffect:id");
    broken->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffectData:ad0");
    struct Case {
        const char* what;
        IUnknown* effect;
    };
    const Case cases[] = {
        {"no object", nullptr},
        {"no effect interface", static_cast<PowerPoint::Shape*>(shape)},
        {"no marker", static_cast<PowerPoint::Effect*>(unmarked)},
        {"data that does not decode", static_cast<PowerPoint::Effect*>(broken)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HRESULT hr = S_OK;
        EXPECT_EQ(ReadBack(c.effect, &hr), "");
        EXPECT_EQ(hr, E_FAIL);
    }
    long address = 0;
    EXPECT_EQ(kernelHost->ReadShapeEffectData(static_cast<PowerPoint::Effect*>(unmarked), &address, nullptr),
              E_POINTER);
}

}  // namespace
