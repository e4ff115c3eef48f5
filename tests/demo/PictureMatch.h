#pragma once
#include "DemoShow.h"

#include <string>

// How a rectangle of a picture of the show agrees with a reference picture
// of the rectangle's pixel size: raw 8-bit RGB, top row first, as ImageMagick
// dumps it ("rgb:"). The show decodes and resamples the picture with the
// product's own code, the reference comes from another program with another
// filter, so the two agree closely but not to the bit.
struct PictureMatch {
    // Why nothing was compared (no reference, another size, the rectangle
    // off the picture); empty when the two were compared.
    std::string failure;
    // The mean absolute difference of a channel, 0 to 255.
    double meanDifference = 0;
    // The share (0 to 1) of pixels with a channel off by more than 48.
    double shareFarOff = 0;
    // The mean absolute difference of the reference's channels from their
    // mean: 0 for a picture of one colour, tens for a photograph.
    double referenceSpread = 0;

    // Compared, with a mean difference of at most 8 and at most 2% of the
    // pixels far off: a filter or decoder of its own stays well within that,
    // while the picture shifted by a few pixels, flipped, or replaced by its
    // mean colour does not.
    bool Close() const;
    // The figures in a line, for messages.
    std::string Describe() const;
};

// The rectangle of the slide (points) in the picture compared with the
// reference file.
PictureMatch MatchPicture(const ShowPicture& picture, float left, float top, float width, float height,
                          const std::wstring& referencePath);
