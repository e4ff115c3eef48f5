#include "PictureMatch.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

namespace {

constexpr double kMostMeanDifference = 8;
constexpr int kFarOff = 48;
constexpr double kMostShareFarOff = 0.02;
// A reference larger than this is no picture of a shape on the screen.
constexpr long kMostReferenceBytes = 16 << 20;

std::vector<uint8_t> ReadReference(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return bytes;
    if (fseek(file, 0, SEEK_END) == 0) {
        const long size = ftell(file);
        if (size > 0 && size <= kMostReferenceBytes && fseek(file, 0, SEEK_SET) == 0) {
            bytes.resize(size_t(size));
            if (fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
                bytes.clear();
        }
    }
    fclose(file);
    return bytes;
}

}  // namespace

bool PictureMatch::Close() const
{
    return failure.empty() && meanDifference <= kMostMeanDifference && shareFarOff <= kMostShareFarOff;
}

std::string PictureMatch::Describe() const
{
    if (!failure.empty())
        return failure;
    char line[160];
    snprintf(line, sizeof(line), "mean difference %.1f per channel, %.1f%% of the pixels off by more than %d",
             meanDifference, 100 * shareFarOff, kFarOff);
    return line;
}

PictureMatch MatchPicture(const ShowPicture& picture, float left, float top, float width, float height,
                          const std::wstring& referencePath)
{
    PictureMatch match;
    const RECT area = picture.PixelRect(left, top, width, height);
    const int pixelWidth = area.right - area.left, pixelHeight = area.bottom - area.top;
    if (pixelWidth <= 0 || pixelHeight <= 0 || area.left < 0 || area.top < 0 || area.right > picture.width ||
        area.bottom > picture.height) {
        match.failure = "the rectangle lies off the picture";
        return match;
    }
    const std::vector<uint8_t> reference = ReadReference(referencePath);
    const size_t pixels = size_t(pixelWidth) * size_t(pixelHeight);
    if (reference.size() != 3 * pixels) {
        match.failure = "the reference holds " + std::to_string(reference.size()) + " bytes, not the " +
                        std::to_string(pixelWidth) + " x " + std::to_string(pixelHeight) +
                        " RGB pixels of the rectangle";
        return match;
    }
    double sums[3] = {};
    for (size_t i = 0; i < reference.size(); ++i)
        sums[i % 3] += reference[i];
    uint64_t difference = 0, farOff = 0;
    double spread = 0;
    for (int y = 0; y < pixelHeight; ++y) {
        for (int x = 0; x < pixelWidth; ++x) {
            const DWORD shown = picture.pixels[size_t(area.top + y) * size_t(picture.width) + size_t(area.left + x)];
            const uint8_t* wanted = &reference[3 * (size_t(y) * size_t(pixelWidth) + size_t(x))];
            int most = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const int value = int(shown >> (16 - 8 * channel)) & 0xFF;
                const int off = abs(value - wanted[channel]);
                difference += off;
                most = off > most ? off : most;
                spread += fabs(wanted[channel] - sums[channel] / pixels);
            }
            farOff += most > kFarOff ? 1 : 0;
        }
    }
    match.meanDifference = double(difference) / double(3 * pixels);
    match.shareFarOff = double(farOff) / double(pixels);
    match.referenceSpread = spread / double(3 * pixels);
    return match;
}
