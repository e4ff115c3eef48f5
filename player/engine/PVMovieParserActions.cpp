// Decoding of action records into PVAction lists.
#include "player/engine/PVMovieParser.h"

#include <new>

#include "player/engine/PVAction.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVMovie.h"

namespace {

// Lists that name more strings than this keep an empty pool.
constexpr int kMaxPoolStrings = 128;

}  // namespace

// Inline in the two readers below: a long movie holds hundreds of thousands
// of records.
[[gnu::always_inline]] inline PVAction* PVMovieParser::DecodeActionFields(int code)
{
    switch (code) {
    case PVAction::kGotoFrame: {
        auto* action = new (std::nothrow) PVAction_GotoFrame;
        if (action)
            action->frame = ReadU16();
        return action;
    }
    case PVAction::kGetURL: {
        auto* action = new (std::nothrow) PVAction_GetURL;
        if (action && !(ReadString(action->url) && ReadString(action->target))) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kConstantPool: {
        auto* action = new (std::nothrow) PVAction_ConstantPool;
        if (!action)
            return nullptr;
        const int count = ReadU16();
        if (count >= kMaxPoolStrings)
            return action;
        for (int i = 0; i < count && !overrun_; ++i) {
            auto* text = new (std::nothrow) PVString;
            if (text && !action->strings.Add(text)) {
                delete text;
                text = nullptr;
            }
            if (!text || !ReadString(*text)) {  // the pool owns `text` once added
                delete action;
                return nullptr;
            }
        }
        return action;
    }
    case PVAction::kWaitForFrame: {
        auto* action = new (std::nothrow) PVAction_WaitForFrame;
        if (action) {
            action->frame = ReadU16();
            action->skipCount = ReadU8();
        }
        return action;
    }
    case PVAction::kSetTarget: {
        auto* action = new (std::nothrow) PVAction_SetTarget;
        if (action && !ReadString(action->path)) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kGotoLabel: {
        auto* action = new (std::nothrow) PVAction_GotoLabel;
        if (action && !ReadString(action->label)) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kPush: {
        auto* action = new (std::nothrow) PVAction_Push;
        if (!action)
            return nullptr;
        action->valueType = ReadU8();
        if (action->valueType == 0 && !ReadString(action->value)) {
            delete action;
            return nullptr;
        }
        return action;
    }
    case PVAction::kJump: {
        auto* action = new (std::nothrow) PVAction_Jump;
        if (action)
            action->offset = static_cast<int16_t>(ReadU16());
        return action;
    }
    case PVAction::kIf: {
        auto* action = new (std::nothrow) PVAction_If;
        if (action)
            action->offset = static_cast<int16_t>(ReadU16());
        return action;
    }
    case PVAction::kGotoFrame2: {
        auto* action = new (std::nothrow) PVAction_GotoFrame2;
        if (action)
            action->play = ReadU8() != 0;
        return action;
    }
    default:
        // DefineFunction included: its body follows the record and is read
        // as ordinary actions of the same list.
        return new (std::nothrow) PVAction(code);
    }
}

[[gnu::always_inline]] inline PVAction* PVMovieParser::ReadActionInline(int limit)
{
    if (limit < 1)
        return nullptr;  // no byte left for a code
    const int code = ReadU8();
    if (code == 0 || overrun_)
        return nullptr;
    if (code < 0x80)
        return new (std::nothrow) PVAction(code);

    int length = ReadU16();
    if (overrun_)
        return nullptr;
    // A record never reaches the last byte left for its list; a list with
    // no room for a payload at all ends here.
    if (length > limit - 3)
        length = limit - 4;
    if (length < 0 || static_cast<uint32_t>(length) > end_ - pos_)
        return nullptr;

    const uint32_t payloadEnd = pos_ + static_cast<uint32_t>(length);
    const uint32_t listEnd = end_;
    end_ = payloadEnd;
    PVAction* action = DecodeActionFields(code);
    end_ = listEnd;
    if (!action || overrun_) {
        delete action;
        return nullptr;
    }
    pos_ = payloadEnd;
    bitCount_ = 0;
    return action;
}

PVAction* PVMovieParser::ReadAction(int limit)
{
    return ReadActionInline(limit);
}

PVAction* PVMovieParser::ReadActionList(int limit)
{
    PVAction* first = nullptr;
    PVAction* last = nullptr;
    for (;;) {
        const uint32_t start = pos_;
        PVAction* action = ReadActionInline(limit);
        if (!action)
            break;
        action->AddRef();
        if (last)
            last->SetNext(action);
        else
            first = action;
        last = action;
        limit -= static_cast<int>(pos_ - start);
    }
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
