#pragma once
#include "base/MKCSubclassWnd.h"

class ActiveXNode;

// Sees the messages of a windowed control's own window for its node, which
// routes input between the control, the host and the node's sink. The node
// owns the hook and outlives it.
class ControlWindowHook : public MKCSubclassWnd {
public:
    explicit ControlWindowHook(ActiveXNode* node) : m_node(node) { }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The window's own handling of the message.
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return MKCSubclassWnd::WindowProc(message, wParam, lParam);
    }

private:
    ActiveXNode* m_node;
};
