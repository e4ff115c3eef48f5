#include "setup/SetupPayload.h"

#include "base/MKCompressBuffers.h"
#include "base/MKLzmaSupport.h"

#include <limits.h>
#include <string.h>

namespace {

const DWORD kSizeFieldBytes = 4;
const int32_t kStoredMarker = -1;

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
    // Any other negative size asks for more memory than there is.
    if (n < 0)
        return kNoMemoryForInstaller;
    HeapBlock program{SIZE_T(n)};
    if (!program.Get())
        return kNoMemoryForInstaller;
    // A stream may end early with its end marker: bytes it never produced must
    // not reach the file as part of the program.
    int produced = 0;
    if (size - kSizeFieldBytes > DWORD(INT_MAX) ||
        !MKLzmaDecodeBuffer(bytes + kSizeFieldBytes, int(size - kSizeFieldBytes), program.Get(), n, &produced) ||
        produced != n)
        return kDecodingFailed;
    return WriteAll(file, program.Get(), DWORD(n), kUnpackedWriteFailed, kUnpackedWrittenShort);
}
