#pragma once
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <jpeglib.h>

// Reads the decompressor's input from a memory block, which must outlive the
// decompression. When the data end before the image does, an end-of-image
// marker (with a warning) ends it, as libjpeg's own file source does. Each
// call takes a new source record from the decompressor's permanent pool.
void JpegSetMemorySource(j_decompress_ptr cinfo, const uint8_t* data, size_t size);

// Skips comment markers (0xFE) by their length; a length below 2 is a fatal
// error of the decompressor.
void JpegSkipComments(j_decompress_ptr cinfo);
