#pragma once
#include "base/MKString.h"

class MKRegKey;

// Registry entries of Office add-ins outside their usual place.
class OfficeAddInKeys {
public:
    // Deletes the copy of an add-in's registration that registry
    // virtualisation may have made below key (a classes root of a user):
    // "VirtualStore\MACHINE\SOFTWARE\Microsoft\Office\<application>\Addins\
    // <add-in>". False only when such a copy exists and could not be deleted.
    static bool RemoveVirtualStoreCopy(const wchar_t* applicationName, const MKString& addInKeyName,
                                       const MKRegKey& key);
};
