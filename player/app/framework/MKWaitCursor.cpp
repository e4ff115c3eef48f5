#include "player/app/framework/MKWaitCursor.h"

#include <windows.h>

namespace {

int g_count = 0;

}  // namespace

void MKWaitCursor::Begin()
{
    ++g_count;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void MKWaitCursor::End()
{
    if (g_count == 0)
        return;
    if (--g_count == 0)
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

int MKWaitCursor::Count()
{
    return g_count;
}

bool MKWaitCursor::Restore()
{
    if (g_count == 0)
        return false;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return true;
}
