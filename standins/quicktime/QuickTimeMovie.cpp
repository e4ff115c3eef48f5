#include "standins/quicktime/QuickTimeMovie.h"

namespace standin {

bool QuickTimeMovie::Load(const std::string& bytes, std::wstring& error)
{
    MovieScript script;
    m_script.reset();
    m_frame = 0;
    m_playing = false;
    if (!MovieScript::Parse(bytes, script, error))
        return false;
    m_script = std::move(script);
    return true;
}

bool QuickTimeMovie::Advance()
{
    if (!m_script || !m_playing)
        return false;
    if (m_frame + 1 < m_script->frames.size()) {
        ++m_frame;
        return true;
    }
    if (!m_script->loop) {
        m_playing = false;
        return false;
    }
    m_frame = 0;
    return m_script->frames.size() > 1;
}

}  // namespace standin
