#include "addin/update/PackageItem.h"
#include "addin/update/FileCalls.h"
#include "addin/update/FileOperations.h"
#include "addin/update/PackageSliceStream.h"
#include "base/MKFile.h"
#include "base/MKInFileStream.h"
#include "base/MKInLzmaStream.h"
#include "base/MKInZStream.h"
#include "base/MKSha1Stream.h"
#include "base/MKStreamErrors.h"

namespace {

const int kBlockSize = 16384;

} // namespace

int PackageItem::ComputeDigest(MKSha1Digest* out) const
{
    MKInFileStream file;
    if (!file.Open(m_packagePath.GetText()))
        return PackageItemCannotOpenPackage;
    return ComputeDigest(file, out);
}

bool ComputeFileDigest(const MKString& path, MKSha1Digest* out)
{
    MKInFileStream file;
    if (!file.Open(path.GetText()))
        return false;
    MKSha1Stream sha;
    uint8_t block[kBlockSize];
    for (int got; (got = file.Read(block, kBlockSize)) > 0;)
        sha.Write(block, got);
    if (file.GetError() != MKStreamErrorEnd)
        return false;
    sha.Close();
    sha.GetDigest(out);
    return true;
}

int PackageItem::ComputeDigest(MKInFileStream& file, MKSha1Digest* out) const
{
    if (!file.Seek(dataOffset))
        return PackageItemReadFailed;
    MKSha1Stream sha;
    uint8_t block[kBlockSize];
    for (int left = storedSize; left > 0;) {
        int step = left < kBlockSize ? left : kBlockSize;
        if (file.Read(block, step) != step)
            return PackageItemReadFailed;
        sha.Write(block, step);
        left -= step;
    }
    sha.Close();
    sha.GetDigest(out);
    return PackageItemOk;
}

int PackageItem::ExtractToFile(const MKString& path, const MKSharedSecurity* security, ItemDigestCheck check,
                               MKSha1Digest* written) const
{
    if (!HasData())
        return PackageItemNoData;
    bool verify = check == ItemDigestCheck::Required || (check == ItemDigestCheck::WhenStated && digest.IsSha1());
    if (verify && !digest.IsSha1())
        return PackageItemNotVerified;
    MKInFileStream file;
    if (!file.Open(m_packagePath.GetText()))
        return PackageItemCannotOpenPackage;
    if (!file.Seek(dataOffset))
        return PackageItemReadFailed;
    if (DeleteOrTruncateFile(path, security) != 0)
        return PackageItemCannotCreate;
    HANDLE target = CreateFileW(path.GetText(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        DeleteFileW(path.GetText());
        return PackageItemCannotCreate;
    }
    int result = Copy(file, target, verify, written);
    if (!CloseHandle(target) && result == PackageItemOk)
        result = PackageItemWriteFailed;
    if (result != PackageItemOk) {
        DeleteFileW(path.GetText());
        return result;
    }
    if (dateTime.GetValue() != 0)
        MKFileSetModifiedTime(path, &dateTime);
    return PackageItemOk;
}

int PackageItem::Copy(MKInFileStream& file, HANDLE target, bool verify, MKSha1Digest* written) const
{
    PackageSliceStream slice(&file, storedSize);
    MKSha1Stream sha;
    if (verify)
        slice.SetHash(&sha);
    MKInZStream inflated(&slice);
    MKInLzmaStream decoded(&slice);
    MKInStream* source = method == 1 ? static_cast<MKInStream*>(&inflated)
        : method == 2                ? static_cast<MKInStream*>(&decoded)
                                     : static_cast<MKInStream*>(&slice);
    MKSha1Stream output;
    uint8_t block[kBlockSize];
    for (int left = size; left > 0;) {
        int step = left < kBlockSize ? left : kBlockSize;
        if (source->Read(block, step) != step)
            return PackageItemReadFailed;
        if (written)
            output.Write(block, step);
        DWORD count = 0;
        if (!GetFileCalls().writeFile(target, block, DWORD(step), &count, nullptr) || count != DWORD(step))
            return PackageItemWriteFailed;
        left -= step;
    }
    if (written) {
        output.Close();
        output.GetDigest(written);
    }
    if (!verify)
        return PackageItemOk;
    // The digest covers every stored byte, also those a decoder left unread.
    if (!slice.ReadToEnd())
        return PackageItemReadFailed;
    sha.Close();
    MKSha1Digest computed;
    sha.GetDigest(&computed);
    return digest.Matches(computed) ? PackageItemOk : PackageItemNotVerified;
}
