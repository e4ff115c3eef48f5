#pragma once
#include "hostapi/PowerPointInterfaces.h"

#include <memory>

namespace standin {

// State shared by every object of one presentation: its Saved mark, which
// any change made through PowerPoint's members clears (as PowerPoint does);
// what test code builds directly leaves it alone.
struct DocumentState {
    long saved = PowerPoint::msoTrue;
    // PowerPoint before 12: an effect of a trigger sequence answers its
    // trigger type as on shape click, whatever it is; only in the main
    // sequence does it tell its own.
    bool triggerTypesByPosition = false;

    void Touch() { saved = PowerPoint::msoFalse; }
};

using DocumentStatePtr = std::shared_ptr<DocumentState>;

}  // namespace standin
