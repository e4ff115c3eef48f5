#include "base/MKInZStream.h"

#include "base/MKAlloc.h"
#include "base/MKStreamErrors.h"
#include "base/MKZlibSupport.h"

#include <new>
#include <string.h>
#include <zlib.h>

namespace {

// Marks a source that ran dry in the record of the last result.
const int SourceFailed = -1;

}  // namespace

struct MKInZStream::Decompressor {
    z_stream zlib;
    int lastResult;
};

MKInZStream::MKInZStream(MKInStream* source) : MKInCodecStream(source)
{
    void* block = MKAlloc(sizeof(Decompressor));
    if (!block || !AllocateInput()) {
        MKFree(block);
        SetError(MKStreamErrorNoMemory);
        return;
    }
    Decompressor* d = new (block) Decompressor;
    if (!MKInflateInit(&d->zlib, false)) {
        MKFree(d);
        SetError(MKStreamErrorNoMemory);
        return;
    }
    d->lastResult = Z_OK;
    m_decompressor = d;
}

MKInZStream::~MKInZStream()
{
    if (m_decompressor) {
        inflateEnd(&m_decompressor->zlib);
        MKFree(m_decompressor);
    }
}

int MKInZStream::Read(void* buffer, int n)
{
    if (n <= 0)
        return 0;
    Decompressor* d = m_decompressor;
    if (!d || !m_source) {
        SetError(MKStreamErrorNoMemory);
        memset(buffer, 0, size_t(n));
        return -1;
    }
    if (d->lastResult != Z_OK) {
        // Past the end, or damaged data or a dry source met before.
        if (d->lastResult == Z_STREAM_END)
            SetError(MKStreamErrorEnd);
        else if (d->lastResult == SourceFailed)
            SetError(MKStreamErrorSourceFailed);
        else
            SetError(MKStreamErrorCodecBase + d->lastResult);
        memset(buffer, 0, size_t(n));
        return -1;
    }
    z_stream& z = d->zlib;
    z.next_out = static_cast<Bytef*>(buffer);
    z.avail_out = uInt(n);
    while (z.avail_out > 0) {
        if (InputUsedUp() && !Refill()) {
            // Compressed data that stops before its end is damaged, not short.
            d->lastResult = SourceFailed;
            SetError(MKStreamErrorSourceFailed);
            break;
        }
        z.next_in = m_input + m_inputPosition;
        z.avail_in = uInt(m_inputLength - m_inputPosition);
        int r = inflate(&z, Z_NO_FLUSH);
        m_inputPosition = m_inputLength - int(z.avail_in);
        d->lastResult = r;
        if (r == Z_STREAM_END)
            break;
        if (r != Z_OK) {
            SetError(MKStreamErrorCodecBase + r);
            break;
        }
    }
    int produced = n - int(z.avail_out);
    if (m_error != 0 || (produced == 0 && d->lastResult == Z_STREAM_END)) {
        SetError(MKStreamErrorEnd);
        memset(buffer, 0, size_t(n));
        return -1;
    }
    m_delivered += produced;
    return produced;
}
