#pragma once
#include "addin/hosting/ActiveXNodeProxy.h"

class MovieNode;

// The proxy of an effect movie node: the control node's identifiers, the
// variables passed to the movie, its path or data, calls into it and the
// off-screen switch (700 to 707).
//
// A movie given as data (704) must lie in readable memory of the process.
// A block of COM task memory is taken over (the node frees it); any other
// memory is copied and stays the caller's. Off-screen (707) needs Flash
// Player 10.1: before it the call answers S_FALSE and changes nothing.
class MovieNodeProxy final : public ActiveXNodeProxy {
public:
    static const IID kIid;

    explicit MovieNodeProxy(MovieNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
