#pragma once
#include "base/MKString.h"

// The setup program's options. Switches after the program's own path are
// matched whole and in any letter case; a switch written inside double quotes
// is no switch. Everything after "/source" is its value: each later token
// replaces it, so the last one wins and no switch is recognised there.
struct SetupCommandLine {
    bool silent = false;
    bool fromUpdater = false;
    // The text the caller meant, its double quotes taken out; it is quoted
    // again for the installer.
    MKString source;
    // Set when the installer ended with a non-zero exit code: that code is the
    // setup's answer and no box is shown for it.
    bool installerFailed = false;

    // Reads a whole command line (the program's path first); a null text reads
    // as empty. Tokens are kept whole however long they are.
    void Parse(const wchar_t* text);
};
