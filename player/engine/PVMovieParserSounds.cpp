// Sound characters and sound streams.
#include <new>

#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioBlock.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieParser.h"

namespace {

// The readers store a volume of 100 and nothing else of the callers' extras.
PVAudio* NewSound(int id, uint8_t format)
{
    return new (std::nothrow) PVAudio(id, format, 100, 0, 0, nullptr, 0);
}

}  // namespace

bool PVMovieParser::ReadSoundData(PVAudio& audio, int length)
{
    if (audio.IsMp3()) {
        if (length < 2)
            return true;
        const auto seekSamples = static_cast<int16_t>(ReadU16());
        if (overrun_)
            return false;
        if (audio.BlockCount() == 0) {
            const int ms = seekSamples * 1000 / audio.GetSampleRate();
            audio.SetStartOffset(ms < 0 ? 0 : ms);
        }
        length -= 2;
    }
    if (length <= 0)
        return true;
    if (static_cast<uint32_t>(length) > end_ - pos_) {
        MarkOverrun();
        return false;
    }
    PVAudioBlock* block = PVAudioBlock::Create(image_ + pos_, length);
    if (!block)
        return false;
    pos_ += static_cast<uint32_t>(length);
    return audio.AddBlock(block) == 0;
}

bool PVMovieParser::ReadDefineSound(PVMovie&, int)
{
    if (tagLength_ <= 7)
        return false;
    const uint16_t id = ReadU16();
    const auto format = static_cast<uint8_t>(ReadUBits(4));
    const auto rate = static_cast<uint8_t>(ReadUBits(2));
    const bool sixteenBit = ReadUBits(1) != 0;
    const bool stereo = ReadUBits(1) != 0;
    ReadU32();  // sample count
    if (overrun_ || format == PVAudio::kUncompressedLittleEndian)
        return false;
    PVAudio* sound = NewSound(id, format);
    if (!sound)
        return false;
    sound->SetPlayback(rate, sixteenBit, stereo);
    sound->SetStream(rate, sixteenBit, stereo);
    if (!ReadSoundData(*sound, static_cast<int>(end_ - pos_)) || !dictionary_->Add(sound)) {
        sound->Release();
        return false;
    }
    return true;
}

bool PVMovieParser::ReadSoundStreamHead(PVMovie&, int)
{
    ReadUBits(4);
    const auto playbackRate = static_cast<uint8_t>(ReadUBits(2));
    const bool playbackSixteenBit = ReadUBits(1) != 0;
    const bool playbackStereo = ReadUBits(1) != 0;
    const auto format = static_cast<uint8_t>(ReadUBits(4));
    const auto streamRate = static_cast<uint8_t>(ReadUBits(2));
    const bool streamSixteenBit = ReadUBits(1) != 0;
    const bool streamStereo = ReadUBits(1) != 0;
    ReadU16();  // average sample count per block
    if (overrun_ || format == PVAudio::kUncompressedLittleEndian)
        return false;
    PVAudio* stream = NewSound(0, format);
    if (!stream)
        return false;
    stream->SetPlayback(playbackRate, playbackSixteenBit, playbackStereo);
    stream->SetStream(streamRate, streamSixteenBit, streamStereo);
    stream->AddRef();
    if (!streams_.Add(stream)) {
        stream->Release();
        return false;
    }
    return true;
}

bool PVMovieParser::ReadSoundStreamBlock(PVMovie& movie, int frame)
{
    if (streams_.Count() == 0)
        return true;
    PVAudio* stream = streams_[streams_.Count() - 1];
    int length = static_cast<int>(end_ - pos_);
    if (stream->IsMp3()) {
        if (length < 2)
            return true;
        ReadU16();  // sample count
        length -= 2;
    }
    if (length <= 0)
        return true;
    const bool first = stream->BlockCount() == 0;
    if (!ReadSoundData(*stream, length))
        return false;
    if (!first || stream->BlockCount() == 0)
        return true;
    PVControlRecord* record = movie.NewRecord(PVControlRecord::kStreamStart);
    if (!record)
        return false;
    stream->AddRef();
    record->stream = stream;
    return movie.AddRecord(frame, record);
}
