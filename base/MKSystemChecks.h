#pragma once
#include <windows.h>

// Small questions about the running system. The answers that cannot change
// while the process runs (Vista or later, WOW64, the version number) are
// asked once and kept. Failures answer false or 0.

bool MKIsVistaOrLater();
// Desktop composition through dwmapi.dll (loaded on the first call); false
// before Vista or when the library or the call fails.
bool MKIsDwmCompositionEnabled();
// The process token's TOKEN_ELEVATION_TYPE: 1 (default) before Vista, 0 when
// the token cannot be asked.
int MKGetElevationType();
// Whether the calling thread's token is in BUILTIN\<rid> (S-1-5-32-rid).
bool MKIsMemberOfBuiltinGroup(DWORD relativeId);
// Member of BUILTIN\Administrators.
bool MKIsUserAdmin();
// A 32-bit process on 64-bit Windows.
bool MKIsWow64();
// (major mod 100) x 10000 + (minor mod 100) x 100 + (service pack mod 100),
// plus 1000000 under WOW64: 50103 for XP SP3; 0 when the version is unknown.
int MKGetOSVersionNumber();
int MKOSVersionNumberOf(DWORD major, DWORD minor, DWORD servicePackMajor, bool wow64);

// Answers that take the place of the system's, so tests can stand in for
// machines they do not run on. -1 leaves a question to the system.
struct MKSystemCheckAnswers {
    int vistaOrLater = -1;
    int dwmCompositionEnabled = -1;
    int elevationType = -1;
    int userAdmin = -1;
    int wow64 = -1;
    int osVersionNumber = -1;
};

// Installs a copy of the answers, or with null returns to the system's. Set
// them while no other thread asks.
void MKSetSystemCheckAnswers(const MKSystemCheckAnswers* answers);
