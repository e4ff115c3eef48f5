#include "AudioHarness.h"

#include "MemoryInStream.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfSoundWriter.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioBlock.h"
#include "player/engine/PVEngineStart.h"
#include "player/engine/PVMovieParser.h"

EngineScope::EngineScope() : started(InitEngine(true)) {}

EngineScope::~EngineScope()
{
    if (started)
        TermEngine(true);
}

std::vector<uint8_t> ToneFrames()
{
    return SwfReadMp3Frames(FixturePath(L"tone_440_mono.mp3"));
}

void ReleaseSound::operator()(PVAudio* sound) const
{
    sound->Release();
}

SoundRef HoldSound(PVAudio* sound)
{
    sound->AddRef();
    return SoundRef(sound);
}

SoundRef Mp3Sound(const std::vector<uint8_t>& frames, int32_t blockSize, int32_t loops)
{
    SoundRef sound = HoldSound(new PVAudio(0, PVAudio::kMp3, 100, loops, 0, nullptr, blockSize));
    sound->SetStream(3, true, false);
    sound->AddBlock(PVAudioBlock::Create(frames.data(), static_cast<int32_t>(frames.size())));
    sound->SetEndOfData(true);
    return sound;
}

namespace {

const wchar_t kClassName[] = L"VistelloAudioHarness";

}  // namespace

AudioHarness::AudioHarness()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &AudioHarness::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

AudioHarness::~AudioHarness()
{
    player.reset();
    if (window_)
        DestroyWindow(window_);
}

bool AudioHarness::Load(const std::vector<uint8_t>& file, bool loops)
{
    file_ = file;
    player = std::make_unique<PVPlayer>();
    if (!player->Init())
        return false;
    player->SetMainMovieLoops(loops);
    MemoryInStream stream(file_);
    PVMovieParser parser;
    return parser.Load(stream, *player) && player->InitAudio(window_);
}

LRESULT CALLBACK AudioHarness::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == MM_WOM_DONE) {
        auto* self = reinterpret_cast<AudioHarness*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && self->player) {
            const DWORD bytes =
                self->player->OnWaveOutDone(reinterpret_cast<HWAVEOUT>(wParam), reinterpret_cast<WAVEHDR*>(lParam));
            if (bytes && !self->firstCompletion_)
                self->firstCompletion_ = GetTickCount();
            self->completed_ += bytes;
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void AudioHarness::Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    }
}

DWORD AudioHarness::PumpUntil(uint64_t bytes, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (completed_ < bytes && GetTickCount() - start < ms)
        Pump(5);
    return GetTickCount() - start;
}
