#pragma once
#include "base/MKDispatchObject.h"

class MovieNode;

// The effect movie node's sink on its Flash control's events: the movie's
// ExternalInterface calls (FlashCall) go to the node; the control's other
// events are checked and accepted. The node owns the sink and forgets it
// (ForgetNode) before it goes; a call arriving later answers E_FAIL.
class MovieEventSink final : public MKDispatchObject {
public:
    explicit MovieEventSink(MovieNode* node);

    void ForgetNode() { m_node = nullptr; }

protected:
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) override;

private:
    MovieNode* m_node;
};
