#include "setup/SetupPayload.h"

#include "base/MKLzmaSupport.h"

#include <string.h>

namespace {

const DWORD kSizeFieldBytes = 4;
const int32_t kStoredMarker = -1;
// The installer program is a few megabytes; a size beyond this bound is a
// damaged payload, refused before any memory is reserved for it.
const int32_t kMaxProgramBytes = 64 << 20;

int WriteAll(HANDLE file, const void* bytes, DWORD n, int failed, int writtenShort)
{
    DWORD written = 0;
    if (!WriteFile(file, bytes, n, &written, nullptr))
        return failed;
    return written < n ? writtenShort : 0;
}

// Whether the decoder takes these properties; tried with a small dictionary
// so that the check costs next to nothing.
bool PropertiesAccepted(const uint8_t* properties)
{
    lzma_stream stream = LZMA_STREAM_INIT;
    bool accepted = MKLzmaDecoderInit(&stream, properties, 4096) == LZMA_OK;
    lzma_end(&stream);
    return accepted;
}

// Decodes the stream into program, which has room for n + 1 bytes, and
// answers whether it gives exactly n: it must stop there, at its end marker or
// at the end of its input. A stream that gives more is as damaged as one that
// gives fewer; taking its first n bytes would pass a cut program as unpacked.
bool DecodeExactly(const uint8_t* properties, const uint8_t* stream, DWORD streamBytes, void* program, DWORD n)
{
    lzma_stream z = LZMA_STREAM_INIT;
    if (MKLzmaDecoderInit(&z, properties, n) != LZMA_OK)
        return false;
    z.next_in = stream;
    z.avail_in = streamBytes;
    z.next_out = static_cast<uint8_t*>(program);
    z.avail_out = size_t(n) + 1;
    lzma_ret r;
    do {
        size_t inBefore = z.avail_in, outBefore = z.avail_out;
        r = lzma_code(&z, LZMA_RUN);
        // No progress: the input is used up (a stream without end marker).
        if (r == LZMA_OK && z.avail_in == inBefore && z.avail_out == outBefore)
            break;
    } while (r == LZMA_OK && z.avail_out > 0);
    bool exact = (r == LZMA_OK || r == LZMA_STREAM_END) && z.total_out == n;
    lzma_end(&z);
    return exact;
}

// The process heap block of the unpacked program, freed on every path.
class HeapBlock {
public:
    explicit HeapBlock(SIZE_T size) : bytes_(HeapAlloc(GetProcessHeap(), 0, size)) {}
    ~HeapBlock()
    {
        if (bytes_)
            HeapFree(GetProcessHeap(), 0, bytes_);
    }
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;

    void* Get() const { return bytes_; }

private:
    void* bytes_;
};

}  // namespace

int UnpackPayload(const void* data, DWORD size, HANDLE file)
{
    if (size < kSizeFieldBytes)
        return kPayloadTooShort;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    int32_t n;
    memcpy(&n, bytes, sizeof(n));
    if (n == kStoredMarker)
        return WriteAll(file, bytes + kSizeFieldBytes, size - kSizeFieldBytes, kStoredWriteFailed,
                        kStoredWrittenShort);
    const DWORD headerBytes = kSizeFieldBytes + MKLzmaPropertiesSize;
    if (size < headerBytes)
        return kCompressedTooShort;
    if (!PropertiesAccepted(bytes + kSizeFieldBytes))
        return kPropertiesRefused;
    // Any other negative size asks for more memory than there is, and so, for
    // a setup, does a program above the bound.
    if (n < 0 || n > kMaxProgramBytes)
        return kNoMemoryForInstaller;
    // One byte more than stated shows a stream that goes on past its size.
    HeapBlock program{SIZE_T(n) + 1};
    if (!program.Get())
        return kNoMemoryForInstaller;
    if (!DecodeExactly(bytes + kSizeFieldBytes, bytes + headerBytes, size - headerBytes, program.Get(), DWORD(n)))
        return kDecodingFailed;
    return WriteAll(file, program.Get(), DWORD(n), kUnpackedWriteFailed, kUnpackedWrittenShort);
}
