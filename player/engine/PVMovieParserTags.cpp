// The tag loop, its dispatch table and the handlers of the timeline tags.
#include "player/engine/PVMovieParser.h"

#include <new>

#include "player/engine/PVAction.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVSprite.h"

namespace {

// Makes a control record of `kind`, has `read` fill it from the tag and adds
// it to the frame. `read` answers false when the tag failed (an overrun or a
// field that could not be stored); the record is freed then.
template <typename Read>
bool AddControlRecord(PVMovie& movie, int frame, uint16_t kind, Read read)
{
    PVControlRecord* record = movie.NewRecord(kind);
    if (!record)
        return false;
    if (!read(*record)) {
        PVControlRecord::Destroy(record);
        return false;
    }
    return movie.AddRecord(frame, record);
}

}  // namespace

// Codes without a handler are skipped by their length. A failing handler
// ends the tag loop only where failureEndsLoop is set.
const PVMovieParser::TagEntry PVMovieParser::kTags[63] = {
    /* 0 End, handled by the loop */ {nullptr, false},
    /* 1 ShowFrame, handled by the loop */ {nullptr, false},
    /* 2 DefineShape */ {&PVMovieParser::ReadDefineShapeTag<false, false>, true},
    /* 3 FreeCharacter */ {&PVMovieParser::ReadFreeCharacter, false},
    /* 4 PlaceObject */ {&PVMovieParser::ReadPlaceObject, true},
    /* 5 RemoveObject */ {&PVMovieParser::ReadRemoveObject, true},
    /* 6 DefineBits */ {&PVMovieParser::ReadDefineBits, true},
    /* 7 DefineButton */ {&PVMovieParser::ReadDefineButton, true},
    /* 8 JPEGTables */ {&PVMovieParser::ReadJPEGTables, true},
    /* 9 SetBackgroundColor */ {&PVMovieParser::ReadSetBackgroundColor, false},
    /* 10 DefineFont */ {&PVMovieParser::ReadDefineFont, true},
    /* 11 DefineText */ {&PVMovieParser::ReadDefineTextTag<false>, true},
    /* 12 DoAction */ {&PVMovieParser::ReadDoActionTag, true},
    /* 13 DefineFontInfo */ {&PVMovieParser::ReadDefineFontInfoTag<1>, true},
    /* 14 DefineSound */ {&PVMovieParser::ReadDefineSound, false},
    /* 15 */ {nullptr, false},
    /* 16 */ {nullptr, false},
    /* 17 */ {nullptr, false},
    /* 18 SoundStreamHead */ {&PVMovieParser::ReadSoundStreamHead, false},
    /* 19 SoundStreamBlock */ {&PVMovieParser::ReadSoundStreamBlock, false},
    /* 20 DefineBitsLossless */ {&PVMovieParser::ReadDefineBitsLosslessTag<false>, true},
    /* 21 DefineBitsJPEG2 */ {&PVMovieParser::ReadDefineBitsJPEGTag<false>, true},
    /* 22 DefineShape2 */ {&PVMovieParser::ReadDefineShapeTag<true, false>, true},
    /* 23 DefineButtonCxform */ {&PVMovieParser::ReadDefineButtonCxform, true},
    /* 24 */ {nullptr, false},
    /* 25 PathsArePostScript */ {&PVMovieParser::ReadPathsArePostScript, false},
    /* 26 PlaceObject2 */ {&PVMovieParser::ReadPlaceObject2, true},
    /* 27 */ {nullptr, false},
    /* 28 RemoveObject2 */ {&PVMovieParser::ReadRemoveObject2, true},
    /* 29 */ {nullptr, false},
    /* 30 */ {nullptr, false},
    /* 31 FreeAll */ {&PVMovieParser::ReadFreeAll, false},
    /* 32 DefineShape3 */ {&PVMovieParser::ReadDefineShapeTag<true, true>, true},
    /* 33 DefineText2 */ {&PVMovieParser::ReadDefineTextTag<true>, true},
    /* 34 DefineButton2 */ {&PVMovieParser::ReadDefineButton2, true},
    /* 35 DefineBitsJPEG3 */ {&PVMovieParser::ReadDefineBitsJPEGTag<true>, true},
    /* 36 DefineBitsLossless2 */ {&PVMovieParser::ReadDefineBitsLosslessTag<true>, true},
    /* 37 */ {nullptr, false},
    /* 38 */ {nullptr, false},
    /* 39 DefineSprite */ {&PVMovieParser::ReadDefineSprite, true},
    /* 40 NameCharacter */ {&PVMovieParser::ReadNameCharacter, true},
    // ProductInfo holds binary fields, not text: nothing in it is used.
    /* 41 ProductInfo */ {nullptr, false},
    /* 42 */ {nullptr, false},
    /* 43 FrameLabel */ {&PVMovieParser::ReadFrameLabel, true},
    /* 44 */ {nullptr, false},
    /* 45 SoundStreamHead2 */ {&PVMovieParser::ReadSoundStreamHead, false},
    /* 46 DefineMorphShape */ {&PVMovieParser::ReadDefineMorphShape, true},
    /* 47 */ {nullptr, false},
    /* 48 DefineFont2 */ {&PVMovieParser::ReadDefineFont2, true},
    /* 49 */ {nullptr, false},
    /* 50 */ {nullptr, false},
    /* 51 */ {nullptr, false},
    /* 52 */ {nullptr, false},
    /* 53 */ {nullptr, false},
    /* 54 */ {nullptr, false},
    /* 55 */ {nullptr, false},
    /* 56 ExportAssets */ {&PVMovieParser::ReadExportAssets, false},
    /* 57 ImportAssets */ {&PVMovieParser::ReadImportAssets, false},
    /* 58 */ {nullptr, false},
    /* 59 */ {nullptr, false},
    /* 60 */ {nullptr, false},
    /* 61 */ {nullptr, false},
    /* 62 DefineFontInfo2 */ {&PVMovieParser::ReadDefineFontInfoTag<2>, true},
};

void PVMovieParser::SkipTag(const PVTagHeader& tag)
{
    pos_ = tag.end;
    bitCount_ = 0;
}

bool PVMovieParser::ReadTags(PVMovie& movie, int* framesShown)
{
    // Every tag of this timeline lies within the enclosing data: the image
    // for the main movie, the sprite's tag for a sprite.
    const uint32_t scopeEnd = end_;
    const int firstStream = streams_.Count();
    int frame = 0;
    bool result = true;
    for (;;) {
        PVTagHeader tag;
        if (!ReadTagHeader(tag)) {
            result = false;  // no End tag before the data ran out
            break;
        }
        if (tag.code == 0)
            break;
        if (tag.code == 1) {
            ++frame;
        } else if (tag.code < 63 && kTags[tag.code].handler) {
            end_ = tag.end;
            tagLength_ = tag.length;
            overrun_ = false;
            const TagEntry& entry = kTags[tag.code];
            const bool ok = (this->*entry.handler)(movie, frame) && !overrun_;
            end_ = scopeEnd;
            overrun_ = false;
            if (!ok && entry.failureEndsLoop) {
                result = false;
                break;
            }
        }
        SkipTag(tag);
        if (frame > movie.FrameCount())
            break;
    }
    end_ = scopeEnd;
    if (framesShown)
        *framesShown = frame;
    // The streams of a loop that failed stay with the parser (their start
    // records hold references of their own).
    if (result) {
        for (int i = firstStream; i < streams_.Count(); ++i) {
            if (movie.AddSound(streams_[i]))
                streams_[i] = nullptr;
            else
                streams_[i]->Release();
        }
        streams_.Trim(firstStream);
    }
    return result;
}

bool PVMovieParser::ReadFreeCharacter(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    if (!overrun_)
        dictionary_->Remove(id);
    return true;
}

bool PVMovieParser::ReadPlaceObject(PVMovie& movie, int frame)
{
    return AddControlRecord(movie, frame, PVControlRecord::kPlace, [this](PVControlRecord& record) {
        record.flags = PVControlRecord::kPlaceCharacter | PVControlRecord::kPlaceMatrix | PVControlRecord::kPlaceCxform;
        record.characterId = ReadU16();
        record.depth = ReadU16();
        record.matrix = ReadMatrix();
        bitCount_ = 0;
        if (pos_ < end_)
            record.cxform = ReadCxform(false);
        return !overrun_ && record.Bind(*dictionary_, fillBudget_);
    });
}

bool PVMovieParser::ReadRemoveObject(PVMovie& movie, int frame)
{
    return AddControlRecord(movie, frame, PVControlRecord::kRemove, [this](PVControlRecord& record) {
        record.characterId = ReadU16();
        record.depth = ReadU16();
        return !overrun_ && record.Bind(*dictionary_, fillBudget_);
    });
}

bool PVMovieParser::ReadSetBackgroundColor(PVMovie&, int)
{
    const PVRGBA color = ReadRGB(false);
    if (!overrun_)
        dictionary_->SetBackgroundColor(color);
    return true;
}

bool PVMovieParser::ReadDoActionTag(PVMovie& movie, int frame)
{
    PVControlRecord* record = ReadDoAction(movie, static_cast<int>(tagLength_));
    return record && movie.AddRecord(frame, record);
}

bool PVMovieParser::ReadPathsArePostScript(PVMovie& movie, int)
{
    movie.SetPathsArePostScript();
    pathsArePostScript_ = true;
    return true;
}

bool PVMovieParser::ReadPlaceObject2(PVMovie& movie, int frame)
{
    return AddControlRecord(movie, frame, PVControlRecord::kPlace, [this](PVControlRecord& record) {
        const uint8_t flags = ReadU8();
        record.flags = flags;
        record.depth = ReadU16();
        if (flags & PVControlRecord::kPlaceCharacter)
            record.characterId = ReadU16();
        if (flags & PVControlRecord::kPlaceMatrix)
            record.matrix = ReadMatrix();
        if (flags & PVControlRecord::kPlaceCxform)
            record.cxform = ReadCxform(true);
        if (flags & PVControlRecord::kPlaceRatio)
            record.ratio = ReadU16();
        bool ok = true;
        if (flags & PVControlRecord::kPlaceName)
            ok = ReadString(record.name);
        if (flags & PVControlRecord::kPlaceClipDepth)
            record.clipDepth = ReadU16();
        return ok && !overrun_ && record.Bind(*dictionary_, fillBudget_);
    });
}

bool PVMovieParser::ReadRemoveObject2(PVMovie& movie, int frame)
{
    return AddControlRecord(movie, frame, PVControlRecord::kRemoveByDepth, [this](PVControlRecord& record) {
        record.depth = ReadU16();
        return !overrun_;
    });
}

bool PVMovieParser::ReadFreeAll(PVMovie&, int)
{
    dictionary_->RemoveAll();
    return true;
}

bool PVMovieParser::ReadDefineSprite(PVMovie&, int)
{
    // Real sprites never nest; deep nesting only exhausts the stack.
    if (spriteNesting_ >= kMaxSpriteNesting)
        return false;
    const uint16_t id = ReadU16();
    const uint16_t frameCount = ReadU16();
    if (overrun_)
        return false;
    auto* movie = new (std::nothrow) PVMovie(frameCount);
    if (!movie)
        return false;
    auto* sprite = new (std::nothrow) PVSprite(id, movie);
    if (!sprite) {
        movie->Release();
        return false;
    }
    const bool savedPostScript = pathsArePostScript_;
    pathsArePostScript_ = false;
    ++spriteNesting_;
    const bool ok = ReadTags(*movie);
    --spriteNesting_;
    pathsArePostScript_ = savedPostScript;
    overrun_ = false;
    if (!ok || !dictionary_->Add(sprite)) {
        sprite->Release();
        return false;
    }
    return true;
}

bool PVMovieParser::ReadNameCharacter(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    const char* name;
    int length;
    if (!ReadStringBytes(name, length) || overrun_)
        return false;
    PVChar* character = dictionary_->Get(id);
    return !character || character->SetName(name, length);
}

bool PVMovieParser::ReadFrameLabel(PVMovie& movie, int frame)
{
    const char* label;
    int length;
    return ReadStringBytes(label, length) && movie.SetLabel(frame, label, length);
}

// The names are not kept, so they are only stepped over.
bool PVMovieParser::ReadExportAssets(PVMovie&, int)
{
    const int count = ReadU16();
    const char* name;
    int length;
    for (int i = 0; i < count && !overrun_; ++i) {
        ReadU16();
        ReadStringBytes(name, length);
    }
    return true;
}

bool PVMovieParser::ReadImportAssets(PVMovie& movie, int frame)
{
    const char* url;
    int length;
    return ReadStringBytes(url, length) && ReadExportAssets(movie, frame);
}
