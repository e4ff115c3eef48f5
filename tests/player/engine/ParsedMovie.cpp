#include "ParsedMovie.h"

#include "MemoryInStream.h"

ParsedMovie::ParsedMovie(const std::vector<uint8_t>& file, int chunk)
{
    dictionary.Init();
    MemoryInStream stream(file, chunk);
    movie = parser.ReadMovie(stream, dictionary, rect, rate);
}

ParsedMovie::~ParsedMovie()
{
    if (movie)
        movie->Release();
}
