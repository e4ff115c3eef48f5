#pragma once
#include <string>

class PVAction;
class PVCharDictionary;
class PVMovie;

// What the engine parsed, in the manifest text of tests/fixtures/SwfManifest.h.
std::string DumpActions(const PVAction* first);
std::string DumpMovie(const PVMovie& movie, int indent);
// Background, characters by id, then the main movie.
std::string DumpParse(const PVCharDictionary& dictionary, const PVMovie& movie);
