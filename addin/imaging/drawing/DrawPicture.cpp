#include "addin/imaging/drawing/DrawPicture.h"

#include "addin/imaging/drawing/DrawCanvas.h"

#include <new>

DrawPicture* DrawPicture::Create(const DrawPicture* other)
{
    auto* picture = new (std::nothrow) DrawPicture();
    if (picture && other) {
        // A recording in progress is copied as it stands.
        if (other->m_recorder && other->m_calls)
            picture->m_calls = std::make_shared<DrawRecording>(*other->m_calls);
        else
            picture->m_calls = other->m_calls;
        picture->m_width = other->m_width;
        picture->m_height = other->m_height;
    }
    return picture;
}

std::shared_ptr<DrawCanvas> DrawPicture::BeginRecording(int width, int height)
{
    EndRecording();
    try {
        auto calls = std::make_shared<DrawRecording>();
        m_recorder = std::make_shared<DrawCanvas>(width, height, calls);
        m_calls = std::move(calls);
    } catch (const std::bad_alloc&) {
        m_calls.reset();
        return nullptr;
    }
    m_width = width > 0 ? width : 0;
    m_height = height > 0 ? height : 0;
    return m_recorder;
}

void DrawPicture::EndRecording()
{
    if (m_recorder) {
        m_recorder->StopRecording();
        m_recorder.reset();
    }
}

void DrawPicture::Draw(DrawCanvas& canvas) const
{
    if (!m_calls || m_calls->empty())
        return;
    // Played into a recording (perhaps its own), the calls are copied first:
    // the recording grows while they run.
    std::shared_ptr<DrawRecording> calls = m_calls;
    if (canvas.IsRecording())
        calls = std::make_shared<DrawRecording>(*m_calls);
    int saveCount = canvas.Save(DrawCanvas::kMatrixClipSave);
    DrawMatrix base = canvas.GetTotalMatrix();
    for (const DrawOp& call : *calls)
        call(canvas, base);
    canvas.RestoreToCount(saveCount);
}
