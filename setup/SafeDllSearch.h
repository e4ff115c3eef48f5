#pragma once

// Limits where this process looks for libraries it loads by name to the
// system folder, leaving out the program's own folder and the current one: a
// setup program is often run from a downloads folder in which anyone's
// library may lie. Systems without the call keep their order but lose the
// current folder. Call before anything loads a library.
void RestrictDllSearchToSystem();
