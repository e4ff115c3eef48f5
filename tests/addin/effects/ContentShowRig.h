#pragma once
#include "PluginTestSupport.h"
#include "ShowTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/StandInClr.h"

#include "addin/core/ClrHost.h"
#include "addin/core/EffectTypeLookup.h"
#include "addin/effects/ClrObject.h"
#include "addin/effects/Plugin.h"
#include "addin/effects/SlideShowController.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <functional>
#include <memory>
#include <vector>

// Shows with product shapes, as the slide-show tests and the latency
// benchmark run them: the kernel and the plug-in "TestA" (one effect type,
// content of kContentColour) loaded into the stand-in .NET runtime, a
// controller over the stand-in PowerPoint (14 unless told) with a test host
// that reaches both, and the pane's colours read back from the screen.
class ContentShowRig {
public:
    static constexpr DWORD kContentColour = 0xD02010;
    static constexpr COLORREF kShapeFill = RGB(128, 128, 128);
    // The product shape's rectangle in points.
    static constexpr float kShapeLeft = 200, kShapeTop = 150, kShapeWidth = 240, kShapeHeight = 180;

    // PowerPoint's version as the stand-in takes it, and its Office code.
    explicit ContentShowRig(const wchar_t* version = L"14.0", int officeCode = 1400);
    ~ContentShowRig();
    ContentShowRig(const ContentShowRig&) = delete;
    ContentShowRig& operator=(const ContentShowRig&) = delete;

    // Starts the runtime and loads both plug-ins, TestA's type with the
    // further fields given (EffectContentObject.h); false when a step fails.
    bool Start(const std::vector<std::pair<std::wstring, std::wstring>>& contentFields = {});
    // Loads a second plug-in, "TestB", with an effect type of its own
    // (after Start); false when a step fails.
    bool StartSecond();
    // A product shape of TestA's type (or the one given) with the rig's fill.
    standin::ShapeObject* AddProductShape(standin::SlideObject* slide, const wchar_t* name, float left, float top,
                                          float width, float height, EffectDataRecord* type = nullptr);
    // A speaker show of `slides` slides, its session begun; the slides listed
    // (from 1) hold a product shape, and `build` may add more to any slide
    // before the show runs. Null when the show does not run.
    standin::SlideShowWindowObject* RunShow(int slides, const std::vector<int>& withContent,
                                            const std::function<void(int, standin::SlideObject*)>& build = {});
    // One slide on, as PowerPoint tells the add-in (without pumping).
    void Next(standin::SlideShowWindowObject* show);
    // The colour the pane shows at a point of a 720 x 540 slide.
    static DWORD ColourAt(HWND pane, float x, float y, const wchar_t* label);

    ComScope com;
    StandInClr standIn;
    ClrHost clr;
    std::unique_ptr<ClrObject> loaderObject;
    TestPluginHost plugins;
    MemoryPackage kernelPackage{L"Kernel Package"};
    MemoryPackage package{L"Test Package"};
    std::unique_ptr<Plugin> kernel;
    std::unique_ptr<Plugin> plugin;
    IKernelPlugin* kernelApi = nullptr;
    // Registered by TestA; the rig holds one reference of its own.
    EffectDataRecord* record = nullptr;
    // TestB, when StartSecond loaded it; its type held as TestA's.
    MemoryPackage secondPackage{L"Second Package"};
    std::unique_ptr<Plugin> secondPlugin;
    EffectDataRecord* secondRecord = nullptr;
    standin::PowerPointHost powerPoint;
    TestShowHost host;
    std::unique_ptr<SlideShowController> controller;
    std::vector<standin::ShapeObject*> productShapes;

private:
    // The content types of the plug-in host's table, as the shape scan asks.
    class TableLookup final : public EffectTypeLookup {
    public:
        explicit TableLookup(EffectTypeTable& table) : m_table(table) {}
        EffectDataRecord* FindEffectTypeByContentType(BSTR contentType) override;

    private:
        EffectTypeTable& m_table;
    };

    TableLookup m_lookup{plugins.types};
};
