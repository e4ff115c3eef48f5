#include "PackageForm.h"

#include <cstring>

#include "addin/update/PackageKeyTable.h"
#include "addin/update/ScramblePackageBlock.h"
#include "base/MKSha1.h"
#include "fixtures/PackageScrambler.h"

namespace {

const uint32_t kUpdateMagic = 0x2A81FBD0;
const uint32_t kSignatureSha1 = 1;

uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t value;
    memcpy(&value, bytes.data() + at, 4);
    return value;
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    memcpy(bytes.data() + at, &value, 4);
}

// Where the prefix's fields lie; false when the file is too short for them.
struct Layout {
    size_t total = 0;  // 0: none
    size_t signatureKind = 0;
    size_t signatureLength = 0;
    size_t signature = 0;
    size_t key = 0;
    size_t block = 0;
    size_t blockLength = 0;
};

bool FindLayout(const std::vector<uint8_t>& bytes, Layout& layout)
{
    if (bytes.size() < 16)
        return false;
    size_t at = 8;
    if (GetU32(bytes, 0) == kUpdateMagic) {
        layout.total = 8;
        at += 8;
    } else {
        at += 4;
    }
    if (bytes.size() < at + 8)
        return false;
    layout.signatureKind = at;
    const uint32_t signatureLength = GetU32(bytes, at + 4);
    layout.signatureLength = signatureLength;
    layout.signature = at + 8;
    if (signatureLength > bytes.size() || bytes.size() - layout.signature < size_t(signatureLength) + 12)
        return false;
    layout.key = layout.signature + signatureLength;
    const uint32_t blockLength = GetU32(bytes, layout.key + 4);
    const uint32_t gap = GetU32(bytes, layout.key + 8);
    const size_t rest = bytes.size() - (layout.key + 12);
    if (gap > rest || blockLength > rest - gap)
        return false;
    layout.block = layout.key + 12 + gap;
    layout.blockLength = blockLength;
    return true;
}

}  // namespace

std::vector<uint8_t> PackageToStored(const std::vector<uint8_t>& plain)
{
    std::vector<uint8_t> stored = plain;
    Layout layout;
    if (!FindLayout(stored, layout))
        return stored;
    if (layout.total)
        PutU32(stored, layout.total, uint32_t(stored.size()));
    ScramblePackageBlockForFixture(stored.data() + layout.block, int(layout.blockLength), GetU32(stored, layout.key),
                                   PackageKeyTable::Data());
    if (GetU32(stored, layout.signatureKind) == kSignatureSha1 && layout.signatureLength == sizeof(MKSha1Digest)) {
        MKSha1Digest digest;
        ComputeSha1(&digest, stored.data() + layout.block, int(layout.blockLength));
        memcpy(stored.data() + layout.signature, &digest, sizeof(digest));
    }
    return stored;
}

std::vector<uint8_t> PackageToPlain(const std::vector<uint8_t>& stored)
{
    std::vector<uint8_t> plain = stored;
    Layout layout;
    if (FindLayout(plain, layout))
        ScramblePackageBlock(plain.data() + layout.block, int(layout.blockLength), GetU32(plain, layout.key));
    return plain;
}
