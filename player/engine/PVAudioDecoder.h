#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

class PVAudio;
class PVAudioDecoderDriver;

// Converts a sound's blocks, one at a time, to PCM buffers (PVAudioBuffer)
// through an ACM stream of a selected driver. Audio thread only.
class PVAudioDecoder {
public:
    PVAudioDecoder() = default;
    virtual ~PVAudioDecoder();
    PVAudioDecoder(const PVAudioDecoder&) = delete;
    PVAudioDecoder& operator=(const PVAudioDecoder&) = delete;

    // Opens the conversion from the driver's source format to its PCM
    // format and takes a reference on the driver; 1 when the stream cannot
    // be opened, else 0.
    int Init(PVAudioDecoderDriver* driver);

    // Takes the sound's next block and converts it. False when the sound has
    // no block left. True otherwise, with `buffer` the PCM buffer (an MKAlloc
    // block whose WAVEHDR the caller owns), or null when the block gave no
    // sound (a failed conversion leaves a gap). `atEnd` reports the sound's
    // at-end flag in both cases.
    bool DecodeBlock(PVAudio* sound, WAVEHDR*& buffer, bool& atEnd);

    // Output bytes per input byte of the last converted block; 0 before.
    float Ratio() const { return ratio_; }

private:
    PVAudioDecoderDriver* driver_ = nullptr;
    HACMSTREAM stream_ = nullptr;
    float ratio_ = 0.0f;
};
