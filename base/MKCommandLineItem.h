#pragma once
#include "base/MKString.h"

// One classified argument of an MKCommandLine.
struct MKCommandLineItem {
    int index;      // of the raw argument it came from
    MKString text;  // option name without its dash, dashes or slash; or the value
    bool isOption;
    bool isLong;  // written with "--"
};
