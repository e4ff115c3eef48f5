#include "player/engine/PVMovieParser.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "player/engine/PVAudio.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVCounted.h"
#include "player/engine/PVInStream.h"
#include "player/engine/PVInZStream.h"
#include "player/engine/PVJpegDecompressor.h"
#include "player/engine/PVMovie.h"

namespace {

// The image's memory grows as data arrives, so a length claimed by the header
// costs memory only once the source really delivers it.
constexpr uint32_t kFirstImageBlock = 64u << 10;

}  // namespace

PVMovieParser::~PVMovieParser()
{
    delete jpegTables_;
    PVReleaseEach(streams_);
    FreeImage();
}

void PVMovieParser::FreeImage()
{
    if (imageReserved_)
        VirtualFree(image_, 0, MEM_RELEASE);
    else
        std::free(image_);
    image_ = nullptr;
    imageReserved_ = false;
    imageCapacity_ = imageLength_ = 0;
    pos_ = end_ = 0;
    bitCount_ = 0;
    overrun_ = false;
}

bool PVMovieParser::CheckHeader(const uint8_t header[8])
{
    const bool stored = header[0] == 'F' && header[1] == 'W' && header[2] == 'S';
    const bool deflated = header[0] == 'C' && header[1] == 'W' && header[2] == 'S';
    const uint32_t length = header[4] | header[5] << 8 | header[6] << 16 | static_cast<uint32_t>(header[7]) << 24;
    if ((!stored && !deflated) || length <= 20)
        return false;
    compressed_ = deflated;
    version_ = header[3];
    fileLength_ = length;
    return true;
}

bool PVMovieParser::GrowImage(uint32_t size)
{
    if (imageReserved_) {
        if (!VirtualAlloc(image_ + imageCapacity_, size - imageCapacity_, MEM_COMMIT, PAGE_READWRITE))
            return false;
    } else {
        auto* image = static_cast<uint8_t*>(std::realloc(image_, size));
        if (!image)
            return false;
        image_ = image;
    }
    imageCapacity_ = size;
    return true;
}

uint32_t PVMovieParser::FillImage(PVInStream& source)
{
    uint32_t filled = 8;
    while (filled < fileLength_) {
        if (filled == imageCapacity_ &&
            !GrowImage(imageCapacity_ < fileLength_ / 2 ? imageCapacity_ * 2 : fileLength_))
            return 0;
        // A source that ends (or breaks) before the claimed length leaves the
        // movie as far as it came: writers that cannot seek back store a
        // placeholder length, and the tags that arrived are whole.
        const int got = source.Read(image_ + filled, static_cast<int>(imageCapacity_ - filled));
        if (got <= 0 || static_cast<uint32_t>(got) > imageCapacity_ - filled)
            break;
        filled += static_cast<uint32_t>(got);
    }
    return filled;
}

bool PVMovieParser::ReadBody(const uint8_t header[8], PVInStream& stream, PVRect& rect, float& rate,
                             uint16_t& frameCount)
{
    FreeImage();
    if (fileLength_ <= 20 || fileLength_ > kMaxImageSize)
        return false;
    // Address space for the whole claimed length, committed only as data
    // arrives, lets the image grow without moving. Without that room the
    // image is a heap block that moves as it grows.
    image_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, fileLength_, MEM_RESERVE, PAGE_READWRITE));
    imageReserved_ = image_ != nullptr;
    if (!GrowImage(fileLength_ < kFirstImageBlock ? fileLength_ : kFirstImageBlock)) {
        FreeImage();
        return false;
    }
    std::memcpy(image_, header, 8);

    uint32_t filled;
    if (compressed_) {
        PVInZStream inflater(&stream);
        filled = FillImage(inflater);
    } else {
        filled = FillImage(stream);
    }
    if (filled <= 8) {  // nothing of the body came
        FreeImage();
        return false;
    }

    pos_ = 8;
    end_ = imageLength_ = filled;
    rect = ReadRect();
    // Widths below one pixel, negative ones included, make no movie.
    const int64_t width = static_cast<int64_t>(rect.xmax) - rect.xmin;
    const int64_t height = static_cast<int64_t>(rect.ymax) - rect.ymin;
    if (width < 20 || height < 20)
        return false;
    rate = ReadU16() / 256.0f;
    frameCount = ReadU16();
    return !overrun_;
}

bool PVMovieParser::ReadHeader(PVInStream& stream, PVRect& rect, float& rate, uint16_t& frameCount)
{
    uint8_t header[8];
    int got = 0;
    while (got < 8) {
        const int n = stream.Read(header + got, 8 - got);
        if (n <= 0)
            return false;
        got += n;
    }
    return CheckHeader(header) && ReadBody(header, stream, rect, rate, frameCount);
}

PVMovie* PVMovieParser::ReadMovie(PVInStream& stream, PVCharDictionary& dictionary, PVRect& rect,
                                  float& rate)
{
    uint16_t frameCount = 0;
    if (!ReadHeader(stream, rect, rate, frameCount))
        return nullptr;
    auto* movie = new (std::nothrow) PVMovie(frameCount);
    if (!movie)
        return nullptr;
    dictionary_ = &dictionary;
    fillBudget_ = fileLength_;
    pathsArePostScript_ = false;
    int framesShown = 0;
    ReadTags(*movie, &framesShown);
    // The frame count of a movie cut short is a placeholder like its length.
    if (ImageLength() < fileLength_)
        movie->TrimFrameCount(framesShown);
    dictionary_ = nullptr;
    return movie;
}
