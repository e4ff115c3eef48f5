#pragma once
#include <windows.h>

// What a command's menu item shows: enabled and ticked. A target that does
// not know the command leaves it as it is (enabled, not ticked).
struct MKCommandState {
    bool enabled = true;
    bool checked = false;
};

// One link of the frame's command routing (view, frame, application): the
// first target that answers true has handled the command.
class MKCommandTarget {
public:
    virtual bool OnCommand(UINT id) = 0;
    virtual bool OnUpdateCommand(UINT id, MKCommandState& state) = 0;
    // Before a popup menu opens, for targets that rewrite its items.
    virtual void OnInitMenuPopup(HMENU) {}

protected:
    ~MKCommandTarget() = default;
};
