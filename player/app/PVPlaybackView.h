#pragma once

// What the tool bar and the status feedback need of the view that plays the
// movie: its state (PVPlayerState), the movie's rate and length, and seeking.
class PVPlaybackView {
public:
    virtual int GetState() const = 0;
    // Frames per second of the movie; 0 without one.
    virtual double GetFrameRate() const = 0;
    virtual int GetFrameCount() const = 0;
    virtual void Pause() = 0;
    virtual void Seek(int frame) = 0;

protected:
    ~PVPlaybackView() = default;
};
