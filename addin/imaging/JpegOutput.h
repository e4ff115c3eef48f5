#pragma once
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <jpeglib.h>

// A growing MKAlloc block that receives a compressor's output. The caller owns
// the block and frees data with MKFree, whether or not the compression ended.
struct JpegMemoryBlock {
    uint8_t* data;
    size_t capacity;
    size_t length;  // bytes written; final once the compression finished
};

// Installs a destination writing into the block (which must outlive the
// compression); running out of memory is a fatal error of the compressor.
void JpegSetMemoryDestination(j_compress_ptr cinfo, JpegMemoryBlock* block);
