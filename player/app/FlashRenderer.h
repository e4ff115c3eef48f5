#pragma once
#include "base/MKString.h"
#include "player/app/PVRendererWindow.h"

#include <stdint.h>

class MKCFlashWnd;
class PVUIFeedBack;

// The renderer that plays the movie in the Flash Player control. It reads the
// movie's header itself (through the engine's header reader) for size, rate
// and frame count, makes a new control for every movie, keeps the picture's
// aspect ratio, and from idle time polls the control's frame and measures the
// frames per second. States: 0 no control, 2 not playing, 3 playing (a movie
// that stopped by itself reads as 2). The feedback is not owned.
class FlashRenderer : public PVRendererWindow {
public:
    FlashRenderer(HINSTANCE instance, HINSTANCE resources);
    ~FlashRenderer() override;

    // A visible child of the view with an empty rectangle.
    bool Create(const char* windowName, HWND parentView);
    // False for a file whose header the engine cannot read (before any control
    // is made) or when the control cannot be made.
    bool Load(const char* path);
    void DestroyControl();
    bool HasControl() const { return m_flashWindow != nullptr; }
    MKCFlashWnd* Control() const { return m_flashWindow; }

    bool IsPlaying();
    int GetState();
    void SetPlaying(bool on);
    void TogglePlay();
    // Clamped to the frame count.
    void Seek(int frame);
    void SetLooping(bool on);
    uint16_t GetCurrentFrame();
    void SetFeedback(PVUIFeedBack* feedback);
    MKString GetPlayerVersionText();

    void Layout(int cx, int cy) override;
    // One poll per idle call; sleeps only without a control.
    void IdleStep();
    void HandleMouse(int button, POINT screenPoint, int action, WPARAM keyFlags, bool fromOwnWindow) override;

    uint16_t FrameCount() const { return m_frameCount; }
    float FrameRate() const { return m_frameRate; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Version() const { return m_version; }
    bool Compressed() const { return m_compressed; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    MKCFlashWnd* m_flashWindow = nullptr;
    PVUIFeedBack* m_feedback = nullptr;
    uint32_t m_fpsWindowStart = 0;
    uint32_t m_fpsWindowFrame = 0;
    uint16_t m_frameCount = 0;
    float m_frameRate = 0;
    int m_width = 0;
    int m_height = 0;
    int m_version = 0;
    bool m_compressed = false;
};
