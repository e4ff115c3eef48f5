#include "player/app/PVWndPlacement.h"

#include "base/MKString.h"
#include "player/app/framework/MKProfile.h"

#include <stdio.h>

namespace {

const char kEntry[] = "WindowPlacement";

}  // namespace

PVWndPlacement::PVWndPlacement()
{
    m_placement = {};
    m_placement.length = sizeof m_placement;
    m_placement.showCmd = SW_SHOWMAXIMIZED;
    m_placement.ptMaxPosition = {400, 400};
    m_placement.rcNormalPosition = {0, 0, 400, 400};
}

bool PVWndPlacement::Load(const char* section)
{
    m_valid = false;
    if (!section || !*section)
        return false;
    MKString text = MKProfile::GetString(section, kEntry, "");
    int values[11];
    int used = 0;
    if (sscanf(text.GetText(), "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d%n", &values[0], &values[1], &values[2], &values[3],
               &values[4], &values[5], &values[6], &values[7], &values[8], &values[9], &values[10], &used) != 11)
        return false;
    m_placement.flags = UINT(values[1]);
    m_placement.showCmd = UINT(values[2]);
    m_placement.ptMinPosition = {values[3], values[4]};
    m_placement.ptMaxPosition = {values[5], values[6]};
    m_placement.rcNormalPosition = {values[7], values[8], values[9], values[10]};
    m_valid = true;
    return true;
}

void PVWndPlacement::Save(const char* section) const
{
    if (!m_valid)
        return;
    const WINDOWPLACEMENT& p = m_placement;
    MKString text = MKString::FromFormat("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", 0, int(p.flags), int(p.showCmd),
                                         int(p.ptMinPosition.x), int(p.ptMinPosition.y), int(p.ptMaxPosition.x),
                                         int(p.ptMaxPosition.y), int(p.rcNormalPosition.left),
                                         int(p.rcNormalPosition.top), int(p.rcNormalPosition.right),
                                         int(p.rcNormalPosition.bottom));
    MKProfile::WriteString(section, kEntry, text.GetText());
}

bool PVWndPlacement::Capture(const char* section, HWND window)
{
    m_valid = false;
    if (!window || IsIconic(window))
        return false;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return false;
    m_placement = placement;
    m_valid = true;
    Save(section);
    return true;
}
