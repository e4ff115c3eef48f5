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
};

// One file of an update package: where it goes (relative to the package's
// target folder) and where its stored bytes lie. The package has checked that
// folder and name stay inside the installation folder and that the stored
// bytes lie inside the file.
class PackageItem {
public:
    explicit PackageItem(const MKString& packagePath) : m_packagePath(packagePath) {}

    // Writes the item's size bytes to path (created with the shared attributes),
    // decoding only the item's own stored bytes; a partly written file is
    // removed. The file's last-write time becomes the item's date-time.
    int ExtractToFile(const MKString& path, const MKSharedSecurity* security) const;
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
    int Copy(MKInFileStream& file, HANDLE target) const;

    MKString m_packagePath;
};
