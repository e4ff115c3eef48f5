#pragma once
#include "player/engine/PVInStream.h"

// Inflates a zlib stream read from another stream (borrowed, must outlive
// this one). Read answers the bytes produced, 0 once the zlib stream has
// ended, and -1 on corrupt data, a failing source, or when construction could
// not set up the inflater. Kept apart from MKInZStream, which ends with -1 and
// reads an MKInStream.
class PVInZStream : public PVInStream {
public:
    explicit PVInZStream(PVInStream* source);
    ~PVInZStream() override;

    int Read(void* buffer, int size) override;
    // Only forgets the source.
    int Close() override;

private:
    struct State;
    PVInStream* source_;
    State* state_ = nullptr;
};
