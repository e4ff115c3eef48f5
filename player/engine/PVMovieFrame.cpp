#include "player/engine/PVMovieFrame.h"

PVMovieFrame::~PVMovieFrame()
{
    while (first) {
        PVControlRecord* next = first->next;
        PVControlRecord::Destroy(first);
        first = next;
    }
}

void PVMovieFrame::Append(PVControlRecord* record)
{
    record->next = nullptr;
    if (last)
        last->next = record;
    else
        first = record;
    last = record;
}
