#include "base/MKCompressBuffers.h"

#include "base/MKLzmaSupport.h"
#include "base/MKZlibSupport.h"

#include <zlib.h>

namespace {

// One Z_FINISH pass of an initialised deflate record into the buffer.
bool DeflateAll(z_stream& z, const void* source, int n, void* destination, int capacity, int* produced)
{
    z.next_in = static_cast<Bytef*>(const_cast<void*>(source));
    z.avail_in = uInt(n);
    z.next_out = static_cast<Bytef*>(destination);
    z.avail_out = uInt(capacity);
    bool ok = deflate(&z, Z_FINISH) == Z_STREAM_END;
    *produced = ok ? int(z.total_out) : 0;
    deflateEnd(&z);
    return ok;
}

bool BadInput(const void* source, int n)
{
    return n < 0 || (!source && n > 0);
}

}  // namespace

bool MKCompressBuffer(const void* source, int n, void* destination, int capacity, int* produced, int level,
                      bool raw)
{
    *produced = 0;
    if (BadInput(source, n) || capacity < 0 || (!destination && capacity > 0))
        return false;
    if (n == 0 && raw)
        return true;
    z_stream z;
    return MKDeflateInit(&z, level, raw) && DeflateAll(z, source, n, destination, capacity, produced);
}

bool MKUncompressBuffer(const void* source, int n, void* destination, int capacity, int* produced, bool raw)
{
    *produced = 0;
    if (BadInput(source, n) || capacity < 0 || (!destination && capacity > 0))
        return false;
    if (n == 0 && raw)
        return true;
    z_stream z;
    if (!MKInflateInit(&z, raw))
        return false;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(source));
    z.avail_in = uInt(n);
    z.next_out = static_cast<Bytef*>(destination);
    z.avail_out = uInt(capacity);
    bool ok = inflate(&z, Z_NO_FLUSH) == Z_STREAM_END;
    *produced = ok ? int(z.total_out) : 0;
    inflateEnd(&z);
    return ok;
}

bool MKCompressToArray(const void* source, int n, MKByteArray& out, int level, bool raw)
{
    out.RemoveAll();
    if (BadInput(source, n))
        return false;
    if (n == 0 && raw)
        return true;
    z_stream z;
    if (!MKDeflateInit(&z, level, raw))
        return false;
    uLong bound = deflateBound(&z, uLong(n));
    int produced = 0;
    if (bound > uLong(INT32_MAX) || !out.SetSize(int(bound))) {
        deflateEnd(&z);
        out.RemoveAll();
        return false;
    }
    if (!DeflateAll(z, source, n, out.GetData(), out.GetCount(), &produced)) {
        out.RemoveAll();
        return false;
    }
    // Assign over itself gives back the block when less than half of it is used.
    out.Assign(out.GetData(), produced);
    return true;
}

bool MKUncompressToArray(const MKByteArray& source, MKByteArray& destination, bool raw)
{
    int produced = 0;
    if (!MKUncompressBuffer(source.GetData(), source.GetCount(), destination.GetData(), destination.GetCount(),
                            &produced, raw)) {
        destination.RemoveAll();
        return false;
    }
    destination.SetSize(produced);
    return true;
}

bool MKInflateToArray(const void* source, int n, MKByteArray& out, bool raw)
{
    const int Step = 8192;
    out.RemoveAll();
    if (BadInput(source, n))
        return false;
    if (n == 0 && raw)
        return true;
    z_stream z;
    if (!MKInflateInit(&z, raw))
        return false;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(source));
    z.avail_in = uInt(n);
    bool ok = false;
    for (;;) {
        if (z.avail_out == 0) {
            int count = out.GetCount();
            if (count > INT32_MAX - Step || !out.Reserve(count + Step) || !out.SetSize(count + Step))
                break;
            z.next_out = out.GetData() + count;
            z.avail_out = Step;
        }
        int r = inflate(&z, Z_NO_FLUSH);
        if (r == Z_STREAM_END) {
            ok = true;
            break;
        }
        // Input used up before the end of the compressed data: it was cut short.
        if (r != Z_OK || (z.avail_in == 0 && z.avail_out > 0))
            break;
    }
    inflateEnd(&z);
    if (!ok) {
        out.RemoveAll();
        return false;
    }
    out.SetSize(out.GetCount() - int(z.avail_out));
    return true;
}

bool MKLzmaDecodeBuffer(const void* source, int n, void* destination, int capacity, int* produced)
{
    *produced = 0;
    if (!source || n < MKLzmaPropertiesSize || capacity < 0 || (!destination && capacity > 0))
        return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(source);
    lzma_stream z = LZMA_STREAM_INIT;
    // The output's capacity bounds every match distance, so a larger dictionary
    // announced by the header would only waste memory.
    if (MKLzmaDecoderInit(&z, bytes, uint32_t(capacity)) != LZMA_OK)
        return false;
    z.next_in = bytes + MKLzmaPropertiesSize;
    z.avail_in = size_t(n - MKLzmaPropertiesSize);
    z.next_out = static_cast<uint8_t*>(destination);
    z.avail_out = size_t(capacity);
    bool ok = false;
    for (;;) {
        size_t inBefore = z.avail_in, outBefore = z.avail_out;
        lzma_ret r = lzma_code(&z, LZMA_RUN);
        if (r == LZMA_STREAM_END || (r == LZMA_OK && z.avail_out == 0)) {
            ok = true;
            break;
        }
        if (r != LZMA_OK || z.avail_in == 0 || (z.avail_in == inBefore && z.avail_out == outBefore))
            break;
    }
    if (ok)
        *produced = int(z.total_out);
    lzma_end(&z);
    return ok;
}
