#pragma once
#include "hostapi/PowerPointInterfaces.h"

#include <memory>

namespace standin {

// State shared by every object of one presentation: its Saved mark, which
// any change made through PowerPoint's members clears (as PowerPoint does);
// what test code builds directly leaves it alone.
struct DocumentState {
    long saved = PowerPoint::msoTrue;

    void Touch() { saved = PowerPoint::msoFalse; }
};

using DocumentStatePtr = std::shared_ptr<DocumentState>;

}  // namespace standin
