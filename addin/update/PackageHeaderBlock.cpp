#include "addin/update/PackageHeaderBlock.h"
#include "addin/update/ScramblePackageBlock.h"
#include "base/MKBinaryReader.h"
#include "base/MKFile.h"
#include "base/MKInFileStream.h"
#include "base/MKSha1.h"
#include <string.h>

namespace {

const uint32_t kSignatureSha1 = 1;

// Reads count bytes the file claims to hold; the count is bounded by the file
// size before anything is allocated.
bool ReadBlock(MKInStream& file, uint32_t count, int fileSize, MKByteArray& out)
{
    if (count > uint32_t(fileSize) || !out.SetSize(int(count)))
        return false;
    return count == 0 || file.Read(out.GetData(), int(count)) == int(count);
}

} // namespace

int PackageHeaderBlock::Read(const MKString& path, const PackageFormat& format, int* fileSize, bool* sha1Signed,
                             MKByteArray& block)
{
    block.RemoveAll();
    *sha1Signed = false;
    int size = MKFileSize(path);
    MKInFileStream file;
    if (size < 0 || !file.Open(path.GetText()))
        return PackageHeaderCannotOpen;
    *fileSize = size;
    uint32_t magic = 0;
    if (size <= format.minimumSize || !file.ReadU32(&magic) || magic != format.magic)
        return PackageHeaderNotPackage;
    uint32_t version = 0;
    if (!file.ReadU32(&version) || (version >> 16) != 1)
        return PackageHeaderWrongVersion;
    uint32_t total = 0;
    uint32_t ignored = 0;
    if (format.hasTotalSize) {
        if (!file.ReadU32(&total) || total != uint32_t(size) || !file.ReadU32(&ignored))
            return PackageHeaderBad;
    } else if (!file.ReadU32(&ignored)) {
        return PackageHeaderBad;
    }
    uint32_t signatureKind = 0;
    uint32_t signatureLength = 0;
    MKByteArray signature;
    if (!file.ReadU32(&signatureKind) || !file.ReadU32(&signatureLength) ||
        !ReadBlock(file, signatureLength, size, signature))
        return PackageHeaderBad;
    uint32_t key = 0;
    uint32_t headerLength = 0;
    uint32_t gap = 0;
    if (!file.ReadU32(&key) || !file.ReadU32(&headerLength) || headerLength == 0 ||
        headerLength > uint32_t(size) || !file.ReadU32(&gap) || gap > uint32_t(size) ||
        file.Skip(int(gap)) != int(gap) || !ReadBlock(file, headerLength, size, block)) {
        block.RemoveAll();
        return PackageHeaderBad;
    }
    if (signatureKind == kSignatureSha1) {
        MKSha1Digest digest;
        ComputeSha1(&digest, block.GetData(), block.GetCount());
        if (signature.GetCount() != int(sizeof(digest)) || memcmp(signature.GetData(), &digest, sizeof(digest)) != 0) {
            block.RemoveAll();
            return PackageHeaderBad;
        }
        *sha1Signed = true;
    }
    ScramblePackageBlock(block.GetData(), block.GetCount(), key);
    return PackageHeaderOk;
}

bool SkipPackageExtension(MKBinaryReader& reader)
{
    uint32_t length = 0;
    if (!reader.ReadU32(&length) || length > 0x7FFFFFFF)
        return false;
    return reader.Skip(int(length)) == int(length);
}
