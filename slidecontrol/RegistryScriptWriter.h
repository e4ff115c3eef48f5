#pragma once
#include "slidecontrol/RegistryScript.h"

#include <windows.h>

// Applies a parsed registry script to the registry. Registering creates the
// keys in order (a ForceRemove key is first deleted with everything below
// it) and sets their values; unregistering deletes every key that is not
// NoRemove, with everything below it, and leaves NoRemove keys in place.
// Keys that are already gone are no failure.
class RegistryScriptWriter {
public:
    static HRESULT Register(const RegistryScript& script);
    static HRESULT Unregister(const RegistryScript& script);
};
