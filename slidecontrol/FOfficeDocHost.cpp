// Which Office application hosts the control, and PowerPoint's slide-show
// events.
#include "slidecontrol/FOfficeDoc.h"

#include "hostapi/PowerPointInterfaces.h"
#include "slidecontrol/OfficeHostApp.h"
#include "slidecontrol/PlovapointModule.h"
#include "slidecontrol/SlideShowEventHandler.h"

#include <new>

long FOfficeDoc::IsInPresentation()
{
    IOleClientSite* site = ClientSite();
    IOleContainer* container = nullptr;
    if (!site || FAILED(site->GetContainer(&container)) || !container)
        return 0;
    IUnknown* presentation = nullptr;
    long inPresentation = 0;
    if (SUCCEEDED(container->QueryInterface(PowerPoint::IID_Presentation, reinterpret_cast<void**>(&presentation))) &&
        presentation) {
        presentation->Release();
        inPresentation = 1;
    }
    container->Release();
    return inPresentation;
}

HRESULT FOfficeDoc::DetectHost()
{
    if (m_pHost)
        return S_OK;
    IOleClientSite* site = nullptr;
    HRESULT hr = static_cast<IOleObject*>(this)->GetClientSite(&site);
    if (FAILED(hr))
        return hr;
    hr = OfficeHostApp::FromClientSite(PlovapointModule::Instance(), site, &m_pHost);
    if (site)
        site->Release();
    return hr;
}

void FOfficeDoc::ConnectHostEvents()
{
    if (m_pHost)
        return;
    if (FAILED(DetectHost()) || !m_pHost || m_pHost->GetKind() != OfficeHostApp::kPowerPoint)
        return;
    m_pShowEvents = new (std::nothrow) SlideShowEventHandler();
    if (m_pShowEvents)
        m_pShowEvents->Connect(this, m_pHost);
}
