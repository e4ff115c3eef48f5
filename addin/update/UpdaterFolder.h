#pragma once
#include "base/MKString.h"

class MKSharedSecurity;

// The updater folder of an installation and the files the add-in, the update
// add-in and the installer program coordinate through. Every path is built
// from the installation folder (the folder of the add-in library).

MKString GetUpdaterFolder(const MKString& installationFolder);
// True when the folder exists or could be created with the shared attributes.
bool EnsureUpdaterFolder(const MKString& installationFolder, const MKSharedSecurity* security);

MKString GetAddInDllPath(const MKString& installationFolder);
MKString GetUpdaterAddInDllPath(const MKString& installationFolder);
MKString GetUpdaterExePath(const MKString& installationFolder);
// Where earlier versions extracted the installer and setup programs; they are
// now extracted to the user's own program folder (ProgramFolder.h).
MKString GetDownloadedUpdaterPath(const MKString& installationFolder);
MKString GetDownloadedSetupPath(const MKString& installationFolder);

MKString GetLockFilePath(const MKString& installationFolder);
MKString GetCommandFilePath(const MKString& installationFolder);
MKString GetResultFilePath(const MKString& installationFolder);
MKString GetAutoRunFilePath(const MKString& installationFolder);
MKString GetRebootFilePath(const MKString& installationFolder);
MKString GetReadyFilePath(const MKString& installationFolder);
MKString GetHistoryFilePath(const MKString& installationFolder);
MKString GetStateFilePath(const MKString& installationFolder);
// The installer's journal of an installation under way.
MKString GetJournalFilePath(const MKString& installationFolder);

// The installer program leaves "reboot.dat" when its work needs a restart.
bool IsRebootFilePresent(const MKString& installationFolder);

// Deletes the extracted installer and setup programs (in the user's program
// folder and where earlier versions left them), retrying every 100 ms while a
// program still runs, for at most limitMs.
void DeleteInstallerPrograms(const MKString& installationFolder, int limitMs);
