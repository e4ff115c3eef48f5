#include "DemoPresentation.h"

#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"

void AddDemoPresentation(standin::ApplicationObject& application)
{
    standin::PresentationObject* presentation = application.AddPresentation(L"Vistello Demo.pptx");
    standin::SlideObject* title = presentation->AddSlide();
    title->AddShape(PowerPoint::msoAutoShape, L"Title", 60, 40, 600, 80)->SetFill(true, RGB(40, 80, 220));
    standin::SlideObject* second = presentation->AddSlide();
    second->AddShape(PowerPoint::msoAutoShape, L"Box", 100, 100, 520, 340)->SetFill(true, RGB(40, 160, 60));
}
