#include "player/engine/PVMp3DecoderCache.h"

#include "player/engine/PVAudioDecoderDriver.h"

namespace {

constexpr int kRates[4] = {5500, 11025, 22050, 44100};

struct Slot {
    PVAudioDecoderDriver* driver = nullptr;
    int result = kAudioAcmFailed;
};

// Row 0 mono, row 1 stereo.
Slot g_slots[2][4];

}  // namespace

bool OpenMp3DecoderCache()
{
    for (int rate = 0; rate < 4; ++rate) {
        for (int row = 0; row < 2; ++row) {
            Slot& slot = g_slots[row][rate];
            if (!slot.driver)
                slot.driver = CreateMp3DecoderDriver(row + 1, kRates[rate], slot.result);
            if (slot.driver)
                slot.driver->AddRef();
        }
    }
    return true;
}

void CloseMp3DecoderCache()
{
    for (auto& row : g_slots) {
        for (Slot& slot : row) {
            if (!slot.driver)
                continue;
            PVAudioDecoderDriver* driver = slot.driver;
            const bool last = driver->RefCount() <= 1;
            driver->Release();
            if (last)
                slot.driver = nullptr;
        }
    }
}

PVAudioDecoderDriver* FindMp3Decoder(int channels, int rate, int& result)
{
    for (int i = 0; i < 4; ++i) {
        if (kRates[i] == rate) {
            const Slot& slot = g_slots[channels == 1 ? 0 : 1][i];
            result = slot.result;
            return slot.driver;
        }
    }
    result = kAudioAcmFailed;
    return nullptr;
}
