#include "base/MKCompressBuffers.h"

#include "base/MKLzmaSupport.h"
#include "base/MKZlibSupport.h"

#include <zlib.h>

namespace {

// One pass of an initialised record from source into destination: deflate
// finishes the data, inflate runs once. Ends the record; true when the
// compressed data ended within the pass.
bool RunPass(z_stream& z, bool deflating, const void* source, int n, void* destination, int capacity,
             int* produced)
{
    z.next_in = static_cast<Bytef*>(const_cast<void*>(source));
    z.avail_in = uInt(n);
    z.next_out = static_cast<Bytef*>(destination);
    z.avail_out = uInt(capacity);
    bool ok = (deflating ? deflate(&z, Z_FINISH) : inflate(&z, Z_NO_FLUSH)) == Z_STREAM_END;
    *produced = ok ? int(z.total_out) : 0;
    if (deflating)
        deflateEnd(&z);
    else
        inflateEnd(&z);
    return ok;
}

enum Start { Refused, NothingToCode, Started };

// Checks the input and initialises a deflate (at level) or inflate record. An
// empty input in raw mode codes to nothing, so no record is made for it.
Start StartCoding(z_stream& z, bool deflating, const void* source, int n, int level, bool raw)
{
    if (n < 0 || (!source && n > 0))
        return Refused;
    if (n == 0 && raw)
        return NothingToCode;
    bool started = deflating ? MKDeflateInit(&z, level, raw) : MKInflateInit(&z, raw);
    return started ? Started : Refused;
}

// The one-pass buffer functions.
bool CodeBuffer(bool deflating, const void* source, int n, void* destination, int capacity, int* produced,
                int level, bool raw)
{
    *produced = 0;
    if (capacity < 0 || (!destination && capacity > 0))
        return false;
    z_stream z;
    Start start = StartCoding(z, deflating, source, n, level, raw);
    if (start != Started)
        return start == NothingToCode;
    return RunPass(z, deflating, source, n, destination, capacity, produced);
}

}  // namespace

bool MKCompressBuffer(const void* source, int n, void* destination, int capacity, int* produced, int level,
                      bool raw)
{
    return CodeBuffer(true, source, n, destination, capacity, produced, level, raw);
}

bool MKUncompressBuffer(const void* source, int n, void* destination, int capacity, int* produced, bool raw)
{
    return CodeBuffer(false, source, n, destination, capacity, produced, 0, raw);
}

bool MKCompressToArray(const void* source, int n, MKByteArray& out, int level, bool raw)
{
    out.RemoveAll();
    z_stream z;
    Start start = StartCoding(z, true, source, n, level, raw);
    if (start != Started)
        return start == NothingToCode;
    uLong bound = deflateBound(&z, uLong(n));
    int produced = 0;
    if (bound > uLong(INT32_MAX) || !out.SetSize(int(bound))) {
        deflateEnd(&z);
        out.RemoveAll();
        return false;
    }
    if (!RunPass(z, true, source, n, out.GetData(), out.GetCount(), &produced)) {
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

bool MKInflateToArray(const void* source, int n, MKByteArray& out, bool raw, int limit)
{
    const int Step = 8192;
    out.RemoveAll();
    if (limit < 0)
        return false;
    z_stream z;
    Start start = StartCoding(z, false, source, n, 0, raw);
    if (start != Started)
        return start == NothingToCode;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(source));
    z.avail_in = uInt(n);
    // Room for one byte past the limit tells data that ends at the limit from
    // data that goes on.
    const int64_t room = int64_t(limit) + 1;
    bool ok = false;
    for (;;) {
        if (z.avail_out == 0) {
            int count = out.GetCount();
            int step = int(room - count < Step ? room - count : Step);
            if (step <= 0 || count > INT32_MAX - step || !out.Reserve(count + step) || !out.SetSize(count + step))
                break;
            z.next_out = out.GetData() + count;
            z.avail_out = uInt(step);
        }
        int r = inflate(&z, Z_NO_FLUSH);
        if (r == Z_STREAM_END) {
            ok = true;
            break;
        }
        // Raw data need not carry a final block: a sender that flushes (as the
        // web messages do) ends on a block boundary, where everything decoded
        // has been written out (zlib's data_type 128, told only by the call
        // that got there). Input used up anywhere else means it was cut short.
        if (raw && r == Z_OK && z.avail_in == 0 && (z.data_type & 128) != 0) {
            ok = true;
            break;
        }
        if (r != Z_OK || (z.avail_in == 0 && z.avail_out > 0))
            break;
    }
    inflateEnd(&z);
    if (ok)
        out.SetSize(out.GetCount() - int(z.avail_out));
    if (!ok || out.GetCount() > limit) {
        out.RemoveAll();
        return false;
    }
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
