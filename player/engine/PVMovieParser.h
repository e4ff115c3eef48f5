#pragma once
#include <cstdint>

#include "player/engine/PVBitReader.h"
#include "player/engine/PVFindZero.h"
#include "player/engine/PVGeometry.h"
#include "player/engine/PVString.h"
#include "player/engine/PVTArray.h"

class PVAction;
class PVAudio;
class PVCharDictionary;
class PVControlRecord;
class PVInStream;
class PVMovie;
class PVPlayer;
struct PVButtonRecord;
class PVFont;
class PVJpegDecompressor;
class PVShape;
struct PVFillStyleArray;
struct PVLineStyleArray;

// One tag's header as found in the file image: its data runs from `start`
// to `end` (image offsets).
struct PVTagHeader {
    int code = 0;
    uint32_t length = 0;
    uint32_t start = 0;
    uint32_t end = 0;
};

// Turns a movie file into the engine's model: characters into a borrowed
// dictionary, and frames of control records into PVMovie objects.
//
// The whole file is read into one block (the image) first; every reader
// below indexes it directly. All reads are bounded by the data of the tag
// (or action record) being read: a read past that bound answers 0, moves no
// further, and marks the parser overrun, which fails the tag. Byte reads
// start on a byte boundary (the unread bits of the current byte are dropped).
class PVMovieParser {
public:
    // The largest file image the parser will build (uncompressed length).
    static constexpr uint32_t kMaxImageSize = 256u << 20;
    // Sprites defined inside sprites nest at most this deep.
    static constexpr int kMaxSpriteNesting = 16;

    PVMovieParser() = default;
    ~PVMovieParser();
    PVMovieParser(const PVMovieParser&) = delete;
    PVMovieParser& operator=(const PVMovieParser&) = delete;

    // True for an "FWS" or "CWS" signature with a file length above 20;
    // keeps the compressed flag, version and length.
    bool CheckHeader(const uint8_t header[8]);
    // Builds the file image from the body that follows the 8 header bytes
    // (inflating a "CWS" body) and reads the frame rectangle, rate and frame
    // count. A source that ends or breaks before the header's length leaves
    // a shorter image, and every read stays within what arrived. Fails when
    // no byte of the body arrives, and for a frame narrower or lower than one
    // pixel.
    bool ReadBody(const uint8_t header[8], PVInStream& stream, PVRect& rect, float& rate,
                  uint16_t& frameCount);
    // Reads the 8 header bytes, then CheckHeader and ReadBody.
    bool ReadHeader(PVInStream& stream, PVRect& rect, float& rate, uint16_t& frameCount);

    // Reads the header and every tag: characters go into `dictionary`, the
    // timeline into the returned movie (one reference for the caller). Null
    // when the header or the movie cannot be made; a tag that fails part-way
    // only ends the reading, and the movie keeps what was read before it. A
    // movie whose data end before the header's length has as many frames as
    // its data hold, not the header's count.
    PVMovie* ReadMovie(PVInStream& stream, PVCharDictionary& dictionary, PVRect& rect, float& rate);
    // ReadMovie into the player's dictionary, frame rectangle and rate, then
    // the movie becomes the player's main movie. False when the header, the
    // movie or the main clip cannot be made; failing tags only cut it short.
    bool Load(PVInStream& stream, PVPlayer& player);

    bool IsCompressed() const { return compressed_; }
    int Version() const { return version_; }
    uint32_t FileLength() const { return fileLength_; }
    // Bytes of the file image that arrived: the file length, or less when
    // the data ended early.
    uint32_t ImageLength() const { return imageLength_; }
    bool PathsArePostScript() const { return pathsArePostScript_; }

    // Tag walking: reads the header of the tag at the read position; false
    // when no whole header is left or its length passes the end of the
    // enclosing data. SkipTag moves the read position to the tag's end.
    bool ReadTagHeader(PVTagHeader& tag)
    {
        bitCount_ = 0;
        if (end_ - pos_ < 2)
            return false;
        const uint16_t codeAndLength = static_cast<uint16_t>(image_[pos_] | image_[pos_ + 1] << 8);
        uint32_t at = pos_ + 2;
        uint32_t length = codeAndLength & 0x3F;
        if (length == 0x3F) {
            if (end_ - at < 4)
                return false;
            const uint8_t* p = image_ + at;
            length = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
            at += 4;
        }
        if (length > end_ - at)
            return false;
        pos_ = at;
        tag.code = codeAndLength >> 6;
        tag.length = length;
        tag.start = at;
        tag.end = at + length;
        return true;
    }
    void SkipTag(const PVTagHeader& tag);

    // Readers at the read position (see the class comment for bounds).
    uint32_t Position() const { return pos_; }
    bool Overrun() const { return overrun_; }
    // One bit field; records of many (shapes, matrices) read theirs through
    // a PVBitReader held in locals.
    uint32_t ReadUBits(int n)
    {
        PVBitReader bits = Bits();
        const uint32_t value = bits.UBits(n);
        EndBits(bits);
        return value;
    }
    int32_t ReadSBits(int n)
    {
        PVBitReader bits = Bits();
        const int32_t value = bits.SBits(n);
        EndBits(bits);
        return value;
    }
    uint8_t ReadU8()
    {
        bitCount_ = 0;
        if (pos_ >= end_) {
            overrun_ = true;
            return 0;
        }
        return image_[pos_++];
    }
    uint16_t ReadU16()
    {
        bitCount_ = 0;
        if (end_ - pos_ < 2) {
            MarkOverrun();
            return 0;
        }
        uint16_t v = static_cast<uint16_t>(image_[pos_] | image_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    uint32_t ReadU32()
    {
        bitCount_ = 0;
        if (end_ - pos_ < 4) {
            MarkOverrun();
            return 0;
        }
        const uint8_t* p = image_ + pos_;
        pos_ += 4;
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    PVRGBA ReadRGB(bool withAlpha);
    PVRect ReadRect();
    PVMatrix ReadMatrix();
    PVCxform ReadCxform(bool withAlpha);
    // Copies the bytes up to the next 0 (a missing 0 within the bound is an
    // overrun); false only when the copy cannot be allocated.
    bool ReadString(PVString& out)
    {
        const char* text;
        int length;
        if (!ReadStringBytes(text, length))
            return true;
        return reinterpret_cast<const uint8_t*>(text) + PVString::kPaddedRead <= image_ + imageCapacity_
                   ? out.AssignPadded(text, length)
                   : out.Assign(text, length);
    }

    // Action decoding. `limit` is the number of bytes left for the list,
    // counted from the record's code byte. ReadAction answers null at the
    // end code and for a record that cannot be decoded; a list simply ends
    // there, keeping the actions before it (one reference each).
    PVAction* ReadAction(int limit);
    PVAction* ReadActionList(int limit);
    // An actions control record of `movie` holding the list of `length`
    // bytes; null only when the record cannot be allocated.
    PVControlRecord* ReadDoAction(PVMovie& movie, int length);

    // One button record; false at the end mark (a flag byte of 0). With a
    // colour transform (DefineButton2) a filter list and a blend mode that
    // the flags announce are read past.
    bool ReadButtonRecord(PVButtonRecord& record, bool withCxform);
    // Reads past a filter list, each filter by its kind's length; an
    // unknown kind is an overrun.
    void SkipFilterList();
    static constexpr uint8_t kButtonHasFilters = 0x10;
    static constexpr uint8_t kButtonHasBlendMode = 0x20;

    // Sound data of `length` bytes at the read position into `audio`: for
    // MP3 a 16-bit seek-sample count first (giving the start offset of a
    // sound without blocks yet), then one block of the rest. False when the
    // block cannot be stored.
    bool ReadSoundData(PVAudio& audio, int length);

private:
    using TagHandler = bool (PVMovieParser::*)(PVMovie& movie, int frame);
    struct TagEntry {
        TagHandler handler;
        bool failureEndsLoop;
    };
    static const TagEntry kTags[63];

    // A reader of the bits from the read position (the unread bits of the
    // current byte first) to the bound; EndBits takes its position back, the
    // rest of its byte becoming the unread bits.
    PVBitReader Bits() const { return PVBitReader(image_, pos_ * 8 - bitCount_, end_, imageCapacity_); }
    void EndBits(const PVBitReader& bits)
    {
        const uint32_t pos = (bits.Bit() + 7) >> 3;
        if (bits.Overrun() || pos > end_) {
            overrun_ = true;
            pos_ = end_;
            bitCount_ = 0;
            return;
        }
        pos_ = pos;
        bitCount_ = pos * 8 - bits.Bit();
    }
    void MarkOverrun()
    {
        overrun_ = true;
        pos_ = end_;
    }
    // The bytes of the string at the read position, left in the image; false
    // (and an overrun) when no 0 ends it within the bound.
    bool ReadStringBytes(const char*& text, int& length)
    {
        bitCount_ = 0;
        const uint8_t* start = image_ + pos_;
        const uint8_t* stop = image_ + end_;
        const uint8_t* zero = PVFindZero(start, stop, image_ + imageCapacity_);
        if (zero == stop) {
            MarkOverrun();
            return false;
        }
        text = reinterpret_cast<const char*>(start);
        length = static_cast<int>(zero - start);
        pos_ += static_cast<uint32_t>(length) + 1;
        return true;
    }
    void FreeImage();
    // Makes the first `size` bytes of the image usable (size above the
    // current capacity); false when memory runs out.
    bool GrowImage(uint32_t size);
    // Reads the body into the image; answers the bytes the image then holds
    // (header included), 0 when memory runs out.
    uint32_t FillImage(PVInStream& source);
    // Reads a timeline's tags up to its End tag; `framesShown` gets the count
    // of ShowFrame tags read.
    bool ReadTags(PVMovie& movie, int* framesShown = nullptr);

    // Tag handlers; `frame` is the index of the frame being read.
    bool ReadFreeCharacter(PVMovie& movie, int frame);
    bool ReadPlaceObject(PVMovie& movie, int frame);
    bool ReadRemoveObject(PVMovie& movie, int frame);
    bool ReadSetBackgroundColor(PVMovie& movie, int frame);
    bool ReadDoActionTag(PVMovie& movie, int frame);
    bool ReadPathsArePostScript(PVMovie& movie, int frame);
    bool ReadPlaceObject2(PVMovie& movie, int frame);
    bool ReadRemoveObject2(PVMovie& movie, int frame);
    bool ReadFreeAll(PVMovie& movie, int frame);
    bool ReadDefineSprite(PVMovie& movie, int frame);
    bool ReadNameCharacter(PVMovie& movie, int frame);
    bool ReadFrameLabel(PVMovie& movie, int frame);
    bool ReadExportAssets(PVMovie& movie, int frame);
    bool ReadImportAssets(PVMovie& movie, int frame);
    bool ReadDefineButton(PVMovie& movie, int frame);
    bool ReadDefineButton2(PVMovie& movie, int frame);
    bool ReadDefineButtonCxform(PVMovie& movie, int frame);

    // Sounds (PVMovieParserSounds.cpp).
    bool ReadDefineSound(PVMovie& movie, int frame);
    bool ReadSoundStreamHead(PVMovie& movie, int frame);
    bool ReadSoundStreamBlock(PVMovie& movie, int frame);

    // Shapes and morphs (PVMovieParserShapes.cpp, PVMovieParserMorphs.cpp).
    template <bool Extended, bool Alpha>
    bool ReadDefineShapeTag(PVMovie&, int)
    {
        return ReadDefineShape(Extended, Alpha);
    }
    bool ReadDefineShape(bool extended, bool alpha);
    // A style count: a byte, where 255 with `extended` means a 16-bit count
    // follows. -1 when the data cannot hold that many entries.
    int ReadStyleCount(bool extended, int smallestEntry);
    bool ReadFillStyles(PVFillStyleArray& array, bool extended, bool alpha);
    bool ReadLineStyles(PVLineStyleArray& array, bool extended, bool alpha);
    // Reads shape records from the read position (byte-aligned) up to the
    // end record into `shape`'s edges, after new style arrays when
    // `newStyles` (else the shape's first arrays, or one black fill for
    // glyphs). `finish` prepares the edges, and repairs their fill sides in
    // PathsArePostScript movies. False on overrun or lack of memory.
    bool ReadShapeWithStyle(PVShape& shape, bool newStyles, bool extended, bool alpha, bool finish);
    bool ReadDefineMorphShape(PVMovie& movie, int frame);
    bool ReadMorphFillStyles(PVFillStyleArray& start, PVFillStyleArray& end, bool& differ);
    bool ReadMorphLineStyles(PVLineStyleArray& start, PVLineStyleArray& end, bool& differ);

    // Fonts and text (PVMovieParserFonts.cpp).
    bool ReadDefineFont(PVMovie& movie, int frame);
    bool ReadDefineFont2(PVMovie& movie, int frame);
    template <int Version>
    bool ReadDefineFontInfoTag(PVMovie&, int)
    {
        return ReadDefineFontInfo(Version);
    }
    bool ReadDefineFontInfo(int version);
    template <bool Alpha>
    bool ReadDefineTextTag(PVMovie&, int)
    {
        return ReadDefineText(Alpha);
    }
    bool ReadDefineText(bool alpha);
    // Reads glyph i of `font` at table + offsets[i] for each slot; false
    // unless each glyph starts past the offset table (`tableBytes` long) and
    // past the end of the glyph before it.
    bool ReadGlyphs(PVFont& font, uint32_t table, uint32_t tableBytes, const uint32_t* offsets);

    // Bitmaps (PVMovieParserBitmaps.cpp); each reads the rest of the tag.
    bool ReadJPEGTables(PVMovie& movie, int frame);
    bool ReadDefineBits(PVMovie& movie, int frame);
    template <bool Alpha>
    bool ReadDefineBitsJPEGTag(PVMovie&, int)
    {
        return ReadDefineBitsJPEG(Alpha);
    }
    bool ReadDefineBitsJPEG(bool withAlpha);
    template <bool Alpha>
    bool ReadDefineBitsLosslessTag(PVMovie&, int)
    {
        return ReadDefineBitsLossless(Alpha);
    }
    bool ReadDefineBitsLossless(bool withAlpha);

    PVCharDictionary* dictionary_ = nullptr;
    // Bitmap fills that place records may still bind (see
    // PVControlRecord::Bind): one for each byte of the file.
    uint32_t fillBudget_ = 0;
    uint8_t* image_ = nullptr;
    uint32_t imageCapacity_ = 0;  // usable bytes of the image
    bool imageReserved_ = false;  // the image is reserved address space
    uint32_t pos_ = 0;
    uint32_t end_ = 0;       // bound of the data being read
    uint32_t bitCount_ = 0;  // unread low bits of the byte before pos_
    bool overrun_ = false;
    uint32_t tagLength_ = 0;  // length of the tag being handled
    int spriteNesting_ = 0;

    bool compressed_ = false;
    int version_ = 0;
    uint32_t fileLength_ = 0;
    uint32_t imageLength_ = 0;
    bool pathsArePostScript_ = false;
    // Tables of JPEGTables for DefineBits; made by the first JPEGTables tag.
    PVJpegDecompressor* jpegTables_ = nullptr;
    // Streams whose heads were read and that no movie has taken over yet,
    // one reference each; a timeline's loop hands its own to its movie.
    PVTArray<PVAudio*> streams_;
};
