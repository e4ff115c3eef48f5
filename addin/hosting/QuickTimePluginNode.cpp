#include "addin/hosting/QuickTimePluginNode.h"

#include "addin/hosting/QuickTimePluginNodeProxy.h"
#include "hostapi/QuickTimeInterfaces.h"

QuickTimePluginNode::QuickTimePluginNode(bool windowless) : ActiveXNode(windowless ? WindowlessKind : WindowedKind, true)
{
    if (windowless) {
        // A rectangle change moves the windowless control but keeps its size.
        AddCapabilities(KeepsControlSize);
        SetProperty(MKString(L"wmode"), MKString(L"transparent"));
    } else {
        RemoveCapabilities(KeepsControlSize);
    }
    SetProperty(MKString(L"bgcolor"), MKString(L"000000"));
    SetProperty(MKString(L"scale"), MKString(L"aspect"));
    SetProperty(MKString(L"autoplay"), MKString(L"false"));
}

NodeProxy* QuickTimePluginNode::CreateProxy()
{
    return MakeNodeProxy<QuickTimePluginNodeProxy>(this);
}

const CLSID* QuickTimePluginNode::GetControlClsid()
{
    return &CLSID_QuickTimePlugin;
}

IUnknown* QuickTimePluginNode::QueryRunningControl() const
{
    if (!IsControlActive())
        return nullptr;
    IUnknown* control = nullptr;
    if (FAILED(QueryControl(IID_IQuickTimePlugin, reinterpret_cast<void**>(&control))))
        return nullptr;
    return control;
}

void QuickTimePluginNode::SetSrc(const MKString& src)
{
    if (src == m_src)
        return;
    m_src = src;
    if (!IsControlActive()) {
        SetProperty(MKString(L"src"), src);
        return;
    }
    if (IUnknown* control = QueryRunningControl()) {
        BSTR text = src.ToBstr();
        QuickTimeSlot<QtTextSlot>(control, kQtPluginSetSrc)(control, text);
        SysFreeString(text);
        control->Release();
    }
}

void QuickTimePluginNode::SetAutoPlay(bool autoPlay)
{
    if (autoPlay == m_autoPlay)
        return;
    m_autoPlay = autoPlay;
    if (!IsControlActive()) {
        SetProperty(MKString(L"autoplay"), MKString(autoPlay ? L"true" : L"false"));
        return;
    }
    if (IUnknown* control = QueryRunningControl()) {
        QuickTimeSlot<QtLongSlot>(control, kQtPluginSetAutoPlay)(control, autoPlay ? 1L : 0L);
        control->Release();
    }
}

bool QuickTimePluginNode::OnActivate()
{
    SetAutoPlay(false);
    return StartControl();
}

bool QuickTimePluginNode::OnStart()
{
    SetAnimating(true);
    const bool started = StartControl();
    if (!started)
        SetAnimating(false);
    return started;
}
