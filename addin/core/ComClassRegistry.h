#pragma once
#include "base/MKString.h"

// The keys of an in-process COM class under HKEY_CLASSES_ROOT:
// CLSID\<class id> (default value the name) with InprocServer32 (the module
// path) and ProgID (the ProgID), and <ProgID> (the name) with CLSID (the
// class id). The class id text includes its braces.

// Replaces both trees with fresh ones. False for an empty argument or when
// any key or value could not be written.
bool RegisterComClass(const MKString& classIdText, const MKString& progId, const MKString& modulePath,
                      const MKString& name);
// Deletes both trees. True when both are gone afterwards (also when they were
// never there); false for an empty argument.
bool UnregisterComClass(const MKString& classIdText, const MKString& progId);
