#include "addin/hosting/MovieSnapshot.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/PixelBuffer.h"
#include "addin/imaging/RasterImage.h"
#include "addin/hosting/FlashCalls.h"
#include "hostapi/FlashInterfaces.h"

#include <memory>

MovieSnapshot::MovieSnapshot()
{
    SetBackground(Transparent, 0, 0, 0, 0);
}

MovieSnapshot::~MovieSnapshot()
{
    // The control goes while this object's answers to its site still stand.
    DestroySite();
}

void MovieSnapshot::SetMovie(const MKString& path)
{
    if (path == m_movie)
        return;
    m_movie = path;
    if (!IsInPlaceActive())
        SetProperty(MKString(L"movie"), path);
}

void MovieSnapshot::SetBackground(int mode, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    m_mode = mode;
    m_colour[0] = red;
    m_colour[1] = green;
    m_colour[2] = blue;
    m_colour[3] = alpha;
    SetProperty(MKString(L"wmode"), MKString(mode == Opaque ? L"opaque" : L"transparent"));
}

IShockwaveFlash* MovieSnapshot::GetFlash() const
{
    IShockwaveFlash* flash = nullptr;
    if (FAILED(QueryControl(IID_IShockwaveFlash, reinterpret_cast<void**>(&flash))))
        return nullptr;
    return flash;
}

bool MovieSnapshot::OnSiteCreated()
{
    IShockwaveFlash* flash = GetFlash();
    if (!flash)
        return false;
    flash->DisableLocalSecurity();
    flash->Release();
    return true;
}

const CLSID* MovieSnapshot::GetControlClsid()
{
    return &CLSID_ShockwaveFlash;
}

HRESULT MovieSnapshot::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

RasterImage* MovieSnapshot::Render()
{
    const int width = GetWidth(), height = GetHeight();
    if (width <= 0 || height <= 0 || FAILED(CreateSite()))
        return nullptr;
    if (!IsInPlaceActive() && (FAILED(LoadControl(width, height)) || FAILED(Activate())))
        return nullptr;
    if (m_frame >= 0) {
        IShockwaveFlash* flash = GetFlash();
        if (!flash)
            return nullptr;
        HRESULT hr = flash->put_FrameNum(m_frame);
        flash->Release();
        if (FAILED(hr))
            return nullptr;
    }
    const RECT whole = {0, 0, width, height};
    const bool recoverAlpha = m_mode != Opaque && !(m_mode == OverColour && m_colour[3] == 255);
    std::unique_ptr<DibSurface> surface(DibSurface::Create(nullptr, width, height));
    if (!surface)
        return nullptr;
    if (recoverAlpha) {
        std::unique_ptr<DibSurface> white(DibSurface::Create(nullptr, width, height));
        if (!white)
            return nullptr;
        surface->FillBytes(whole, 0);
        white->FillBytes(whole, 255);
        surface->DrawViewObject(GetViewObject(), 0, 0, whole);
        white->DrawViewObject(GetViewObject(), 0, 0, whole);
        PixelBuffer black = surface->GetPixelBuffer();
        PixelBuffer::RecoverAlpha(black, white->GetPixelBuffer(), 0, 0, width, height, black);
        if (m_mode == OverColour && m_colour[3] != 0)
            PixelBuffer::CompositeOverColor(m_colour[0], m_colour[1], m_colour[2], m_colour[3], width, height, black, 0,
                                            0);
        return black.ToRasterImageRgba();
    }
    if (m_mode != Opaque)
        surface->Fill(whole, m_colour[0], m_colour[1], m_colour[2], m_colour[3]);
    surface->DrawViewObject(GetViewObject(), 0, 0, whole);
    // GDI leaves the alpha byte of what it draws at 0: the picture is opaque.
    surface->SetAlpha(0, 0, width, height, 255);
    return surface->GetPixelBuffer().ToRasterImageRgba();
}

HRESULT MovieSnapshot::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    return FlashCalls::DriveMoniker(moniker);
}
