#include "addin/core/OfficeAddInKeys.h"

#include "base/MKRegKey.h"
#include "base/MKTOArray.h"

#include <stdint.h>

namespace {

const wchar_t kUserMicrosoft[] = L"Software\\Microsoft";
const wchar_t kMachineMicrosoft[] = L"SOFTWARE\\Microsoft";

// The "AddIns" key of the application below a "Microsoft" key.
MKString AddInsPath(const wchar_t* applicationName)
{
    return MKString::FromFormat(L"Office\\%s\\AddIns", applicationName);
}

// Deletes the entry below one root's "Microsoft" key. Keys that do not exist
// leave nothing to delete.
bool DeleteEntry(const MKRegKey& root, const wchar_t* microsoftPath, const wchar_t* applicationName,
                 const MKString& progId)
{
    MKRegKey application =
        root.OpenPath(MKString::FromFormat(L"%s\\Office\\%s", microsoftPath, applicationName), false);
    if (!application || !application.SubKeyExists(L"AddIns"))
        return true;
    MKRegKey addIns = application.OpenSubKey(L"AddIns", true);
    if (!addIns)
        return false;
    return !addIns.SubKeyExists(progId) || addIns.DeleteSubKeyTree(progId);
}

void UserHives(MKTOArray<MKString>& names)
{
    MKTOArray<MKString> all;
    MKOpenRegKey::Users().EnumSubKeys(all);
    names.RemoveAll();
    for (int i = 0; i < all.GetCount(); ++i) {
        if (OfficeAddInKeys::IsUserHiveName(all[i]))
            names.Add(all[i]);
    }
}

// Removes the virtualised copies: those of the classes root for the current
// user, and with everyUser those of every user hive's classes as well.
bool RemoveVirtualCopies(const wchar_t* applicationName, const MKString& progId, bool everyUser)
{
    bool ok = OfficeAddInKeys::RemoveVirtualStoreCopy(applicationName, progId, MKOpenRegKey::ClassesRoot());
    if (!everyUser)
        return ok;
    MKTOArray<MKString> hives;
    UserHives(hives);
    MKRegKey users = MKOpenRegKey::Users();
    for (int i = 0; i < hives.GetCount(); ++i) {
        MKRegKey classes = users.OpenSubKey(hives[i] + L"_Classes", false);
        ok = OfficeAddInKeys::RemoveVirtualStoreCopy(applicationName, progId, classes) && ok;
    }
    return ok;
}

bool RemoveFromEveryUser(const wchar_t* applicationName, const MKString& progId)
{
    bool ok = DeleteEntry(MKOpenRegKey::CurrentUser(), kUserMicrosoft, applicationName, progId);
    MKTOArray<MKString> hives;
    UserHives(hives);
    MKRegKey users = MKOpenRegKey::Users();
    for (int i = 0; i < hives.GetCount(); ++i) {
        MKRegKey hive = users.OpenSubKey(hives[i], false);
        ok = (!hive || DeleteEntry(hive, kUserMicrosoft, applicationName, progId)) && ok;
    }
    return ok;
}

}  // namespace

const wchar_t* OfficeAddInKeys::ApplicationName(int application)
{
    switch (application) {
    case kOfficeExcel:
        return L"Excel";
    case kOfficeWord:
        return L"Word";
    case kOfficePowerPoint:
        return L"PowerPoint";
    default:
        return nullptr;
    }
}

bool OfficeAddInKeys::IsUserHiveName(const MKString& name)
{
    const wchar_t prefix[] = L"S-1-5-21-";
    if (name.Find(prefix) != 0)
        return false;
    MKTOArray<MKString> parts;
    name.Split(L"-", false, parts);
    if (parts.GetCount() != 8)
        return false;
    for (int i = 4; i < 7; ++i) {
        if (!parts[i].IsDigits())
            return false;
    }
    // The relative id of an ordinary account (so no "_Classes" hive either).
    const MKString& rid = parts[7];
    if (!rid.IsDigits())
        return false;
    uint64_t value = 0;
    for (int i = 0; i < rid.GetLength(); ++i)
        value = value * 10 + (rid[i] - L'0');
    return value > 999;
}

bool OfficeAddInKeys::Write(int application, const MKString& progId, const MKString& friendlyName,
                                const MKString& description, DWORD loadBehavior, int scope)
{
    const wchar_t* applicationName = ApplicationName(application);
    if (!applicationName || progId.IsEmpty())
        return false;
    // The users' own entries would hide the machine's.
    bool usersCleared = scope != kScopeMachine || Remove(application, progId, kScopeEveryUser);
    MKRegKey microsoft = scope == kScopeCurrentUser
                             ? MKOpenRegKey::CurrentUser().OpenPath(kUserMicrosoft, true)
                             : MKOpenRegKey::LocalMachine().OpenPath(kMachineMicrosoft, true);
    MKRegKey addIns = microsoft ? microsoft.CreateSubKey(AddInsPath(applicationName)) : MKRegKey();
    if (!addIns)
        return false;
    if (addIns.SubKeyExists(progId) && !addIns.DeleteSubKeyTree(progId))
        return false;
    MKRegKey entry = addIns.CreateSubKey(progId);
    bool written = entry && entry.SetDword(L"LoadBehavior", loadBehavior) && entry.SetDword(L"CommandLineSafe", 0) &&
                   (friendlyName.IsEmpty() || entry.SetString(L"FriendlyName", friendlyName)) &&
                   (description.IsEmpty() || entry.SetString(L"Description", description));
    entry.Release();
    if (!written) {
        addIns.DeleteSubKeyTree(progId);
        return false;
    }
    bool copiesRemoved = RemoveVirtualCopies(applicationName, progId, scope != kScopeCurrentUser);
    return usersCleared && copiesRemoved;
}

bool OfficeAddInKeys::Remove(int application, const MKString& progId, int scope)
{
    const wchar_t* applicationName = ApplicationName(application);
    if (!applicationName || progId.IsEmpty())
        return false;
    bool ok = true;
    switch (scope) {
    case kScopeCurrentUser:
        ok = DeleteEntry(MKOpenRegKey::CurrentUser(), kUserMicrosoft, applicationName, progId);
        break;
    case kScopeMachine:
        ok = RemoveFromEveryUser(applicationName, progId);
        ok = DeleteEntry(MKOpenRegKey::LocalMachine(), kMachineMicrosoft, applicationName, progId) && ok;
        break;
    case kScopeEveryUser:
        ok = RemoveFromEveryUser(applicationName, progId);
        break;
    default:
        return false;
    }
    return RemoveVirtualCopies(applicationName, progId, scope != kScopeCurrentUser) && ok;
}

bool OfficeAddInKeys::IsRegistered(int application, const MKString& progId, bool machine)
{
    const wchar_t* applicationName = ApplicationName(application);
    if (!applicationName || progId.IsEmpty())
        return false;
    MKString path = MKString::FromFormat(L"%s\\%s\\", machine ? kMachineMicrosoft : kUserMicrosoft,
                                         AddInsPath(applicationName).GetText()) +
                    progId.GetText();
    MKRegKey root = machine ? MKOpenRegKey::LocalMachine() : MKOpenRegKey::CurrentUser();
    MKRegKey entry = root.OpenPath(path, false);
    return entry && entry.HasValue(L"FriendlyName");
}

bool OfficeAddInKeys::RemoveVirtualStoreCopy(const wchar_t* applicationName, const MKString& addInKeyName,
                                             const MKRegKey& key)
{
    if (!key)
        return true;
    MKString path =
        MKString::FromFormat(L"VirtualStore\\MACHINE\\SOFTWARE\\Microsoft\\Office\\%s\\Addins", applicationName);
    MKString addInPath = MKString::ConcatChar(path, L'\\');
    addInPath.AppendString(addInKeyName);
    if (addInKeyName.IsEmpty() || !key.SubKeyExists(addInPath))
        return true;
    MKRegKey addIns = key.OpenSubKey(path, true);
    return addIns && addIns.DeleteSubKeyTree(addInKeyName);
}
