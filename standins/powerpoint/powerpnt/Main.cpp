// The stand-in PowerPoint as a program: starts the host with the COM add-ins
// of the Office add-in keys and runs until its main window is closed. With
// "/S" it shows a small built-in presentation. "/V:<version>" sets the
// version text (14.0 unless given).
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"

#include <objbase.h>
#include <shellapi.h>
#include <string>

namespace {

void ShowDemo(standin::ApplicationObject& application)
{
    standin::PresentationObject* presentation = application.AddPresentation(L"Demo.pptx");
    standin::SlideObject* first = presentation->AddSlide();
    first->AddShape(PowerPoint::msoAutoShape, L"Title", 60, 40, 600, 80)->SetFill(true, RGB(40, 80, 220));
    first->AddShape(PowerPoint::msoAutoShape, L"Box", 200, 200, 320, 240)->SetFill(true, RGB(230, 170, 20));
    standin::SlideObject* second = presentation->AddSlide();
    second->AddShape(PowerPoint::msoAutoShape, L"Box", 100, 100, 520, 340)->SetFill(true, RGB(40, 160, 60));
    PowerPoint::SlideShowWindow* window = nullptr;
    if (SUCCEEDED(presentation->Settings()->Run(&window)) && window)
        window->Release();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    std::wstring version = L"14.0";
    bool show = false;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i) {
        std::wstring argument = arguments[i];
        if (argument == L"/S" || argument == L"/s")
            show = true;
        else if (argument.compare(0, 3, L"/V:") == 0)
            version = argument.substr(3);
    }
    LocalFree(arguments);
    {
        standin::PowerPointHost host(version);
        ShowWindow(host.App().MainWindow(), SW_SHOWNORMAL);
        host.Start();
        if (show)
            ShowDemo(host.App());
        while (IsWindow(host.App().MainWindow()))
            standin::PowerPointHost::Pump(100);
        host.Shutdown();
    }
    CoUninitialize();
    return 0;
}
