#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVPlayer.h"

bool PVMovieParser::Load(PVInStream& stream, PVPlayer& player)
{
    if (!player.Dictionary())
        return false;
    PVRect rect;
    float rate = 0;
    PVMovie* movie = ReadMovie(stream, *player.Dictionary(), rect, rate);
    if (!movie)
        return false;
    player.SetFrameGeometry(rect, rate);
    const bool loaded = player.SetMainMovie(movie);
    movie->Release();
    return loaded;
}
