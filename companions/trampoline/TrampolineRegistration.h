#pragma once
#include "base/MKString.h"

// The server's registration: its application identifier, its class with
// both ProgIDs (insertable, with the "&Edit" and "&Open" verbs and ole32 as
// in-process handler) and its type library. For the machine the keys go
// under HKEY_CLASSES_ROOT, for the user under HKEY_CURRENT_USER\Software
// \Classes. Unregistration keeps the shared parents (AppID, CLSID).

// Writes every key afresh (the class key is replaced whole) and registers
// the type library of the program; false when any part failed.
bool RegisterTrampoline(const MKString& programPath, bool perUser);
// Deletes the keys and unregisters the type library; true when nothing of
// the server is left (also when nothing was there).
bool UnregisterTrampoline(bool perUser);
