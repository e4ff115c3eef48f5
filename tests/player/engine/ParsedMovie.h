#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ParseDump.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieParser.h"

// A movie file read with a fresh dictionary, as the player reads one: from
// memory, or from the file at `path`. `movie` is null when the file could not
// be opened or its header not read.
struct ParsedMovie {
    explicit ParsedMovie(const std::vector<uint8_t>& file, int chunk = 1 << 30);
    explicit ParsedMovie(const char* path);
    ~ParsedMovie();
    ParsedMovie(const ParsedMovie&) = delete;
    ParsedMovie& operator=(const ParsedMovie&) = delete;

    std::string Dump() const { return movie ? DumpParse(dictionary, *movie) : "(no movie)"; }

    PVCharDictionary dictionary;
    PVMovieParser parser;
    PVMovie* movie = nullptr;
    PVRect rect;
    float rate = 0;
};
