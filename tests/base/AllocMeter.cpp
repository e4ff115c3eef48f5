#include "AllocMeter.h"

#include <stdlib.h>

namespace {

thread_local size_t t_largest = 0;
thread_local size_t t_limit = 0;
thread_local int t_refused = 0;

bool Admit(size_t size)
{
    if (size > t_largest)
        t_largest = size;
    if (size > t_limit) {
        ++t_refused;
        return false;
    }
    return true;
}

void* MeterAlloc(size_t size)
{
    return Admit(size) ? malloc(size) : nullptr;
}

void* MeterRealloc(void* block, size_t size)
{
    return Admit(size) ? realloc(block, size) : nullptr;
}

const MKAllocHooks s_meterHooks = {MeterAlloc, free, MeterRealloc};

}  // namespace

AllocMeter::AllocMeter(size_t refuseAbove)
{
    t_largest = 0;
    t_refused = 0;
    t_limit = refuseAbove;
    MKEnableThreadAllocHooks(true);
    MKSetThreadAllocHooks(&s_meterHooks, &m_previous);
}

AllocMeter::~AllocMeter()
{
    MKSetThreadAllocHooks(m_previous);
}

size_t AllocMeter::Largest() const
{
    return t_largest;
}

int AllocMeter::Refused() const
{
    return t_refused;
}
