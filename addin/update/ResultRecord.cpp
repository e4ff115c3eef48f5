#include "addin/update/ResultRecord.h"
#include "addin/update/RecordFile.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"

namespace {

const uint32_t kMagic = 0x23630B07;

} // namespace

bool ResultRecord::Exists(const MKString& installationFolder)
{
    return MKPathAccess(GetResultFilePath(installationFolder), 4) == MKPathAccessible;
}

void ResultRecord::Delete(const MKString& installationFolder)
{
    MKFileRemove(GetResultFilePath(installationFolder));
}

bool ReadResultFile(const MKString& installationFolder, int32_t* step, bool* prepare, int32_t* errorCode,
                    MKString* message)
{
    RecordFileReader record;
    if (!record.Open(GetResultFilePath(installationFolder), kMagic, 0))
        return false;
    *step = record.ReadInt32();
    uint8_t flag = 0;
    record.Reader().ReadU8(&flag);
    *prepare = flag != 0;
    *errorCode = record.ReadInt32();
    record.Reader().ReadString(message);
    record.SkipExtension();
    return record.IsOk();
}
