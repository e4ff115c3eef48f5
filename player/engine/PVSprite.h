#pragma once
#include "player/engine/PVChar.h"

class PVMovie;

// A movie clip character: its own timeline, shared by every clip that plays
// it. The sprite holds one reference to the movie.
class PVSprite : public PVChar {
public:
    // Takes over the caller's reference to `movie`.
    PVSprite(int id, PVMovie* movie);
    ~PVSprite() override;

    PVMovie* Movie() const { return movie_; }

private:
    PVMovie* movie_;
};
