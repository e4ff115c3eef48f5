#include "player/engine/PVSprite.h"

#include "player/engine/PVMovie.h"

PVSprite::PVSprite(int id, PVMovie* movie) : PVChar(kSprite, id), movie_(movie) {}

PVSprite::~PVSprite()
{
    if (movie_)
        movie_->Release();
}
