#include "player/engine/WGLView.h"

#include <initializer_list>
#include <new>

#include "player/engine/GLTable.h"

namespace {

// A colour component of `bits` bits widened to a byte, as the 8-bit
// palette formats lay it out.
BYTE ComponentLevel(int index, int shift, int bits)
{
    static const BYTE kOne[] = {0, 255};
    static const BYTE kTwo[] = {0, 85, 170, 255};
    static const BYTE kThree[] = {0, 36, 73, 109, 146, 182, 219, 255};
    const int value = (index >> shift) & ((1 << bits) - 1);
    switch (bits) {
    case 1:
        return kOne[value];
    case 2:
        return kTwo[value];
    case 3:
        return kThree[value];
    default:
        return 0;
    }
}

// The system colours a 3-3-2 palette keeps at fixed places, so the desktop
// looks right while the view is in front.
struct SystemEntry {
    int index;
    BYTE red, green, blue;
};
constexpr SystemEntry kSystemColors[] = {
    {3, 128, 0, 0},       {24, 0, 128, 0},      {27, 128, 128, 0},    {64, 0, 0, 128},
    {67, 128, 0, 128},    {88, 0, 128, 128},    {173, 192, 192, 192}, {181, 192, 220, 192},
    {236, 166, 202, 240}, {247, 255, 251, 240}, {164, 160, 160, 164}, {91, 128, 128, 128},
};

}  // namespace

WGLView::~WGLView()
{
    if (context_) {
        if (gGL.wglMakeCurrent)
            gGL.wglMakeCurrent(nullptr, nullptr);
        if (gGL.wglDeleteContext)
            gGL.wglDeleteContext(context_);
    }
    if (dc_) {
        if (palette_) {
            SelectPalette(dc_, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
            DeleteObject(palette_);
        }
        ReleaseDC(window_, dc_);
    }
    if (holdsTable_)
        ReleaseGLTable();
}

HDC WGLView::DeviceContext()
{
    if (!dc_)
        dc_ = GetDC(window_);
    return dc_;
}

int WGLView::Create(int depthBits, bool stencil)
{
    if (!holdsTable_) {
        if (LoadGLTable() != 0)
            return kNoLibrary;
        holdsTable_ = true;
    }
    if (context_) {
        gGL.wglDeleteContext(context_);
        context_ = nullptr;
    } else if (!SetPixelFormat(depthBits, stencil)) {
        return kNoPixelFormat;
    }
    context_ = gGL.wglCreateContext(DeviceContext());
    if (!context_)
        return kNoContext;
    if (!gGL.wglMakeCurrent(dc_, context_))
        return 0;

    gGL.glDrawBuffer(GL_BACK);
    gGL.glClear(GL_COLOR_BUFFER_BIT);
    const GLfloat localViewer[] = {1.0f};
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    gGL.glLightModelfv(GL_LIGHT_MODEL_LOCAL_VIEWER, localViewer);
    gGL.glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    const GLfloat plane[] = {1, 1, 1, 1};
    for (GLenum coord : {GL_S, GL_T, GL_R, GL_Q}) {
        gGL.glTexGenfv(coord, GL_OBJECT_PLANE, plane);
        gGL.glTexGenfv(coord, GL_EYE_PLANE, plane);
    }
    gGL.glClear(GL_COLOR_BUFFER_BIT);
    gGL.glDepthMask(GL_FALSE);
    ApplyGLExtensions(reinterpret_cast<const char*>(gGL.glGetString(GL_EXTENSIONS)));
    return 0;
}

bool WGLView::SetPixelFormat(int depthBits, bool stencil)
{
    HDC dc = DeviceContext();
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 32;
    wanted.cDepthBits = static_cast<BYTE>(depthBits);
    wanted.cStencilBits = stencil ? 8 : 0;
    formatIndex_ = ChoosePixelFormat(dc, &wanted);
    if (!formatIndex_ || !DescribePixelFormat(dc, formatIndex_, sizeof format_, &format_))
        return false;
    if (!::SetPixelFormat(dc, formatIndex_, &format_)) {
        // Some drivers refuse the chosen format on a window that had one;
        // the first format is the one they still take.
        formatIndex_ = 1;
        if (!DescribePixelFormat(dc, formatIndex_, sizeof format_, &format_) ||
            !::SetPixelFormat(dc, formatIndex_, &format_))
            return false;
    }
    return BuildPalette();
}

bool WGLView::BuildPalette()
{
    if (!(format_.dwFlags & PFD_NEED_PALETTE) || palette_)
        return true;
    const int count = 1 << format_.cColorBits;
    auto* logical = static_cast<LOGPALETTE*>(
        ::operator new(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count, std::nothrow));
    if (!logical) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    PALETTEENTRY* entries = logical->palPalEntry;
    for (int i = 0; i < count; ++i) {
        entries[i].peRed = ComponentLevel(i, format_.cRedShift, format_.cRedBits);
        entries[i].peGreen = ComponentLevel(i, format_.cGreenShift, format_.cGreenBits);
        entries[i].peBlue = ComponentLevel(i, format_.cBlueShift, format_.cBlueBits);
        entries[i].peFlags = 0;
    }
    if (format_.cColorBits == 8 && format_.cRedBits == 3 && format_.cRedShift == 0 && format_.cGreenBits == 3 &&
        format_.cGreenShift == 3 && format_.cBlueBits == 2 && format_.cBlueShift == 6) {
        for (const SystemEntry& system : kSystemColors)
            entries[system.index] = {system.red, system.green, system.blue, 0};
    }
    palette_ = CreatePalette(logical);
    ::operator delete(logical);
    if (palette_) {
        SelectPalette(dc_, palette_, FALSE);
        RealizePalette(dc_);
    }
    return true;
}

bool WGLView::MakeCurrent(HDC dc)
{
    if (!context_)
        return false;
    if (palette_) {
        SelectPalette(DeviceContext(), palette_, FALSE);
        RealizePalette(dc_);
    }
    return gGL.wglMakeCurrent(dc, context_) != FALSE;
}

void WGLView::Done()
{
    if (gGL.wglMakeCurrent)
        gGL.wglMakeCurrent(DeviceContext(), nullptr);
}
