#include "base/MKOutZStream.h"

#include "base/MKAlloc.h"
#include "base/MKStreamErrors.h"
#include "base/MKZlibSupport.h"

#include <new>
#include <string.h>
#include <zlib.h>

struct MKOutZStream::Compressor {
    enum { OutputSize = 16384 };
    z_stream zlib;
    int lastResult;
    uint8_t output[OutputSize];
};

MKOutZStream::MKOutZStream(MKOutStream* target, int level)
    : m_target(target), m_level(level < 0 ? (level < -9 ? 10 : -level) : level), m_raw(level < 0)
{
    Start();
}

MKOutZStream::~MKOutZStream()
{
    if (m_target)
        Close();
    if (m_compressor) {
        deflateEnd(&m_compressor->zlib);
        MKFree(m_compressor);
    }
}

void MKOutZStream::Start()
{
    if (!m_target)
        SetError(MKStreamErrorNoTarget);
    void* block = MKAlloc(sizeof(Compressor));
    if (!block) {
        SetError(MKStreamErrorNoMemory);
        return;
    }
    Compressor* c = new (block) Compressor;
    if (!MKDeflateInit(&c->zlib, m_level, m_raw)) {
        MKFree(c);
        SetError(MKStreamErrorNoMemory);
        return;
    }
    c->lastResult = Z_OK;
    c->zlib.next_out = c->output;
    c->zlib.avail_out = Compressor::OutputSize;
    m_compressor = c;
}

bool MKOutZStream::Drain()
{
    Compressor* c = m_compressor;
    int produced = Compressor::OutputSize - int(c->zlib.avail_out);
    if (produced > 0) {
        if (!m_target->Write(c->output, produced)) {
            SetError(MKStreamErrorSourceFailed);
            return false;
        }
        m_emitted += produced;
    }
    c->zlib.next_out = c->output;
    c->zlib.avail_out = Compressor::OutputSize;
    return true;
}

bool MKOutZStream::CompressBlock(const uint8_t* data, int n)
{
    z_stream& z = m_compressor->zlib;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(n);
    while (z.avail_in > 0) {
        if (z.avail_out == 0 && !Drain())
            return false;
        int r = deflate(&z, Z_NO_FLUSH);
        m_compressor->lastResult = r;
        if (r != Z_OK) {
            SetError(MKStreamErrorCodecBase + r);
            return false;
        }
    }
    return m_error == 0;
}

bool MKOutZStream::Write(const void* data, int n)
{
    if (m_error != 0)
        return false;
    if (n <= 0)
        return true;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    m_accepted += n;
    if (m_staged + n <= StagingSize) {
        memcpy(m_staging + m_staged, bytes, size_t(n));
        m_staged += n;
        return true;
    }
    int fill = StagingSize - m_staged;
    memcpy(m_staging + m_staged, bytes, size_t(fill));
    m_staged = 0;
    if (!CompressBlock(m_staging, StagingSize))
        return false;
    bytes += fill;
    n -= fill;
    while (n >= StagingSize) {
        if (!CompressBlock(bytes, StagingSize))
            return false;
        bytes += StagingSize;
        n -= StagingSize;
    }
    memcpy(m_staging, bytes, size_t(n));
    m_staged = n;
    return true;
}

bool MKOutZStream::Close()
{
    if (!m_compressor || !m_target)
        return false;
    bool ok = m_error == 0;
    if (ok && m_staged > 0)
        ok = CompressBlock(m_staging, m_staged);
    m_staged = 0;
    int r = Z_OK;
    while (ok) {
        r = deflate(&m_compressor->zlib, Z_FINISH);
        m_compressor->lastResult = r;
        // Z_BUF_ERROR only says that this pass could not move; a pass that
        // produced nothing at all would repeat forever.
        bool stuck = r == Z_BUF_ERROR && m_compressor->zlib.avail_out == Compressor::OutputSize;
        if ((r != Z_OK && r != Z_STREAM_END && r != Z_BUF_ERROR) || stuck) {
            SetError(MKStreamErrorCodecBase + r);
            ok = false;
            break;
        }
        ok = Drain();
        if (r == Z_STREAM_END)
            break;
    }
    if (ok && !m_target->Flush())
        ok = false;
    m_target = nullptr;
    return ok;
}

bool MKOutZStream::Reset()
{
    Close();
    if (m_compressor) {
        deflateEnd(&m_compressor->zlib);
        MKFree(m_compressor);
        m_compressor = nullptr;
    }
    m_staged = 0;
    m_accepted = 0;
    m_emitted = 0;
    Start();
    return m_compressor != nullptr;
}
