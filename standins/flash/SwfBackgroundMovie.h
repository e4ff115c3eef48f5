#pragma once
#include <string>

#include "standins/controls/MovieScript.h"

namespace standin {

// Uncompressed SWF files ("FWS"): the stand-in shows each of the movie's
// frames as its background colour (SetBackgroundColor before the first
// frame, else white) at the header's frame rate. It draws nothing else of
// the movie. False with a reason for anything else, compressed movies
// included. Plain data, parsed without windows.
bool ParseSwfBackgroundMovie(const std::string& bytes, MovieScript& script, std::wstring& error);

}  // namespace standin
