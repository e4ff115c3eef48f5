#pragma once
#include "addin/update/PackageDigest.h"
#include "base/MKDateTime.h"
#include "base/MKString.h"

class MKInFileStream;
class MKSharedSecurity;

enum PackageItemResult {
    PackageItemOk = 0,
    PackageItemCannotOpenPackage = 1,
    PackageItemReadFailed = 2,
    // Only when a package is installed: a target folder cannot be made.
    PackageItemCannotCreateFolder = 3,
    PackageItemCannotCreate = 4,
    PackageItemWriteFailed = 5,
    PackageItemNoData = 6,
    // A checked extraction: the item states no SHA-1 digest, or the stored
    // bytes read while writing do not match it.
    PackageItemNotVerified = 7,
};

// How an extraction checks the stored bytes against the item's digest while
// it writes them: not at all, when the item states a SHA-1 digest, or always
// (an item without one is refused before anything is written: what is to be
// run is never written unchecked).
enum class ItemDigestCheck { None, WhenStated, Required };

// One file of an update package: where it goes (relative to the package's
// target folder) and where its stored bytes lie. The package has checked that
// folder and name stay inside the installation folder and that the stored
// bytes lie inside the file.
class PackageItem {
public:
    explicit PackageItem(const MKString& packagePath) : m_packagePath(packagePath) {}

    // Writes the item's size bytes to path (created with the given attributes,
    // or the folder's inherited ones when null), decoding only the item's own
    // stored bytes and hashing them as they are read when check asks for it;
    // a partly written or unverified file is removed. The file's last-write
    // time becomes the item's date-time. written (when not null) receives the
    // SHA-1 of the bytes written, to check the file again before it is used.
    int ExtractToFile(const MKString& path, const MKSharedSecurity* security,
                      ItemDigestCheck check = ItemDigestCheck::None, MKSha1Digest* written = nullptr) const;
    // SHA-1 over the stored bytes: PackageItemOk, PackageItemCannotOpenPackage
    // or PackageItemReadFailed.
    int ComputeDigest(MKSha1Digest* out) const;
    // ComputeDigest over an open package file.
    int ComputeDigest(MKInFileStream& file, MKSha1Digest* out) const;
    bool HasData() const { return dataOffset != 0; }

    // 3 = the installer program, 6 = a setup program.
    int32_t kind = 0;
    MKString folder;
    MKString name;
    int32_t size = 0;
    MKDateTime dateTime;
    // 0 stored, 1 zlib, 2 LZMA.
    uint8_t method = 0;
    int32_t storedSize = 0;
    PackageDigest digest;
    int32_t dataOffset = 0;

private:
    int Copy(MKInFileStream& file, HANDLE target, bool verify, MKSha1Digest* written) const;

    MKString m_packagePath;
};

// SHA-1 over a whole file's bytes; false when it cannot be read.
bool ComputeFileDigest(const MKString& path, MKSha1Digest* out);
