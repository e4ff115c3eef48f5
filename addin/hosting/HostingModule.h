#pragma once
#include <windows.h>

class PlayerVersionCache;

// Process-wide start and end of the content hosting layer, run by the add-in
// module's start (after CoInitialize) and first at its stop. Start keeps the
// module instance on which the hosting window classes are registered and
// creates the player version cache and binds urlmon; Term deletes the cache
// and frees urlmon. Both run on the thread that loads and unloads the add-in.
void HostingModuleInit(HINSTANCE instance);
void HostingModuleTerm();

// The instance given to HostingModuleInit (or to a node host), null before.
HINSTANCE HostingModuleInstance();
void SetHostingModuleInstance(HINSTANCE instance);
// The process's cache; null outside HostingModuleInit..HostingModuleTerm.
PlayerVersionCache* GetHostingPlayerVersionCache();
