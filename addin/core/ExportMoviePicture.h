#pragma once
#include "base/MKString.h"

#include <stdint.h>

// Renders one frame of a movie without a window and writes it as a PNG
// (format 1, `quality` the compression level) or JPEG (format 2, the JPEG
// quality) file. A frame below 0 is the movie's current frame; the
// background mode (1 transparent, 2 opaque, 3 over the colour) and the
// colour 0xAARRGGBB go to MovieSnapshot. Answers the empty text on success,
// else the error text; a failed export writes no file (an unknown format
// is refused before anything is rendered).
MKString ExportMoviePicture(const MKString& movie, int width, int height, int frame, const MKString& outputPath,
                            int format, int quality, int backgroundMode, uint32_t backgroundColour);
