#include "addin/hosting/FlashNode.h"

#include "addin/hosting/FlashCalls.h"
#include "addin/hosting/FlashNodeProxy.h"
#include "addin/hosting/SiteContainer.h"
#include "hostapi/FlashInterfaces.h"

namespace {

int KindOf(int windowMode)
{
    return windowMode == FlashNode::Transparent ? ActiveXNode::WindowlessKind : ActiveXNode::WindowedKind;
}

}  // namespace

FlashNode::FlashNode(int windowMode)
    : ActiveXNode(KindOf(windowMode), true), m_playerMajor(FlashCalls::InstalledVersion().major)
{
    if (windowMode < Window || windowMode > Gpu)
        windowMode = Window;
    if (m_playerMajor < 10 && (windowMode == Direct || windowMode == Gpu))
        windowMode = Window;
    m_windowMode = windowMode;
    SetProperty(MKString(L"wmode"), MKString(WindowModeName(windowMode)));
}

const wchar_t* FlashNode::WindowModeName(int windowMode)
{
    switch (windowMode) {
    case Transparent: return L"transparent";
    case Direct: return L"direct";
    case Gpu: return L"gpu";
    default: return L"window";
    }
}

void FlashNode::SetMovie(const MKString& movie)
{
    if (movie == m_movie)
        return;
    m_movie = movie;
    if (!IsControlActive())
        SetProperty(MKString(L"movie"), movie);
}

void FlashNode::SetFlashVars(const MKString& flashVars)
{
    if (flashVars == m_flashVars)
        return;
    m_flashVars = flashVars;
    if (!IsControlActive())
        SetProperty(MKString(L"flashvars"), flashVars);
}

NodeProxy* FlashNode::CreateProxy()
{
    return MakeNodeProxy<FlashNodeProxy>(this);
}

bool FlashNode::OnActivate()
{
    if (FAILED(CreateControl()) || FAILED(LoadProperties(GetPixelWidth(), GetPixelHeight())))
        return false;
    if (!IsWindowed())
        UpdateContent();
    return true;
}

bool FlashNode::OnStart()
{
    SetAnimating(true);
    const bool started = StartControl();
    if (!started)
        SetAnimating(false);
    return started;
}

bool FlashNode::ConnectEvents()
{
    IShockwaveFlash* flash = FlashCalls::Query(*this);
    if (!flash)
        return false;
    flash->DisableLocalSecurity();
    flash->Release();
    return true;
}

const CLSID* FlashNode::GetControlClsid()
{
    return &CLSID_ShockwaveFlash;
}

HRESULT FlashNode::InvokeAmbient(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    // The control's events reach the site's dispatch: accepted, not acted on.
    return FlashCalls::CheckEvent(id, params);
}

HRESULT FlashNode::GetContainer(IOleContainer** container)
{
    return SiteContainer::Create(container);
}

HRESULT FlashNode::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    return FlashCalls::DriveMoniker(moniker);
}
