#include "addin/imaging/JpegInput.h"

#include <jerror.h>

namespace {

struct MemorySource {
    jpeg_source_mgr pub;
    const uint8_t* data;
    size_t size;
    bool delivered;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}

void TermSource(j_decompress_ptr) {}

// The whole block at the first request; an end-of-image marker at every later
// one, so truncated data end the image instead of starting it again.
boolean FillBuffer(j_decompress_ptr cinfo)
{
    MemorySource* source = reinterpret_cast<MemorySource*>(cinfo->src);
    if (!source->delivered) {
        source->delivered = true;
        source->pub.next_input_byte = source->data;
        source->pub.bytes_in_buffer = source->size;
        return TRUE;
    }
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kEndOfImage;
    source->pub.bytes_in_buffer = 2;
    return TRUE;
}

void SkipData(j_decompress_ptr cinfo, long n)
{
    if (n <= 0)
        return;
    jpeg_source_mgr* source = cinfo->src;
    while (size_t(n) > source->bytes_in_buffer) {
        n -= long(source->bytes_in_buffer);
        source->fill_input_buffer(cinfo);
    }
    source->next_input_byte += n;
    source->bytes_in_buffer -= size_t(n);
}

int NextByte(j_decompress_ptr cinfo)
{
    jpeg_source_mgr* source = cinfo->src;
    if (source->bytes_in_buffer == 0 && !source->fill_input_buffer(cinfo))
        return -1;
    --source->bytes_in_buffer;
    return *source->next_input_byte++;
}

boolean SkipComment(j_decompress_ptr cinfo)
{
    int high = NextByte(cinfo);
    int low = high < 0 ? -1 : NextByte(cinfo);
    if (low < 0)
        return FALSE;
    long length = (long(high) << 8) | low;
    if (length < 2)
        ERREXIT(cinfo, JERR_BAD_LENGTH);
    SkipData(cinfo, length - 2);
    return TRUE;
}

}  // namespace

void JpegSetMemorySource(j_decompress_ptr cinfo, const uint8_t* data, size_t size)
{
    // A record of our own each time: a source installed before may be of
    // another kind and size.
    MemorySource* source = static_cast<MemorySource*>(
        cinfo->mem->alloc_small(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemorySource)));
    cinfo->src = &source->pub;
    source->pub.init_source = InitSource;
    source->pub.fill_input_buffer = FillBuffer;
    source->pub.skip_input_data = SkipData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = TermSource;
    source->pub.bytes_in_buffer = 0;
    source->pub.next_input_byte = nullptr;
    source->data = data;
    source->size = size;
    source->delivered = false;
}

void JpegSkipComments(j_decompress_ptr cinfo)
{
    jpeg_set_marker_processor(cinfo, JPEG_COM, SkipComment);
}
