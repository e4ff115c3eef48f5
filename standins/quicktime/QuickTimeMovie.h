#pragma once
#include "standins/controls/MovieScript.h"

#include <windows.h>
#include <optional>
#include <string>

namespace standin {

// What both stand-in QuickTime controls play: a MovieScript (its rate, loop
// and frames; calls, answers and fetches mean nothing here) with the current
// frame and whether it plays. Plain state, no windows.
class QuickTimeMovie {
public:
    // Replaces the movie; false (and no movie) with the reason for bytes that
    // are no movie.
    bool Load(const std::string& bytes, std::wstring& error);
    void Clear() { m_script.reset(); }

    bool Loaded() const { return m_script.has_value(); }
    int Rate() const { return m_script ? m_script->rate : 20; }
    bool Playing() const { return m_playing; }
    void SetPlaying(bool playing) { m_playing = playing && m_script; }
    // Moves to the next frame while playing; false when nothing changed.
    bool Advance();
    // The current frame's colour 0xAARRGGBB; 0 without a movie.
    uint32_t Colour() const { return m_script ? m_script->frames[m_frame] : 0; }

private:
    std::optional<MovieScript> m_script;
    size_t m_frame = 0;
    bool m_playing = false;
};

}  // namespace standin
