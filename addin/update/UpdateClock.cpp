#include "addin/update/UpdateClock.h"

namespace {

class SystemClock : public UpdateClock {
public:
    MKDateTime UtcNow() const override { return MKDateTime::UtcNow(); }
};

}  // namespace

const UpdateClock& SystemUpdateClock()
{
    static const SystemClock clock;
    return clock;
}
