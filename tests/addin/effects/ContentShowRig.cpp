#include "ContentShowRig.h"

#include "fixtures/StandInAssembly.h"
#include "fixtures/WindowCapture.h"

#include "addin/core/AddInModule.h"
#include "addin/core/AssemblyName.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/PaneSubclassRegistry.h"
#include "base/MKSafeArray.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/TagsObject.h"

#include <algorithm>
#include <string.h>

namespace {

const wchar_t kKernelName[] = L"Vistello.Kernel, Version=2.1.0.5, Culture=neutral, PublicKeyToken=null";
const wchar_t kTestName[] = L"TestA, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null";
const wchar_t kTypeGuid[] = L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B";
const wchar_t kSecondName[] = L"TestB, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null";
// Its usage id (the low 24 bits of the words' exclusive-or) differs from TestA's.
const wchar_t kSecondTypeGuid[] = L"6D1F2A3C-4C5D-4E6F-8A9B-0C1D2E3F4A5B";

}  // namespace

EffectDataRecord* ContentShowRig::TableLookup::FindEffectTypeByContentType(BSTR contentType)
{
    return m_table.FindByContentType(MKString(contentType ? contentType : L""));
}

ContentShowRig::ContentShowRig(const wchar_t* version, int officeCode)
    : powerPoint(version), host(powerPoint, officeCode)
{
}

ContentShowRig::~ContentShowRig()
{
    controller.reset();
    if (kernelApi)
        kernelApi->Release();
    if (record)
        record->Release();
    if (secondRecord)
        secondRecord->Release();
    secondPlugin.reset();
    plugin.reset();
    kernel.reset();
    plugins.events.Release();
    plugins.loader.Release();
    loaderObject.reset();
    clr.Stop();
}

bool ContentShowRig::Start(const std::vector<std::pair<std::wstring, std::wstring>>& contentFields)
{
    if (!ModuleInstance())
        SetModuleInstance(GetModuleHandleW(nullptr));
    PaneSubclassRegistry::CreateInstance();
    if (!clr.Start(L"VistelloDomain", true))
        return false;
    MKSafeArray image(VT_UI1);
    std::string bytes = LoaderAssembly().Bytes();
    if (!image.Create(static_cast<int>(bytes.size())))
        return false;
    memcpy(image.AccessData(), bytes.data(), bytes.size());
    image.Unaccess();
    AssemblyName* assembly = clr.LoadAssemblyImage(image, nullptr);
    loaderObject.reset(assembly ? assembly->CreateInstance(L"Brelix.Vistello.PPTPluginLoader") : nullptr);
    IPPTPluginLoader* loader = nullptr;
    if (!loaderObject ||
        FAILED(loaderObject->QueryInterface(IID_IPPTPluginLoader, reinterpret_cast<void**>(&loader))))
        return false;
    plugins.loader.Attach(loader);

    kernelPackage.AddAssembly(kKernelName,
                              StandInAssembly(kKernelName)
                                  .Type(L"Brelix.Vistello.Kernel", {{L"Kind", L"kernel"},
                                                                    {L"Guid", L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a"},
                                                                    {L"Name", L"Vistello Kernel"}})
                                  .Bytes(),
                              true);
    kernel = std::make_unique<Plugin>(&plugins, &kernelPackage);
    plugins.kernel = kernel.get();
    if (!kernel->Initialize() ||
        FAILED(kernel->GetInterface()->QueryInterface(IID_IKernelPlugin, reinterpret_cast<void**>(&kernelApi))))
        return false;

    const GUID type = MakeGuid(kTypeGuid);
    package.AddType(type, L"Type A");
    std::vector<std::pair<std::wstring, std::wstring>> fields = {{L"Kind", L"plugin"},
                                                                  {L"Guid", L"0A1B2C3D-0000-4000-8000-00000000000A"},
                                                                  {L"Name", L"TestA"},
                                                                  {L"ContentColor", L"D02010"}};
    fields.insert(fields.end(), contentFields.begin(), contentFields.end());
    package.AddAssembly(kTestName, StandInAssembly(kTestName).Type(L"Test.TestA", fields).Bytes(), true);
    plugin = std::make_unique<Plugin>(&plugins, &package);
    if (!plugin->Initialize() || plugin->RegisterEffectType(type, &record) <= 0 || !record)
        return false;
    record->AddRef();
    host.types = &m_lookup;
    host.kernel = kernelApi;
    standIn.ClearLog();
    return true;
}

bool ContentShowRig::StartSecond()
{
    const GUID type = MakeGuid(kSecondTypeGuid);
    secondPackage.AddType(type, L"Type B");
    secondPackage.AddAssembly(kSecondName,
                              StandInAssembly(kSecondName)
                                  .Type(L"Test.TestB", {{L"Kind", L"plugin"},
                                                        {L"Guid", L"0A1B2C3D-0000-4000-8000-00000000000B"},
                                                        {L"Name", L"TestB"},
                                                        {L"ContentColor", L"1020D0"}})
                                  .Bytes(),
                              true);
    secondPlugin = std::make_unique<Plugin>(&plugins, &secondPackage);
    if (!secondPlugin->Initialize() || secondPlugin->RegisterEffectType(type, &secondRecord) <= 0 || !secondRecord)
        return false;
    secondRecord->AddRef();
    return true;
}

standin::ShapeObject* ContentShowRig::AddProductShape(standin::SlideObject* slide, const wchar_t* name, float left,
                                                      float top, float width, float height, EffectDataRecord* type)
{
    standin::ShapeObject* shape = slide->AddShape(PowerPoint::msoAutoShape, name, left, top, width, height);
    shape->SetFill(true, kShapeFill);
    shape->Tags()->Set(L"_VQZ_CT", std::wstring((type ? type : record)->GetContentType().GetText()));
    return shape;
}

standin::SlideShowWindowObject* ContentShowRig::RunShow(int slides, const std::vector<int>& withContent,
                                                        const std::function<void(int, standin::SlideObject*)>& build)
{
    standin::PresentationObject* presentation = powerPoint.App().AddPresentation(L"Layers.pptx");
    productShapes.clear();
    for (int i = 1; i <= slides; ++i) {
        standin::SlideObject* slide = presentation->AddSlide();
        if (std::find(withContent.begin(), withContent.end(), i) != withContent.end())
            productShapes.push_back(
                AddProductShape(slide, L"Product", kShapeLeft, kShapeTop, kShapeWidth, kShapeHeight));
        if (build)
            build(i, slide);
    }
    presentation->SetSaved(-1);
    PowerPoint::SlideShowWindow* window = nullptr;
    if (FAILED(presentation->Settings()->Run(&window)) || !window)
        return nullptr;
    window->Release();
    auto* show = static_cast<standin::SlideShowWindowObject*>(window);
    controller = std::make_unique<SlideShowController>(&host);
    controller->AttachShowWindow(show);
    controller->OnSlideShowBegin(show);
    return controller->GetSessionCount() == 1 ? show : nullptr;
}

void ContentShowRig::Next(standin::SlideShowWindowObject* show)
{
    show->View()->GoNext();
    controller->OnNextSlide(show);
}

DWORD ContentShowRig::ColourAt(HWND pane, float x, float y, const wchar_t* label)
{
    int width = 0, height = 0;
    std::vector<DWORD> pixels = CapturePane(pane, label, width, height, true);
    if (pixels.empty())
        return 0xFFFFFFFF;
    float scale = std::min(width / 720.0f, height / 540.0f);
    int left = static_cast<int>((width - 720.0f * scale) / 2);
    int top = static_cast<int>((height - 540.0f * scale) / 2);
    int px = left + static_cast<int>(x * scale);
    int py = top + static_cast<int>(y * scale);
    return pixels[static_cast<size_t>(py * width + px)] & 0xFFFFFF;
}
