#include "addin/core/ExportMoviePicture.h"

#include "addin/hosting/MovieSnapshot.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"

namespace {

const wchar_t kUnknownError[] = L"An unknown error occurred.";
const wchar_t kWriteError[] = L"Error writing to output file.";
const wchar_t kFormatError[] = L"Unknown picture format.";

enum Format { Png = 1, Jpeg = 2 };

bool Write(RasterImage* image, const MKString& path, int format, int quality)
{
    if (format == Png)
        return SavePngFile(image, path, quality);
    // JPEG keeps no alpha: the colours are written as they are.
    RasterImage* rgb = image->ToRgb();
    if (!rgb)
        return false;
    const bool written = SaveJpegFile(rgb, path, quality, false, true, nullptr, nullptr);
    if (rgb != image)
        rgb->Release();
    return written;
}

}  // namespace

MKString ExportMoviePicture(const MKString& movie, int width, int height, int frame, const MKString& outputPath,
                            int format, int quality, int backgroundMode, uint32_t backgroundColour)
{
    // An unknown format fails before anything is rendered or written.
    if (format != Png && format != Jpeg)
        return MKString(kFormatError);
    RasterImage* image = nullptr;
    {
        MovieSnapshot snapshot;
        snapshot.SetMovie(movie);
        if (frame >= 0)
            snapshot.SetFrame(frame);
        snapshot.SetExtent(width, height);
        snapshot.SetBackground(backgroundMode, uint8_t(backgroundColour >> 16), uint8_t(backgroundColour >> 8),
                               uint8_t(backgroundColour), uint8_t(backgroundColour >> 24));
        image = snapshot.Render();
    }
    if (!image)
        return MKString(kUnknownError);
    const bool written = Write(image, outputPath, format, quality);
    image->Release();
    // The writers replace the file only once it is complete: a failure
    // leaves no partial file and any earlier one as it was.
    return written ? MKString() : MKString(kWriteError);
}
