#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"
#include <stdint.h>

class MKBinaryReader;

// The plain prefix shared by update and module packages: magic, format version,
// an optional SHA-1 signature of the header block as stored, the header key and
// the scrambled header block. Read answers the header block descrambled, with
// the file's size; the file is closed again before it returns.
struct PackageFormat {
    uint32_t magic;
    // The file must be longer than this.
    int minimumSize;
    // Update packages store the total size (checked) and a reserved word;
    // module packages one ignored word.
    bool hasTotalSize;
};

enum PackageHeaderResult {
    PackageHeaderOk = 0,
    PackageHeaderCannotOpen = 1,
    PackageHeaderNotPackage = 2,
    PackageHeaderBad = 3,
    PackageHeaderWrongVersion = 4,
};

class PackageHeaderBlock {
public:
    // A PackageHeaderResult; block holds the plain header block on success,
    // and *sha1Signed says whether a SHA-1 signature was there and matched.
    static int Read(const MKString& path, const PackageFormat& format, int* fileSize, bool* sha1Signed,
                    MKByteArray& block);
};

// Passes over an extension block (u32 length and the bytes); false when the
// stream ends first.
bool SkipPackageExtension(MKBinaryReader& reader);
