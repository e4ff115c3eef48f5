#include "companions/updateaddin/UpdaterResultFile.h"

#include "addin/update/RecordFile.h"
#include "addin/update/UpdaterFolder.h"

namespace {

const uint32_t kResultMagic = 0x23630B07;
const uint32_t kResultVersion = 1;

}  // namespace

bool WriteUpdaterResultFile(const MKString& installationFolder, const MKSharedSecurity* security, int32_t step,
                            bool prepare, int32_t errorCode, const MKString& message)
{
    if (!EnsureUpdaterFolder(installationFolder, security))
        return false;
    RecordFileWriter record;
    MKBinaryWriter& writer = record.Writer();
    writer.WriteU32(kResultMagic);
    writer.WriteU32(kResultVersion);
    writer.WriteInt32(step);
    writer.WriteU8(prepare ? 1 : 0);
    writer.WriteInt32(errorCode);
    writer.WriteString(message);
    record.WriteExtension();
    return record.SaveTo(GetResultFilePath(installationFolder));
}
