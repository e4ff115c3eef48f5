#pragma once
#include "base/MKDispatchObject.h"
#include "base/MKString.h"

#include <stdint.h>

// What the QuickTime Control's node hears of its control's events: its status
// reports (event 4).
class QuickTimeStatusHandler {
public:
    virtual void OnQuickTimeStatus(int32_t first, int32_t second, const MKString& text) = 0;

protected:
    ~QuickTimeStatusHandler() = default;
};

// The sink a QuickTime Control node connects to its control's events: the
// arguments of the known events are checked (count, then types) before
// anything happens; status reports go to the handler. The node owns the sink
// and forgets it (ForgetHandler) before it goes. Count starts at 0.
class QuickTimeEventSink final : public MKDispatchObject {
public:
    explicit QuickTimeEventSink(QuickTimeStatusHandler* handler);

    void ForgetHandler() { m_handler = nullptr; }

protected:
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) override;

private:
    QuickTimeStatusHandler* m_handler;
};
