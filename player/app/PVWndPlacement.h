#pragma once
#include <windows.h>

// The main window's placement as the profile keeps it: the text
// "WindowPlacement" of a section, eleven integers (a 0, flags, show command,
// minimised x and y, maximised x and y, normal left, top, right, bottom).
// Not valid until loaded or captured.
class PVWndPlacement {
public:
    PVWndPlacement();
    virtual ~PVWndPlacement() = default;

    bool IsValid() const { return m_valid; }
    const WINDOWPLACEMENT& Placement() const { return m_placement; }

    // False (not valid) for an empty section or a text of fewer than eleven
    // integers.
    bool Load(const char* section);
    // Nothing unless valid.
    void Save(const char* section) const;
    // Takes the window's placement and saves it; false without a window or
    // while it is minimised, when the text saved before stays.
    bool Capture(const char* section, HWND window);

private:
    bool m_valid = false;
    WINDOWPLACEMENT m_placement;
};
