// Decoding of action records into PVAction lists.
#include "player/engine/PVMovieParser.h"

#include <new>

#include "player/engine/PVAction.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVFindZero.h"
#include "player/engine/PVMovie.h"

namespace {

// Lists that name more strings than this keep an empty pool.
constexpr int kMaxPoolStrings = 128;

// The bytes of one record's payload. Records are read through locals rather
// than the parser's members, so a long movie's hundreds of thousands of them
// cost few memory round trips. A read past the end answers 0 and marks the
// payload overrun.
struct Payload {
    const uint8_t* at;
    const uint8_t* end;
    const uint8_t* loadEnd;  // end of the image's readable bytes
    bool overrun = false;

    uint8_t U8()
    {
        if (at >= end) {
            overrun = true;
            return 0;
        }
        return *at++;
    }
    uint16_t U16()
    {
        if (end - at < 2) {
            overrun = true;
            at = end;
            return 0;
        }
        const uint16_t value = static_cast<uint16_t>(at[0] | at[1] << 8);
        at += 2;
        return value;
    }
    // False when no 0 ends the string within the payload (an overrun) or
    // the copy cannot be allocated.
    bool String(PVString& out)
    {
        const uint8_t* zero = PVFindZero(at, end, loadEnd);
        if (zero == end) {
            overrun = true;
            at = end;
            return false;
        }
        const char* text = reinterpret_cast<const char*>(at);
        const int length = static_cast<int>(zero - at);
        const bool padded = at + PVString::kPaddedRead <= loadEnd;
        at = zero + 1;
        return padded ? out.AssignPadded(text, length) : out.Assign(text, length);
    }
};

// The action of a record with `code`, its fields read from the payload;
// null when the action or a field cannot be stored.
[[gnu::always_inline]] inline PVAction* DecodeFields(int code, Payload& payload)
{
    switch (code) {
    case PVAction::kGotoFrame: {
        auto* action = new (std::nothrow) PVAction_GotoFrame;
        if (action)
            action->frame = payload.U16();
        return action;
    }
    case PVAction::kGetURL: {
        auto* action = new (std::nothrow) PVAction_GetURL;
        if (action && !(payload.String(action->url) && payload.String(action->target))) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kConstantPool: {
        auto* action = new (std::nothrow) PVAction_ConstantPool;
        if (!action)
            return nullptr;
        const int count = payload.U16();
        if (count >= kMaxPoolStrings)
            return action;
        for (int i = 0; i < count && !payload.overrun; ++i) {
            auto* text = new (std::nothrow) PVString;
            if (text && !action->strings.Add(text)) {
                delete text;
                text = nullptr;
            }
            if (!text || !payload.String(*text)) {  // the pool owns `text` once added
                delete action;
                return nullptr;
            }
        }
        return action;
    }
    case PVAction::kWaitForFrame: {
        auto* action = new (std::nothrow) PVAction_WaitForFrame;
        if (action) {
            action->frame = payload.U16();
            action->skipCount = payload.U8();
        }
        return action;
    }
    case PVAction::kSetTarget: {
        auto* action = new (std::nothrow) PVAction_SetTarget;
        if (action && !payload.String(action->path)) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kGotoLabel: {
        auto* action = new (std::nothrow) PVAction_GotoLabel;
        if (action && !payload.String(action->label)) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kPush: {
        auto* action = new (std::nothrow) PVAction_Push;
        if (!action)
            return nullptr;
        action->valueType = payload.U8();
        if (action->valueType == 0 && !payload.String(action->value)) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kJump: {
        auto* action = new (std::nothrow) PVAction_Jump;
        if (action)
            action->offset = static_cast<int16_t>(payload.U16());
        return action;
    }
    case PVAction::kIf: {
        auto* action = new (std::nothrow) PVAction_If;
        if (action)
            action->offset = static_cast<int16_t>(payload.U16());
        return action;
    }
    case PVAction::kGotoFrame2: {
        auto* action = new (std::nothrow) PVAction_GotoFrame2;
        if (action)
            action->play = payload.U8() != 0;
        return action;
    }
    default:
        // DefineFunction included: its body follows the record and is read
        // as ordinary actions of the same list.
        return new (std::nothrow) PVAction(code);
    }
}

// Decodes the record at `pos` (advanced past what was read) of a list bounded
// by `end` with `limit` bytes left; null at the end code and for a record
// that cannot be decoded. The first `loadable` bytes of the image may be
// read in blocks, past the bound.
[[gnu::always_inline]] inline PVAction* ReadRecord(const uint8_t* image, uint32_t loadable, uint32_t& pos, uint32_t end,
                                                  int limit)
{
    if (limit < 1 || pos >= end)
        return nullptr;  // no byte left for a code
    const int code = image[pos++];
    if (code == 0)
        return nullptr;
    if (code < 0x80)
        return new (std::nothrow) PVAction(code);

    if (end - pos < 2) {
        pos = end;
        return nullptr;
    }
    int length = image[pos] | image[pos + 1] << 8;
    pos += 2;
    // A record never reaches the last byte left for its list; a list with
    // no room for a payload at all ends here.
    if (length > limit - 3)
        length = limit - 4;
    if (length < 0 || static_cast<uint32_t>(length) > end - pos)
        return nullptr;

    Payload payload{image + pos, image + pos + length, image + loadable};
    PVAction* action = DecodeFields(code, payload);
    if (!action || payload.overrun) {
        pos = static_cast<uint32_t>(payload.at - image);
        delete action;
        return nullptr;
    }
    pos += static_cast<uint32_t>(length);
    return action;
}

}  // namespace

PVAction* PVMovieParser::ReadAction(int limit)
{
    bitCount_ = 0;
    return ReadRecord(image_, imageCapacity_, pos_, end_, limit);
}

PVAction* PVMovieParser::ReadActionList(int limit)
{
    const uint8_t* const image = image_;
    const uint32_t loadable = imageCapacity_;
    const uint32_t end = end_;
    uint32_t pos = pos_;
    PVAction* first = nullptr;
    PVAction* last = nullptr;
    for (;;) {
        const uint32_t start = pos;
        PVAction* action = ReadRecord(image, loadable, pos, end, limit);
        if (!action)
            break;
        action->AddFirstRef();
        if (last)
            last->SetNext(action);
        else
            first = action;
        last = action;
        limit -= static_cast<int>(pos - start);
    }
    pos_ = pos;
    bitCount_ = 0;
    // A list cut short by its data ends there; the tag itself still stands.
    overrun_ = false;
    return first;
}

PVControlRecord* PVMovieParser::ReadDoAction(PVMovie& movie, int length)
{
    PVControlRecord* record = movie.NewRecord(PVControlRecord::kActions);
    if (record)
        record->actions = ReadActionList(length);
    return record;
}
