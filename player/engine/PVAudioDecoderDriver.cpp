#include "player/engine/PVAudioDecoderDriver.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "player/engine/PVAudio.h"
#include "player/engine/PVMp3DecoderCache.h"
#include "player/engine/PVTArray.h"

namespace {

// What the driver enumeration collects: the ids of drivers that offer PCM
// for the source format, each once.
struct DriverSearch {
    const WAVEFORMATEX* source;
    PVTArray<HACMDRIVERID> found;
    bool failed = false;
};

}  // namespace

PVAudioDecoderDriver::PVAudioDecoderDriver() : source_(reinterpret_cast<WAVEFORMATEX*>(sourceArea_)) {}

PVAudioDecoderDriver::~PVAudioDecoderDriver()
{
    if (driver_)
        acmDriverClose(driver_, 0);
}

void PVAudioDecoderDriver::DescribeMp3(const PVAudio& sound)
{
    auto* mp3 = reinterpret_cast<MPEGLAYER3WAVEFORMAT*>(sourceArea_);
    std::memset(sourceArea_, 0, sizeof sourceArea_);
    mp3->wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    mp3->wfx.nChannels = sound.IsStereo() ? 2 : 1;
    mp3->wfx.nSamplesPerSec = static_cast<DWORD>(sound.GetSampleRate());
    mp3->wfx.nAvgBytesPerSec = 16000;
    mp3->wfx.nBlockAlign = 1;
    mp3->wfx.wBitsPerSample = 0;
    mp3->wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3->wID = MPEGLAYER3_ID_MPEG;
    mp3->fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    mp3->nBlockSize = 209;
    mp3->nFramesPerBlock = 1;
    mp3->nCodecDelay = 1393;
}

BOOL CALLBACK PVAudioDecoderDriver::EnumFormatCallback(HACMDRIVERID id, ACMFORMATDETAILSA* details,
                                                       DWORD_PTR instance, DWORD)
{
    auto* search = reinterpret_cast<DriverSearch*>(instance);
    if (details->pwfx->wFormatTag != WAVE_FORMAT_PCM)
        return TRUE;
    for (int i = 0; i < search->found.Count(); ++i) {
        if (search->found[i] == id)
            return TRUE;
    }
    if (!search->found.Add(id))
        search->failed = true;
    return TRUE;
}

BOOL CALLBACK PVAudioDecoderDriver::EnumDriverCallback(HACMDRIVERID id, DWORD_PTR instance, DWORD)
{
    auto* search = reinterpret_cast<DriverSearch*>(instance);
    ACMDRIVERDETAILSA driverDetails = {};
    driverDetails.cbStruct = sizeof driverDetails;
    HACMDRIVER driver = nullptr;
    if (acmDriverDetailsA(id, &driverDetails, 0) != MMSYSERR_NOERROR ||
        acmDriverOpen(&driver, id, 0) != MMSYSERR_NOERROR)
        return TRUE;
    DWORD size = 0;
    if (acmMetrics(reinterpret_cast<HACMOBJ>(driver), ACM_METRIC_MAX_SIZE_FORMAT, &size) != MMSYSERR_NOERROR)
        size = 0;
    const DWORD sourceSize = sizeof(WAVEFORMATEX) + search->source->cbSize;
    if (size < sourceSize)
        size = sourceSize;
    if (auto* format = static_cast<WAVEFORMATEX*>(std::calloc(1, size))) {
        std::memcpy(format, search->source, sourceSize);
        ACMFORMATDETAILSA details = {};
        details.cbStruct = sizeof details;
        details.dwFormatTag = WAVE_FORMAT_UNKNOWN;
        details.pwfx = format;
        details.cbwfx = size;
        acmFormatEnumA(driver, &details, &PVAudioDecoderDriver::EnumFormatCallback, instance,
                       ACM_FORMATENUMF_CONVERT);
        std::free(format);
    }
    acmDriverClose(driver, 0);
    return TRUE;
}

int PVAudioDecoderDriver::Open(const PVAudio& sound)
{
    if (!sound.IsMp3())
        return kAudioNotMp3;
    DescribeMp3(sound);
    DriverSearch search{source_, {}, false};
    if (acmDriverEnum(&PVAudioDecoderDriver::EnumDriverCallback, reinterpret_cast<DWORD_PTR>(&search), 0) !=
        MMSYSERR_NOERROR)
        return kAudioAcmFailed;
    if (search.failed && search.found.Count() == 0)
        return kAudioOutOfMemory;
    for (int i = 0; i < search.found.Count(); ++i) {
        HACMDRIVER driver = nullptr;
        if (acmDriverOpen(&driver, search.found[i], 0) != MMSYSERR_NOERROR)
            continue;
        WAVEFORMATEX pcm = {};
        pcm.wFormatTag = WAVE_FORMAT_PCM;
        // A PCM format without a byte rate cannot be paced: the player
        // would decode nothing ahead and wait for it without end.
        if (acmFormatSuggest(driver, source_, &pcm, sizeof pcm, ACM_FORMATSUGGESTF_WFORMATTAG) ==
                MMSYSERR_NOERROR &&
            pcm.nAvgBytesPerSec != 0 &&
            acmStreamOpen(nullptr, driver, source_, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_QUERY) ==
                MMSYSERR_NOERROR) {
            driverId_ = search.found[i];
            driver_ = driver;
            pcm_ = pcm;
            return kAudioOk;
        }
        acmDriverClose(driver, 0);
    }
    return kAudioNoDriver;
}

PVAudioDecoderDriver* CreateMp3DecoderDriver(int channels, int rate, int& result)
{
    int code = 3;
    for (int i = 0; i < 4; ++i) {
        if (PVAudio::RateOfCode(i) == rate)
            code = i;
    }
    PVAudio sound(0, PVAudio::kMp3, 100, 0, 0, nullptr, 0);
    sound.SetStream(static_cast<uint8_t>(code), true, channels == 2);
    auto* driver = new (std::nothrow) PVAudioDecoderDriver;
    if (!driver) {
        result = kAudioOutOfMemory;
        return nullptr;
    }
    result = driver->Open(sound);
    if (result != kAudioOk) {
        delete driver;
        return nullptr;
    }
    return driver;
}

int GetDecoderDriver(const PVAudio& sound, PVAudioDecoderDriver*& driver)
{
    driver = nullptr;
    if (!sound.IsMp3())
        return kAudioNotMp3;
    int result = kAudioAcmFailed;
    driver = FindMp3Decoder(sound.IsStereo() ? 2 : 1, sound.GetSampleRate(), result);
    return driver ? kAudioOk : result;
}
