#include "addin/update/PackageIdentity.h"
#include "base/MKBinaryReader.h"

bool PackageIdentity::Read(MKBinaryReader& reader)
{
    uint32_t headerVersion = 0;
    if (!reader.ReadU32(&headerVersion) || headerVersion < 1 || headerVersion > 10000)
        return false;
    reader.ReadInt32(&packageKind);
    reader.ReadDateTime(&dateTime);
    reader.ReadString(&name);
    reader.ReadGuid(&guid);
    reader.ReadVersion(&version);
    reader.ReadInt32(&moduleKind);
    reader.ReadVersion(&requiredProduct);
    reader.ReadVersion(&requiredKernel);
    return true;
}
