#include "base/MKZlibSupport.h"

#include "base/MKAlloc.h"

#include <stdint.h>
#include <string.h>
#include <zlib.h>

namespace {

voidpf ZlibAlloc(voidpf, uInt items, uInt size)
{
    uint64_t bytes = uint64_t(items) * size;
    return bytes > SIZE_MAX ? nullptr : MKAlloc(size_t(bytes));
}

void ZlibFree(voidpf, voidpf block)
{
    MKFree(block);
}

}  // namespace

void MKRouteZlibMemory(z_stream_s* stream)
{
    stream->zalloc = ZlibAlloc;
    stream->zfree = ZlibFree;
    stream->opaque = nullptr;
}

bool MKDeflateInit(z_stream_s* stream, int level, bool raw)
{
    memset(stream, 0, sizeof(*stream));
    MKRouteZlibMemory(stream);
    int r = raw ? deflateInit2(stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY)
                : deflateInit(stream, level);
    return r == Z_OK;
}

bool MKInflateInit(z_stream_s* stream, bool raw)
{
    memset(stream, 0, sizeof(*stream));
    MKRouteZlibMemory(stream);
    int r = raw ? inflateInit2(stream, -MAX_WBITS) : inflateInit(stream);
    return r == Z_OK;
}
