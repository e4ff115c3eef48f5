#pragma once
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVString.h"

// One frame of a timeline: its label (empty when none) and its control
// records in file order, which the frame owns (see PVControlRecord::Destroy).
class PVMovieFrame {
public:
    PVMovieFrame() = default;
    ~PVMovieFrame();
    PVMovieFrame(const PVMovieFrame&) = delete;
    PVMovieFrame& operator=(const PVMovieFrame&) = delete;

    PVString label;
    PVControlRecord* first = nullptr;
    PVControlRecord* last = nullptr;

    // Takes ownership of the record and links it at the end.
    void Append(PVControlRecord* record)
    {
        record->next = nullptr;
        if (last)
            last->next = record;
        else
            first = record;
        last = record;
    }
};
