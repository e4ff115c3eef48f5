#pragma once
#include <windows.h>

#include "base/MKString.h"

class MKRegKey;

// Office applications whose COM add-ins are registered here; the name is the
// registry key word. Any other code makes the operations answer false.
enum OfficeApplication : int { kOfficeExcel = 1, kOfficeWord = 2, kOfficePowerPoint = 3 };

// Where an Office add-in entry is written or removed.
enum OfficeAddInScope : int {
    // Writing and removing: the current user (HKEY_CURRENT_USER).
    kScopeCurrentUser = 0,
    // Writing and removing: the machine (HKEY_LOCAL_MACHINE), after every
    // user's entry has been removed.
    kScopeMachine = 1,
    // Writing: the machine, leaving the users' entries alone. Removing: the
    // current user and every loaded ordinary user hive.
    kScopeMachineOnly = 2,
    kScopeEveryUser = 2,
};

// Office's COM add-in entries: <root>\Software\Microsoft\Office\<application>
// \AddIns\<ProgID> with LoadBehavior, CommandLineSafe 0, FriendlyName and
// Description; plus the per-user copies that registry virtualisation makes of
// machine entries. Every failure is answered, nothing is retried.
class OfficeAddInKeys {
public:
    // Writes the entry afresh (an existing one is replaced completely; empty
    // texts are not written), then removes the virtualised copies. False when
    // any part failed: a half-written entry is deleted again.
    static bool Write(int application, const MKString& progId, const MKString& friendlyName,
                      const MKString& description, DWORD loadBehavior, int scope);
    // Removes the entries of the scope and their virtualised copies. False for
    // an unknown application or when an entry that exists could not be
    // deleted; absent entries count as removed.
    static bool Remove(int application, const MKString& progId, int scope);
    // The entry exists under HKEY_LOCAL_MACHINE (machine) or HKEY_CURRENT_USER
    // and holds a FriendlyName value.
    static bool IsRegistered(int application, const MKString& progId, bool machine);

    // Deletes the copy of an add-in's registration that registry
    // virtualisation may have made below key (a classes root of a user):
    // "VirtualStore\MACHINE\SOFTWARE\Microsoft\Office\<application>\Addins
    // \<add-in>". False only when such a copy exists and could not be deleted.
    static bool RemoveVirtualStoreCopy(const wchar_t* applicationName, const MKString& addInKeyName,
                                       const MKRegKey& key);

    // The registry key word of the application, or null.
    static const wchar_t* ApplicationName(int application);
    // A sub-key of HKEY_USERS that holds an ordinary user's hive:
    // "S-1-5-21-a-b-c-rid" with digits for a, b and c and a relative id above
    // 999 (built-in accounts and "_Classes" hives are not).
    static bool IsUserHiveName(const MKString& name);
};
