#pragma once
#include <cstddef>
#include <cstdint>
#include <new>

#include "player/engine/PVCounted.h"
#include "player/engine/PVSlabPool.h"
#include "player/engine/PVString.h"
#include "player/engine/PVTArray.h"

// One decoded action record. A list links its actions through Next and holds
// one reference to each; a new action starts at count 0 and deletes itself
// when a release brings the count below 1. Codes without a class of their own
// below are plain PVAction objects. Every action class lives in one slot of
// the slab pool of its size class: long movies parse into hundreds of
// thousands of them.
class PVAction : public PVCounted<PVAction> {
public:
    static constexpr size_t kSlotSize = 64;  // the largest action class fits

    static void* operator new(size_t size);  // throws std::bad_alloc
    // Inline: a movie's parse makes one per record. Each class takes a slot
    // of the smallest size class that holds it, so a plain action costs a
    // quarter of the largest one's memory.
    static void* operator new(size_t size, const std::nothrow_t&) noexcept
    {
        return size <= kSlotSize ? pools_[PoolOf(size)].Allocate() : nullptr;
    }
    // Sized: the virtual destructor passes the size of the object's class.
    static void operator delete(void* action, size_t size) noexcept { pools_[PoolOf(size)].Free(action); }

    enum Code {
        kNextFrame = 0x04,
        kPreviousFrame = 0x05,
        kPlay = 0x06,
        kStop = 0x07,
        kToggleQuality = 0x08,
        kStopSounds = 0x09,
        kGotoFrame = 0x81,
        kGetURL = 0x83,
        kConstantPool = 0x88,
        kWaitForFrame = 0x8A,
        kSetTarget = 0x8B,
        kGotoLabel = 0x8C,
        kPush = 0x96,
        kJump = 0x99,
        kDefineFunction = 0x9B,
        kIf = 0x9D,
        kGotoFrame2 = 0x9F,
    };

    explicit PVAction(int code) : code_(code) {}
    virtual ~PVAction() = default;
    PVAction(const PVAction&) = delete;
    PVAction& operator=(const PVAction&) = delete;

    int Code() const { return code_; }
    PVAction* Next() const { return next_; }
    void SetNext(PVAction* next) { next_ = next; }

private:
    static constexpr int PoolOf(size_t size) { return static_cast<int>((size - 1) >> 4); }
    static constinit PVSlabPool pools_[kSlotSize / 16];

    int code_;
    PVAction* next_ = nullptr;
};

// The record types that carry fields. Field meanings follow the format.
class PVAction_GotoFrame : public PVAction {
public:
    PVAction_GotoFrame() : PVAction(kGotoFrame) {}
    uint16_t frame = 0;
};

class PVAction_GetURL : public PVAction {
public:
    PVAction_GetURL() : PVAction(kGetURL) {}
    PVString url;
    PVString target;
};

class PVAction_ConstantPool : public PVAction {
public:
    PVAction_ConstantPool() : PVAction(kConstantPool) {}
    ~PVAction_ConstantPool() override;
    PVTArray<PVString*> strings;  // owned
};

class PVAction_WaitForFrame : public PVAction {
public:
    PVAction_WaitForFrame() : PVAction(kWaitForFrame) {}
    uint16_t frame = 0;
    uint8_t skipCount = 0;
};

class PVMovieClip;

// Either a path the interpreter resolves, or bound to the clip whose actions
// follow (one reference), as clips queue it before their actions.
class PVAction_SetTarget : public PVAction {
public:
    PVAction_SetTarget() : PVAction(kSetTarget) {}
    ~PVAction_SetTarget() override;
    PVString path;
    PVMovieClip* clip = nullptr;
};

class PVAction_GotoLabel : public PVAction {
public:
    PVAction_GotoLabel() : PVAction(kGotoLabel) {}
    PVString label;
};

class PVAction_Push : public PVAction {
public:
    PVAction_Push() : PVAction(kPush) {}
    uint8_t valueType = 0;
    PVString value;  // only for value type 0 (string)
};

// Jump and If share their form: a signed byte offset from the next record.
class PVAction_Jump : public PVAction {
public:
    PVAction_Jump() : PVAction(kJump) {}
    int16_t offset = 0;
};

class PVAction_If : public PVAction {
public:
    PVAction_If() : PVAction(kIf) {}
    int16_t offset = 0;
};

class PVAction_GotoFrame2 : public PVAction {
public:
    PVAction_GotoFrame2() : PVAction(kGotoFrame2) {}
    uint8_t play = 0;
};

// Releases the list's reference to each action, first to last.
void PVReleaseActionList(PVAction* first);
