#pragma once
#include <cstdint>

class PVImage;

// One libjpeg decompressor whose errors come back as false or null: the
// library's error exit returns to the failing call here instead of ending
// the process. Tables read by one call stay for the next, so an abbreviated
// image can follow a tables-only stream. Not copyable; one thread at a time.
class PVJpegDecompressor {
public:
    // Null when the library object cannot be made.
    static PVJpegDecompressor* Create();
    ~PVJpegDecompressor();
    PVJpegDecompressor(const PVJpegDecompressor&) = delete;
    PVJpegDecompressor& operator=(const PVJpegDecompressor&) = delete;

    // Reads a stream that need not hold an image (a tables-only stream);
    // its tables are kept. False on a decoding error.
    bool ReadTables(const uint8_t* data, uint32_t length);
    // Decodes the image of `data`; a tables-only stream may come first. The
    // image is grey (kind 4) or RGB (kind 1), plus 1 with `withAlpha`, whose
    // alpha bytes are left 0 for the caller. Null on a decoding error, for
    // more than 8 bits per sample, for colour spaces other than grey and RGB,
    // for more than PVBitmap::kMaxPixels pixels, or when memory runs out.
    PVImage* Decode(const uint8_t* data, uint32_t length, bool withAlpha);

private:
    struct State;

    PVJpegDecompressor() = default;
    bool Init();
    // The decoding proper; its failures jump back to Decode.
    void DecodeRows(bool withAlpha);
    // Frees what a failed decoding left and resets the library object to
    // the start of a stream, keeping its tables.
    void Recover();

    State* state_ = nullptr;
};
