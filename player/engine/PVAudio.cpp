#include "player/engine/PVAudio.h"

#include <cmath>

#include "base/MKLock.h"
#include "player/engine/PVAudioBlock.h"
#include "player/engine/PVMp3Frame.h"

PVAudio::PVAudio(int id, uint8_t format, int32_t volume, int32_t loopCount, int32_t extra, void* callback,
                 int32_t blockSize)
    : PVChar(kAudio, id),
      format_(format),
      blockSize_(blockSize > 0 ? blockSize : kDefaultBlockSize),
      volume_(volume),
      loopCount_(loopCount),
      extra_(extra),
      callback_(callback)
{
}

PVAudio::~PVAudio()
{
    for (PVAudioBlock* block = first_; block;) {
        PVAudioBlock* next = block->next;
        PVAudioBlock::Free(block);
        block = next;
    }
}

int PVAudio::RateOfCode(int code)
{
    static constexpr int kRates[4] = {5500, 11025, 22050, 44100};
    return code >= 0 && code < 4 ? kRates[code] : 44100;
}

void PVAudio::SetPlayback(uint8_t rateCode, bool sixteenBit, bool stereo)
{
    playbackRate_ = rateCode;
    playbackSixteenBit_ = sixteenBit;
    playbackStereo_ = stereo;
}

void PVAudio::SetStream(uint8_t rateCode, bool sixteenBit, bool stereo)
{
    streamRate_ = rateCode;
    streamSixteenBit_ = sixteenBit;
    streamStereo_ = stereo;
}

void PVAudio::SetEndOfData(bool on)
{
    MKLock lock(lock_);
    endOfData_ = on;
}

void PVAudio::Append(PVAudioBlock* block)
{
    block->next = nullptr;
    block->previous = last_;
    if (last_)
        last_->next = block;
    else
        first_ = block;
    last_ = block;
    ++blockCount_;
    totalBytes_ += block->size;
    if (!readBlock_ && blockCount_ == 1) {
        readBlock_ = block;
        readOffset_ = 0;
    }
}

int PVAudio::AddBlock(PVAudioBlock* block)
{
    if (!block)
        return 1;
    if (block->size <= 0) {
        PVAudioBlock::Free(block);
        return -1;
    }
    MKLock lock(lock_);
    if (block->size <= blockSize_) {
        Append(block);
        return 0;
    }
    const bool added = AddPieces(*block);
    PVAudioBlock::Free(block);
    return added ? 0 : 1;
}

bool PVAudio::AddPieces(const PVAudioBlock& block)
{
    const uint8_t* data = block.Data();
    const int32_t size = block.size;
    int32_t at = 0;
    while (at < size) {
        int32_t piece = 0;
        if (IsMp3()) {
            // Whole frames up to the limit; a frame larger than the limit goes
            // alone. Bytes that are no frame fall back to plain cuts.
            PVMp3Frame frame;
            while (at + piece + 3 <= size && data[at + piece] == 0xFF &&
                   PVReadMp3Frame(data[at + piece + 1], data[at + piece + 2], frame) &&
                   (piece == 0 || piece + frame.length <= blockSize_)) {
                piece += frame.length;
                if (piece >= blockSize_)
                    break;
            }
        }
        if (piece == 0)
            piece = blockSize_;
        if (piece > size - at)
            piece = size - at;
        PVAudioBlock* copy = PVAudioBlock::Create(data + at, piece);
        if (!copy)
            return false;
        Append(copy);
        at += piece;
    }
    return true;
}

PVAudioBlock* PVAudio::TakeNextBlock(bool& restart, bool& atEnd, int32_t& offset)
{
    MKLock lock(lock_);
    restart = restart_;
    PVAudioBlock* block = readBlock_;
    if (!block) {
        atEnd = endOfData_;
        offset = 0;
        return nullptr;
    }
    offset = readOffset_;
    readBlock_ = block->next;
    readOffset_ = 0;
    restart_ = false;
    atEnd = endOfData_ && !readBlock_;
    if (handOver_) {
        if (block->previous)
            block->previous->next = block->next;
        else
            first_ = block->next;
        if (block->next)
            block->next->previous = block->previous;
        else
            last_ = block->previous;
        block->previous = block->next = nullptr;
        --blockCount_;
        totalBytes_ -= block->size;
    }
    return block;
}

bool PVAudio::Seek(int32_t ms)
{
    MKLock lock(lock_);
    if (handOver_ || !first_)
        return false;
    if (ms == 0) {
        readBlock_ = first_;
        readOffset_ = 0;
        restart_ = false;
        return true;
    }
    if (!IsMp3())
        return false;
    Position found{};
    if (!FindMP3Position(ms, found)) {
        readBlock_ = nullptr;
        readOffset_ = 0;
        return false;
    }
    readBlock_ = found.block;
    readOffset_ = found.offset;
    return true;
}

namespace {

// A read position over the block queue that crosses block ends.
struct Cursor {
    PVAudioBlock* block;
    int32_t offset;

    // Steps to the next byte that exists; false at the end of the data.
    bool Settle()
    {
        while (block && offset >= block->size) {
            offset -= block->size;
            block = block->next;
        }
        return block != nullptr;
    }
    bool Read(uint8_t& value)
    {
        if (!Settle())
            return false;
        value = block->Data()[offset++];
        return true;
    }
    bool Skip(int32_t n)
    {
        offset += n;
        return Settle();
    }
    bool FindSync()
    {
        while (Settle()) {
            if (block->Data()[offset] == 0xFF)
                return true;
            ++offset;
        }
        return false;
    }
};

}  // namespace

bool PVAudio::FindMP3Position(int32_t ms, Position& found) const
{
    Cursor at{first_, 0};
    double elapsed = 0.0;
    for (;;) {
        if (!at.FindSync())
            return false;
        if (std::lround(elapsed) >= ms) {
            found = {at.block, at.offset};
            return true;
        }
        const Cursor sync = at;
        at.Skip(1);
        Cursor afterSync = at;
        uint8_t b1 = 0;
        if (!at.Read(b1))
            return false;
        if (b1 <= 0xDF) {
            at = afterSync;
            if (!at.Skip(1))
                return false;
            continue;
        }
        uint8_t b2 = 0;
        uint8_t b3 = 0;
        PVMp3Frame frame;
        if (!at.Read(b2) || !at.Read(b3))
            return false;
        if (!PVReadMp3Frame(b1, b2, frame)) {
            at = afterSync;  // resume the scan at the second byte
            continue;
        }
        elapsed += frame.length * 8.0 / frame.bitrate;
        at = sync;
        if (!at.Skip(frame.length))
            return false;
    }
}
