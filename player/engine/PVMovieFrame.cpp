#include "player/engine/PVMovieFrame.h"

PVMovieFrame::~PVMovieFrame()
{
    while (first) {
        PVControlRecord* next = first->next;
        PVControlRecord::Destroy(first);
        first = next;
    }
}
