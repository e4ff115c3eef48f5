#include "player/engine/PVAudioDecoder.h"

#include <cstring>

#include "base/MKAlloc.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioBlock.h"
#include "player/engine/PVAudioBuffer.h"
#include "player/engine/PVAudioDecoderDriver.h"

namespace {

// The first block's output is at least this large when its size is unknown.
constexpr DWORD kMinimumEstimate = 22050;
// Room left beyond the known ratio's estimate.
constexpr DWORD kRatioSlack = 128;

}  // namespace

PVAudioDecoder::~PVAudioDecoder()
{
    if (stream_)
        acmStreamClose(stream_, 0);
    if (driver_)
        driver_->Release();
}

int PVAudioDecoder::Init(PVAudioDecoderDriver* driver)
{
    if (!driver || stream_)
        return 1;
    WAVEFORMATEX pcm = driver->PcmFormat();
    if (acmStreamOpen(&stream_, driver->Handle(), const_cast<WAVEFORMATEX*>(driver->SourceFormat()), &pcm, nullptr,
                      0, 0, 0) != MMSYSERR_NOERROR) {
        stream_ = nullptr;
        return 1;
    }
    driver->AddRef();
    driver_ = driver;
    return 0;
}

bool PVAudioDecoder::DecodeBlock(PVAudio* sound, WAVEHDR*& buffer, bool& atEnd)
{
    buffer = nullptr;
    atEnd = false;
    if (!sound)
        return false;
    bool restart = false;
    int32_t offset = 0;
    PVAudioBlock* block = sound->TakeNextBlock(restart, atEnd, offset);
    if (!block)
        return false;
    // A taken block is the caller's only in hand-over mode.
    struct BlockRelease {
        PVAudio* sound;
        PVAudioBlock* block;
        ~BlockRelease()
        {
            if (sound->HandsOver())
                PVAudioBlock::Free(block);
        }
    } release{sound, block};
    if (!stream_ || offset < 0 || offset >= block->size)
        return true;

    uint8_t* source = block->Data() + offset;
    const DWORD sourceLength = static_cast<DWORD>(block->size - offset);
    DWORD estimate;
    if (ratio_ > 0.0f) {
        estimate = static_cast<DWORD>(ratio_ * static_cast<float>(sourceLength)) + kRatioSlack;
    } else {
        if (acmStreamSize(stream_, sourceLength, &estimate, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR)
            return true;
        if (estimate < kMinimumEstimate)
            estimate = kMinimumEstimate;
    }
    auto* area = static_cast<uint8_t*>(MKAlloc(PVAudioBuffer::kHeaderSize + estimate));
    if (!area)
        return true;

    DWORD room = estimate;
    DWORD used = 0;
    DWORD produced = 0;
    DWORD convertFlags = (restart ? ACM_STREAMCONVERTF_START : 0) | (atEnd ? ACM_STREAMCONVERTF_END : 0);
    for (int pass = 0;; ++pass) {
        auto* header = reinterpret_cast<ACMSTREAMHEADER*>(area);
        std::memset(header, 0, sizeof *header);
        header->cbStruct = sizeof *header;
        header->pbSrc = source + used;
        header->cbSrcLength = sourceLength - used;
        header->pbDst = PVAudioBuffer::Data(area) + produced;
        header->cbDstLength = room - produced;
        if (acmStreamPrepareHeader(stream_, header, 0) != MMSYSERR_NOERROR) {
            MKFree(area);
            return true;
        }
        const bool converted = acmStreamConvert(stream_, header, convertFlags) == MMSYSERR_NOERROR;
        const DWORD passUsed = header->cbSrcLengthUsed;
        const DWORD passProduced = header->cbDstLengthUsed;
        header->cbSrcLength = sourceLength - used;
        header->cbDstLength = room - produced;
        acmStreamUnprepareHeader(stream_, header, 0);
        if (!converted) {
            MKFree(area);
            return true;
        }
        used += passUsed;
        produced += passProduced;
        // A codec that takes nothing more would never finish the block.
        if (used >= sourceLength || passUsed == 0)
            break;
        // START belongs to the block's first bytes only.
        convertFlags &= ~ACM_STREAMCONVERTF_START;
        DWORD grown = pass == 0 && used > 0
                          ? static_cast<DWORD>(static_cast<double>(sourceLength) * produced / used) + estimate / 10
                          : room + room / 2;
        if (grown <= room)
            grown = room + room / 2 + 1;
        auto* larger = static_cast<uint8_t*>(MKRealloc(area, PVAudioBuffer::kHeaderSize + grown));
        if (!larger)
            break;
        area = larger;
        room = grown;
    }

    if (used == 0 || produced == 0) {
        MKFree(area);
        return true;
    }
    ratio_ = static_cast<float>(produced) / static_cast<float>(used);
    auto* wave = reinterpret_cast<WAVEHDR*>(area);
    std::memset(area, 0, PVAudioBuffer::kHeaderSize);
    wave->lpData = reinterpret_cast<LPSTR>(PVAudioBuffer::Data(area));
    wave->dwBufferLength = produced;
    const int32_t loops = sound->LoopCount();
    if (loops >= 1) {
        wave->dwFlags = (restart ? WHDR_BEGINLOOP : 0) | (atEnd ? WHDR_ENDLOOP : 0);
        wave->dwLoops = restart ? static_cast<DWORD>(loops) : 0;
    }
    buffer = wave;
    return true;
}
