#pragma once
#include "base/MKGuid.h"
#include "base/MKString.h"

class MKSharedSecurity;

// "auto.dat" names the installer run left in the RunOnce key for the next
// log-on; the two are written and removed together.
bool WriteAutoRunFile(const MKString& installationFolder, const MKSharedSecurity* security, const MKGuid& run);
bool ReadAutoRunFile(const MKString& installationFolder, MKGuid* run);
void DeleteAutoRunFile(const MKString& installationFolder);

// Leaves the program with its arguments, the switches /silent and /auto and a
// new run identifier under the RunOnce value "VistelloUpdater" of the current
// user, and the identifier in "auto.dat". False, leaving no value, when either
// cannot be written.
bool ScheduleRun(const MKString& installationFolder, const MKSharedSecurity* security, const MKString& program,
                 const MKString& arguments);
void RemoveScheduledRun(const MKString& installationFolder);
// The RunOnce command; empty when there is none.
MKString GetScheduledRunCommand();
// The RunOnce command names an existing program and the run of "auto.dat".
bool IsScheduledRunPending(const MKString& installationFolder);
