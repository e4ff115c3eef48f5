#include "addin/update/PackageDigest.h"
#include "base/MKBinaryReader.h"

bool PackageDigest::Read(MKBinaryReader& reader, int fileSize)
{
    if (!reader.ReadInt32(&kind) || !reader.ReadInt32(&length))
        return false;
    if (length <= 0 || length >= fileSize)
        return true;
    int kept = length < 20 ? length : 20;
    return reader.Read(sha1.bytes, kept) == kept && reader.Skip(length - kept) == length - kept;
}
