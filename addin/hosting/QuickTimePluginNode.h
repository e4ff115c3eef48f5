#pragma once
#include "addin/hosting/ActiveXNode.h"
#include "base/MKString.h"

// A QuickTime movie in the QuickTime browser plug-in control, windowless
// (transparent, drawn into the node's layer) or in a window of its own. The
// control fetches its movie through the node's bind host. Setters write the
// start-up property bag until the control is in place and call the running
// control (by virtual-table slot) afterwards; a value equal to the stored one
// changes nothing. The control's events are not listened to. One thread: the
// host's.
class QuickTimePluginNode final : public ActiveXNode {
public:
    explicit QuickTimePluginNode(bool windowless);

    int GetNodeType() const override { return QuickTimePlugin; }

    const MKString& GetSrc() const { return m_src; }
    void SetSrc(const MKString& src);
    bool GetAutoPlay() const { return m_autoPlay; }
    void SetAutoPlay(bool autoPlay);

protected:
    NodeProxy* CreateProxy() override;
    bool OnActivate() override;
    bool OnStart() override;
    const CLSID* GetControlClsid() override;

private:
    // The control's interface with one reference while it is in place, or null.
    IUnknown* QueryRunningControl() const;

    MKString m_src;
    bool m_autoPlay = false;
};
