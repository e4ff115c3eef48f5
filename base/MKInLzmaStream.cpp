#include "base/MKInLzmaStream.h"

#include "base/MKAlloc.h"
#include "base/MKLzmaSupport.h"
#include "base/MKStreamErrors.h"

#include <new>
#include <string.h>

namespace {

int ErrorOf(lzma_ret r)
{
    return r == LZMA_MEM_ERROR ? MKStreamErrorNoMemory : MKStreamErrorCorrupt;
}

}  // namespace

struct MKInLzmaStream::Decoder {
    lzma_stream lzma;
};

MKInLzmaStream::~MKInLzmaStream()
{
    if (m_decoder) {
        lzma_end(&m_decoder->lzma);
        MKFree(m_decoder);
    }
}

bool MKInLzmaStream::Start()
{
    m_needsStart = false;
    bool haveInput = AllocateInput();
    void* block = MKAlloc(sizeof(Decoder));
    if (!haveInput || !block) {
        MKFree(block);
        m_failure = MKStreamErrorNoMemory;
        return false;
    }
    m_decoder = new (block) Decoder{LZMA_STREAM_INIT};
    // The source may hand out the properties in pieces.
    while (m_inputLength < MKLzmaPropertiesSize) {
        int got = m_source->Read(m_input + m_inputLength, InputSize - m_inputLength);
        if (got <= 0) {
            m_failure = MKStreamErrorEnd;
            return false;
        }
        m_inputLength += got;
    }
    m_inputPosition = MKLzmaPropertiesSize;
    const uint32_t dictionary = uint32_t(m_input[1]) | (uint32_t(m_input[2]) << 8) |
                                (uint32_t(m_input[3]) << 16) | (uint32_t(m_input[4]) << 24);
    if (dictionary > m_dictionaryLimit) {
        m_failure = MKStreamErrorNoMemory;
        return false;
    }
    lzma_ret r = MKLzmaDecoderInit(&m_decoder->lzma, m_input, m_dictionaryLimit);
    if (r != LZMA_OK) {
        m_failure = ErrorOf(r);
        return false;
    }
    return true;
}

int MKInLzmaStream::Fail(void* buffer, int n, int error)
{
    m_failed = true;
    if (m_failure == 0)
        m_failure = error;
    SetError(m_failure);
    memset(buffer, 0, size_t(n));
    return -1;
}

int MKInLzmaStream::Read(void* buffer, int n)
{
    if (n < 1)
        return 0;
    if (!m_source)
        return Fail(buffer, n, MKStreamErrorNoTarget);
    if (m_needsStart && !Start())
        return Fail(buffer, n, m_failure);
    if (m_failed)
        return Fail(buffer, n, m_failure);

    lzma_stream& z = m_decoder->lzma;
    z.next_out = static_cast<uint8_t*>(buffer);
    z.avail_out = size_t(n);
    for (;;) {
        z.next_in = m_input + m_inputPosition;
        z.avail_in = size_t(m_inputLength - m_inputPosition);
        size_t inBefore = z.avail_in, outBefore = z.avail_out;
        lzma_ret r = lzma_code(&z, LZMA_RUN);
        m_inputPosition = m_inputLength - int(z.avail_in);
        if (z.avail_out == 0)
            break;
        // The end marker before the request is filled: the data is too short.
        if (r == LZMA_STREAM_END)
            return Fail(buffer, n, MKStreamErrorEnd);
        if (r != LZMA_OK && r != LZMA_BUF_ERROR)
            return Fail(buffer, n, ErrorOf(r));
        if (InputUsedUp()) {
            if (!Refill())
                return Fail(buffer, n, MKStreamErrorEnd);
        } else if (z.avail_in == inBefore && z.avail_out == outBefore) {
            return Fail(buffer, n, MKStreamErrorCorrupt);
        }
    }
    m_delivered += n;
    return n;
}
