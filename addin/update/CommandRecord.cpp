#include "addin/update/CommandRecord.h"
#include "addin/update/RecordFile.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"

namespace {

const uint32_t kMagic = 0x3C0D2B22;

} // namespace

bool WriteCommandFile(const MKString& installationFolder, const MKSharedSecurity* security, int32_t value,
                      const MKString& text)
{
    if (!EnsureUpdaterFolder(installationFolder, security))
        return false;
    RecordFileWriter record;
    record.Writer().WriteU32(kMagic);
    record.Writer().WriteU32(1);
    record.Writer().WriteInt32(value);
    record.Writer().WriteString(text);
    record.WriteExtension();
    return record.SaveTo(GetCommandFilePath(installationFolder));
}

bool ReadCommandFile(const MKString& installationFolder, int32_t* value, MKString* text)
{
    RecordFileReader record;
    if (!record.Open(GetCommandFilePath(installationFolder), kMagic, 1))
        return false;
    *value = record.ReadInt32();
    record.Reader().ReadString(text);
    record.SkipExtension();
    return record.IsOk();
}

void DeleteCommandFile(const MKString& installationFolder)
{
    MKFileRemove(GetCommandFilePath(installationFolder));
}
