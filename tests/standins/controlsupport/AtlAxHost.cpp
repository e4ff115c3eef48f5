#include "tests/standins/controlsupport/AtlAxHost.h"

#include "tests/standins/controlsupport/ControlLogFile.h"

namespace {

const wchar_t kFrameClass[] = L"VistelloAtlAxFrame";

ATOM FrameClass()
{
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSEXW frameClass = {sizeof(frameClass)};
        frameClass.lpfnWndProc = DefWindowProcW;
        frameClass.hInstance = GetModuleHandleW(nullptr);
        frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        frameClass.lpszClassName = kFrameClass;
        atom = RegisterClassExW(&frameClass);
    }
    return atom;
}

}  // namespace

AtlAxHost::AtlAxHost(const std::wstring& control, int width, int height) : m_atl(LoadLibraryW(L"atl.dll"))
{
    auto init = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(m_atl, "AtlAxWinInit")));
    // A second initialisation in the process fails to register the classes
    // again; they are there all the same.
    WNDCLASSEXW atlClass = {sizeof(atlClass)};
    if (!init || (!init() && !GetClassInfoExW(nullptr, L"AtlAxWin", &atlClass)))
        return;
    m_frame = CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(FrameClass()), L"AtlAxWin host",
                              WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    m_host = CreateWindowExW(0, L"AtlAxWin", control.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, width, height, m_frame,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpUntil([] { return false; }, 100);
}

AtlAxHost::~AtlAxHost()
{
    if (m_frame)
        DestroyWindow(m_frame);
    PumpUntil([] { return false; }, 50);
    if (m_atl)
        FreeLibrary(m_atl);
}

IUnknown* AtlAxHost::Control() const
{
    auto getControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
        reinterpret_cast<void*>(GetProcAddress(m_atl, "AtlAxGetControl")));
    IUnknown* control = nullptr;
    if (!getControl || !m_host || FAILED(getControl(m_host, &control)))
        return nullptr;
    return control;
}

COLORREF AtlAxHost::Pixel(int x, int y) const
{
    for (HWND child = GetWindow(m_host, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        UpdateWindow(child);
    HDC dc = GetDC(m_host);
    COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(m_host, dc);
    return pixel;
}

void AtlAxHost::RepaintOver(COLORREF background) const
{
    HDC dc = GetDC(m_host);
    RECT client;
    GetClientRect(m_host, &client);
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(m_host, dc);
    InvalidateRect(m_host, nullptr, FALSE);
    UpdateWindow(m_host);
}
