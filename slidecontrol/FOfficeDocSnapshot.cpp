// The picture the control shows while it is not active: its movie's start
// frame, made once per drawn size and kept as a metafile.
#include "slidecontrol/FOfficeDoc.h"

#include "player/app/framework/MKCFlashWnd.h"
#include "slidecontrol/MovieSnapshot.h"

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
    // The movie engine draws the start frame: a control that was never
    // activated needs no Flash control, and nothing modal or visible happens
    // inside the container's drawing call.
    int w = ClampSide(bounds.right - bounds.left);
    int h = ClampSide(bounds.bottom - bounds.top);
    if (!RenderMovieFrame(m_properties.movie.GetData(), m_properties.movie.GetCount(), m_properties.startFrame, w, h,
                          target))
        FillFace(target, bounds);
}

void FOfficeDoc::UpdateLiveSnapshot()
{
    HDC recorder = CreateMetaFileA(nullptr);
    if (!recorder)
        return;
    RECT window = {};
    GetWindowRect(m_pFlashWnd->GetSafeHwnd(), &window);
    PaintLiveFlash(recorder, window);
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

void FOfficeDoc::PaintLiveFlash(HDC target, const RECT& windowRect)
{
    int w = ClampSide(windowRect.right - windowRect.left);
    int h = ClampSide(windowRect.bottom - windowRect.top);
    HDC screen = GetDC(nullptr);
    HDC memory = screen ? CreateCompatibleDC(screen) : nullptr;
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, w, h) : nullptr;
    if (screen && memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // The Flash control paints its current frame into a DC it is handed.
        SendMessageA(m_pFlashWnd->GetSafeHwnd(), WM_PAINT, WPARAM(memory), 0);
        BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
    } else {
        FillFace(target, windowRect);
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
