#pragma once
#include "addin/imaging/drawing/DrawRecording.h"
#include "addin/imaging/drawing/DrawRefCounted.h"

#include <memory>

class DrawCanvas;

// A recorded sequence of canvas calls, played onto any canvas under that
// canvas's matrix and clip. Recording hands out a canvas that records until
// EndRecording (or the next BeginRecording); copies share the recorded calls,
// which never change once recorded. Reference counted; one thread at a time.
class DrawPicture : public DrawRefCounted {
public:
    // An empty picture, or one sharing another's calls (other may be null).
    static DrawPicture* Create(const DrawPicture* other);

    // A new recording of a width x height canvas; the picture's earlier
    // calls are dropped. The caller shares the canvas with the picture. Null
    // when memory runs out.
    std::shared_ptr<DrawCanvas> BeginRecording(int width, int height);
    void EndRecording();
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Plays the calls recorded so far; the canvas's matrix and clip are as
    // they were afterwards.
    void Draw(DrawCanvas& canvas) const;

private:
    DrawPicture() = default;

    std::shared_ptr<DrawRecording> m_calls;
    std::shared_ptr<DrawCanvas> m_recorder;
    int m_width = 0;
    int m_height = 0;
};
