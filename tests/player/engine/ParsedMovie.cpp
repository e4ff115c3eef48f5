#include "ParsedMovie.h"

#include "MemoryInStream.h"
#include "player/engine/PVInFileStream.h"

ParsedMovie::ParsedMovie(const std::vector<uint8_t>& file, int chunk)
{
    dictionary.Init();
    MemoryInStream stream(file, chunk);
    movie = parser.ReadMovie(stream, dictionary, rect, rate);
}

ParsedMovie::ParsedMovie(const char* path)
{
    PVInFileStream stream;
    if (dictionary.Init() && stream.Open(path))
        movie = parser.ReadMovie(stream, dictionary, rect, rate);
}

ParsedMovie::~ParsedMovie()
{
    if (movie)
        movie->Release();
}
