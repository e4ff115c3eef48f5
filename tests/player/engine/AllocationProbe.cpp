#include "AllocationProbe.h"

#include <cstdlib>

// The test executable links with --wrap for these, so every request of the
// process, the engine's included, comes here first.
extern "C" {
void* __real_malloc(size_t size);
void* __real_realloc(void* block, size_t size);
void* __real_calloc(size_t count, size_t size);
}

namespace {

volatile bool g_watching = false;
volatile size_t g_largest = 0;

void Note(size_t size)
{
    if (g_watching && size > g_largest)
        g_largest = size;
}

}  // namespace

extern "C" {

void* __wrap_malloc(size_t size)
{
    Note(size);
    return __real_malloc(size);
}

void* __wrap_realloc(void* block, size_t size)
{
    Note(size);
    return __real_realloc(block, size);
}

void* __wrap_calloc(size_t count, size_t size)
{
    Note(count * size);
    return __real_calloc(count, size);
}
}

AllocationProbe::AllocationProbe()
{
    g_largest = 0;
    g_watching = true;
}

AllocationProbe::~AllocationProbe()
{
    g_watching = false;
}

size_t AllocationProbe::Largest() const
{
    return g_largest;
}
