#include "addin/imaging/JpegOutput.h"

#include "base/MKAlloc.h"

#include <jerror.h>
#include <stdint.h>

namespace {

struct MemoryDestination {
    jpeg_destination_mgr pub;
    JpegMemoryBlock* block;
};

const size_t kFirstCapacity = 64 * 1024;

MemoryDestination* DestinationOf(j_compress_ptr cinfo)
{
    return reinterpret_cast<MemoryDestination*>(cinfo->dest);
}

// Makes the block at least `capacity` bytes and points the library past the
// bytes written so far.
void Reserve(j_compress_ptr cinfo, size_t capacity)
{
    JpegMemoryBlock* block = DestinationOf(cinfo)->block;
    if (capacity > INT32_MAX)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    uint8_t* data = static_cast<uint8_t*>(MKRealloc(block->data, capacity));
    if (!data)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 2);
    block->data = data;
    block->capacity = capacity;
    cinfo->dest->next_output_byte = data + block->length;
    cinfo->dest->free_in_buffer = capacity - block->length;
}

void InitDestination(j_compress_ptr cinfo)
{
    JpegMemoryBlock* block = DestinationOf(cinfo)->block;
    block->length = 0;
    Reserve(cinfo, block->capacity > kFirstCapacity ? block->capacity : kFirstCapacity);
}

// Called when the whole buffer is full.
boolean EmptyBuffer(j_compress_ptr cinfo)
{
    JpegMemoryBlock* block = DestinationOf(cinfo)->block;
    block->length = block->capacity;
    Reserve(cinfo, block->capacity * 2);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    JpegMemoryBlock* block = DestinationOf(cinfo)->block;
    block->length = block->capacity - cinfo->dest->free_in_buffer;
}

}  // namespace

void JpegSetMemoryDestination(j_compress_ptr cinfo, JpegMemoryBlock* block)
{
    MemoryDestination* destination = static_cast<MemoryDestination*>(
        cinfo->mem->alloc_small(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemoryDestination)));
    destination->pub.init_destination = InitDestination;
    destination->pub.empty_output_buffer = EmptyBuffer;
    destination->pub.term_destination = TermDestination;
    destination->block = block;
    cinfo->dest = &destination->pub;
}
