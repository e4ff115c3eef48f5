#pragma once
#include "base/MKDateTime.h"

// The time the update records go by; tests hand in a clock of their own.
class UpdateClock {
public:
    virtual MKDateTime UtcNow() const = 0;
    MKDateTime LocalNow() const { return UtcNow().ToLocalTime(); }

protected:
    ~UpdateClock() = default;
};

// The machine's clock; lives as long as the process.
const UpdateClock& SystemUpdateClock();
