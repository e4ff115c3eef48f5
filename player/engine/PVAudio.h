#pragma once
#include <cstdint>

#include "base/MKCriticalSection.h"
#include "player/engine/PVChar.h"

struct PVAudioBlock;

// A sound: its format and its bytes as a queue of blocks, filled by the
// parser on the user-interface thread while the movie loads, then read by
// the audio thread, which takes blocks in order and seeks. Every change of
// the queue or of the read position holds the sound's lock. A stream sound
// has id 0 and belongs to its movie; a defined sound belongs to the
// dictionary.
class PVAudio : public PVChar {
public:
    enum Format : uint8_t { kUncompressed = 0, kAdpcm = 1, kMp3 = 2, kUncompressedLittleEndian = 3 };
    static constexpr int32_t kDefaultBlockSize = 2040;

    // `volume`, `loopCount`, `extra` and `callback` are only stored (the
    // readers give 100, 0, 0 and none); a loop count of 1 or more marks the
    // decoded buffers as a device loop. A block size of 0 or less means
    // kDefaultBlockSize.
    PVAudio(int id, uint8_t format, int32_t volume, int32_t loopCount, int32_t extra, void* callback,
            int32_t blockSize);
    ~PVAudio() override;

    uint8_t SoundFormat() const { return format_; }
    bool IsMp3() const { return format_ == kMp3; }
    int32_t LoopCount() const { return loopCount_; }
    int32_t BlockSizeLimit() const { return blockSize_; }

    // Rate codes 0-3 are 5500, 11025, 22050 and 44100 Hz.
    static int RateOfCode(int code);
    // Hz of the stream rate code.
    int GetSampleRate() const { return RateOfCode(streamRate_); }
    bool IsStereo() const { return streamStereo_; }
    void SetPlayback(uint8_t rateCode, bool sixteenBit, bool stereo);
    void SetStream(uint8_t rateCode, bool sixteenBit, bool stereo);
    uint8_t StreamRateCode() const { return streamRate_; }
    bool StreamSixteenBit() const { return streamSixteenBit_; }
    uint8_t PlaybackRateCode() const { return playbackRate_; }
    bool PlaybackSixteenBit() const { return playbackSixteenBit_; }
    bool PlaybackStereo() const { return playbackStereo_; }

    // Where the sound starts, in ms, from the first block's seek samples.
    int32_t StartOffset() const { return startOffset_; }
    void SetStartOffset(int32_t ms) { startOffset_ = ms; }

    // Taking the queue's blocks away from it (hand-over mode) instead of
    // only reading them; seeking is refused then.
    bool HandsOver() const { return handOver_; }
    void SetHandOver(bool on) { handOver_ = on; }
    // Marks that no more blocks will come: the last block is then reported
    // at its end.
    void SetEndOfData(bool on);

    // Takes ownership of `block`: 0 when queued, -1 (block freed) for an
    // empty block, 1 when a piece could not be allocated. A block above the
    // size limit is queued as pieces of at most the limit; MP3 data is cut
    // between frames so that every piece decodes alone.
    int AddBlock(PVAudioBlock* block);
    // The block at the read position and its read offset (bytes to skip at
    // its start), then the position moves on. `restart` reports (and
    // clears) the restart flag; `atEnd` is set when the end of data is
    // marked and no block is left. In hand-over mode the block leaves the
    // queue and belongs to the caller. Null when no block is left.
    PVAudioBlock* TakeNextBlock(bool& restart, bool& atEnd, int32_t& offset);
    // Moves the read position to `ms`: 0 is the first block; other times
    // only for MP3, at the first frame that starts at or after them. False
    // in hand-over mode, without data, for other formats, and when the data
    // ends first (no block is then left to read).
    bool Seek(int32_t ms);

    int BlockCount() const { return blockCount_; }
    int64_t TotalBytes() const { return totalBytes_; }
    // The queued blocks in order, for readers that do not take them.
    const PVAudioBlock* FirstBlock() const { return first_; }

private:
    struct Position {
        PVAudioBlock* block;
        int32_t offset;
    };
    void Append(PVAudioBlock* block);
    // Queues the bytes as pieces no larger than the limit; false when out of
    // memory.
    bool AddPieces(const PVAudioBlock& block);
    // The frame walk of Seek: the first frame starting at or after `ms`.
    bool FindMP3Position(int32_t ms, Position& found) const;

    uint8_t format_;
    bool handOver_ = false;
    int32_t blockSize_;
    int32_t volume_;
    int32_t loopCount_;
    int32_t extra_;
    void* callback_;

    PVAudioBlock* first_ = nullptr;
    PVAudioBlock* last_ = nullptr;
    int blockCount_ = 0;
    PVAudioBlock* readBlock_ = nullptr;
    int32_t readOffset_ = 0;
    int64_t totalBytes_ = 0;
    bool restart_ = true;
    bool endOfData_ = false;
    MKCriticalSection lock_;

    uint8_t playbackRate_ = 0;
    bool playbackSixteenBit_ = false;
    bool playbackStereo_ = false;
    uint8_t streamRate_ = 0;
    bool streamSixteenBit_ = false;
    bool streamStereo_ = false;
    int32_t startOffset_ = 0;
};
