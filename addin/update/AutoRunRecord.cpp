#include "addin/update/AutoRunRecord.h"
#include "addin/update/ProcessLaunch.h"
#include "addin/update/RecordFile.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKCommandLine.h"
#include "base/MKFile.h"
#include "base/MKRegKey.h"

namespace {

const uint32_t kMagic = 0x5F75D033;
const wchar_t kRunValue[] = L"VistelloUpdater";

MKRegKey OpenRunOnce(bool writable)
{
    MKRegKey windows = MKRegOpenSoftwareKey(L"Microsoft\\Windows\\CurrentVersion", writable);
    if (!writable)
        return windows.OpenSubKey(L"RunOnce", false);
    return windows.CreateSubKey(L"RunOnce");
}

} // namespace

bool WriteAutoRunFile(const MKString& installationFolder, const MKSharedSecurity* security, const MKGuid& run)
{
    if (!EnsureUpdaterFolder(installationFolder, security))
        return false;
    RecordFileWriter record;
    record.Writer().WriteU32(kMagic);
    record.Writer().WriteU32(1);
    record.Writer().WriteGuid(run);
    record.WriteExtension();
    return record.SaveTo(GetAutoRunFilePath(installationFolder));
}

bool ReadAutoRunFile(const MKString& installationFolder, MKGuid* run)
{
    RecordFileReader record;
    if (!record.Open(GetAutoRunFilePath(installationFolder), kMagic, 0))
        return false;
    record.Reader().ReadGuid(run);
    record.SkipExtension();
    return record.IsOk();
}

void DeleteAutoRunFile(const MKString& installationFolder)
{
    MKFileRemove(GetAutoRunFilePath(installationFolder));
}

bool ScheduleRun(const MKString& installationFolder, const MKSharedSecurity* security, const MKString& program,
                 const MKString& arguments)
{
    MKGuid run;
    run.Create();
    MKString command = MKString::PrependText(L"\"", CleanProgramPath(program)) + L"\" " + arguments + L" /silent /auto " +
        run.FormatUpper();
    MKRegKey runOnce = OpenRunOnce(true);
    if (!runOnce)
        return false;
    if (runOnce.HasValue(kRunValue) && !runOnce.DeleteValue(kRunValue))
        return false;
    if (!runOnce.SetString(kRunValue, command))
        return false;
    if (!WriteAutoRunFile(installationFolder, security, run)) {
        runOnce.DeleteValue(kRunValue);
        return false;
    }
    return true;
}

void RemoveScheduledRun(const MKString& installationFolder)
{
    DeleteAutoRunFile(installationFolder);
    MKRegKey runOnce = OpenRunOnce(true);
    if (runOnce && runOnce.HasValue(kRunValue))
        runOnce.DeleteValue(kRunValue);
}

MKString GetScheduledRunCommand()
{
    MKString command;
    OpenRunOnce(false).QueryString(kRunValue, command);
    return command;
}

bool IsScheduledRunPending(const MKString& installationFolder)
{
    MKGuid scheduled;
    if (!ReadAutoRunFile(installationFolder, &scheduled))
        return false;
    MKString command = GetScheduledRunCommand();
    if (command.IsEmpty())
        return false;
    MKCommandLine line;
    line.slashOptions = true;
    line.letterGroups = false;
    if (!line.Parse(command.GetText()) || line.GetArguments().GetCount() == 0 ||
        !MKFileExists(line.GetArguments()[0]))
        return false;
    MKString value;
    MKGuid named;
    return line.SelectOption(L"auto", false) && line.NextValue(value, nullptr) && named.Parse(value.GetText()) &&
        named == scheduled;
}
