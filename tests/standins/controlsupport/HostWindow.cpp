#include "tests/standins/controlsupport/HostWindow.h"

HostWindow::HostWindow(int width, int height)
    : m_window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr))
{
}
