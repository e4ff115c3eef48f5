// The picture the control shows while it is not active: its movie's start
// frame, made once per drawn size and kept as a metafile.
#include "slidecontrol/FOfficeDoc.h"

#include "player/app/framework/MKCFlashWnd.h"

namespace {

constexpr int kMaxSnapshotSide = 6000;

int ClampSide(LONG side)
{
    return side < 1 ? 1 : side > kMaxSnapshotSide ? kMaxSnapshotSide : int(side);
}

void FillFace(HDC dc, const RECT& bounds)
{
    FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

HRESULT FOfficeDoc::OnDraw(HDC dc, const RECT& bounds)
{
    if (m_bFresh || !IsInPresentation())
        return S_OK;
    int w = ClampSide(bounds.right - bounds.left);
    int h = ClampSide(bounds.bottom - bounds.top);
    if (w != m_cxSnapshot || h != m_cySnapshot) {
        DropSnapshot();
        m_cxSnapshot = w;
        m_cySnapshot = h;
    }
    if (!m_hSnapshot) {
        HDC recorder = CreateMetaFileA(nullptr);
        if (recorder) {
            RenderSnapshot(recorder, RECT{0, 0, w, h});
            m_hSnapshot = CloseMetaFile(recorder);
        }
        if (!m_hSnapshot) {
            FillFace(dc, bounds);
            return S_OK;
        }
    }
    POINT origin;
    OffsetViewportOrgEx(dc, bounds.left, bounds.top, &origin);
    PlayMetaFile(dc, m_hSnapshot);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    return S_OK;
}

void FOfficeDoc::RenderSnapshot(HDC target, const RECT& bounds)
{
    if (m_properties.movie.IsEmpty() || m_header.version == 0) {
        FillFace(target, bounds);
        return;
    }
    // A hidden Flash control shows the start frame; it is made for this one
    // picture and gone again before the container's drawing call returns.
    int w = ClampSide(bounds.right - bounds.left);
    int h = ClampSide(bounds.bottom - bounds.top);
    MKCFlashWnd flash;
    if (!flash.Create(nullptr, WS_POPUP, RECT{0, 0, w, h}, GetDesktopWindow(), 0)) {
        FillFace(target, bounds);
        m_bFlashUnavailable = true;
        ShowFlashMissingOnce();
        return;
    }
    ConfigureFlash(flash);
    LoadMovieInto(flash);
    flash.GotoFrame(m_properties.startFrame);
    PaintFlash(flash.GetSafeHwnd(), target, w, h, bounds);
    flash.Destroy();
}

void FOfficeDoc::UpdateLiveSnapshot()
{
    HDC recorder = CreateMetaFileA(nullptr);
    if (!recorder)
        return;
    RECT window = {};
    GetWindowRect(m_pFlashWnd->GetSafeHwnd(), &window);
    PaintFlash(m_pFlashWnd->GetSafeHwnd(), recorder, ClampSide(window.right - window.left),
               ClampSide(window.bottom - window.top), window);
    HMETAFILE picture = CloseMetaFile(recorder);
    if (!picture)
        return;
    if (m_hSnapshot) {
        DeleteMetaFile(m_hSnapshot);
        m_hSnapshot = picture;
        m_cxSnapshot = window.right - window.left;
        m_cySnapshot = window.bottom - window.top;
    } else {
        DeleteMetaFile(picture);
    }
}

void FOfficeDoc::PaintFlash(HWND flash, HDC target, int w, int h, const RECT& faceRect)
{
    HDC screen = GetDC(nullptr);
    HDC memory = screen ? CreateCompatibleDC(screen) : nullptr;
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, w, h) : nullptr;
    if (screen && memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // The Flash control paints its current frame into a DC it is handed.
        SendMessageA(flash, WM_PAINT, WPARAM(memory), 0);
        BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
    } else {
        FillFace(target, faceRect);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    if (screen)
        ReleaseDC(nullptr, screen);
}

void FOfficeDoc::DropSnapshot()
{
    if (m_hSnapshot) {
        DeleteMetaFile(m_hSnapshot);
        m_hSnapshot = nullptr;
    }
}
