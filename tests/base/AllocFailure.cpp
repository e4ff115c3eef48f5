#include "AllocFailure.h"

#include <stdlib.h>

namespace {

thread_local int t_allowed = 0;
thread_local int t_requests = 0;

bool Grant()
{
    ++t_requests;
    if (t_allowed <= 0)
        return false;
    --t_allowed;
    return true;
}

void* FailingAlloc(size_t size)
{
    return Grant() ? malloc(size) : nullptr;
}

void* FailingRealloc(void* block, size_t size)
{
    return Grant() ? realloc(block, size) : nullptr;
}

const MKAllocHooks s_failingHooks = {FailingAlloc, free, FailingRealloc};

}  // namespace

AllocFailureScope::AllocFailureScope(int allowed)
{
    t_allowed = allowed;
    t_requests = 0;
    MKEnableThreadAllocHooks(true);
    MKSetThreadAllocHooks(&s_failingHooks, &m_previous);
}

AllocFailureScope::~AllocFailureScope()
{
    MKSetThreadAllocHooks(m_previous);
}

int AllocFailureScope::Requests() const
{
    return t_requests;
}

void AllocFailureScope::Allow(int allowed)
{
    t_allowed = allowed;
}
