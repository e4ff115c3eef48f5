#include "addin/hosting/ControlWindowHook.h"

#include "addin/hosting/ActiveXNode.h"

LRESULT ControlWindowHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_node->OnControlWindowMessage(Window(), message, wParam, lParam);
}
