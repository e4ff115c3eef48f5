#include "base/MKInCodecStream.h"

#include "base/MKAlloc.h"

MKInCodecStream::~MKInCodecStream()
{
    MKFree(m_input);
}

bool MKInCodecStream::Close()
{
    ClearError();
    return true;
}

bool MKInCodecStream::AllocateInput()
{
    m_input = static_cast<uint8_t*>(MKAlloc(InputSize));
    return m_input != nullptr;
}

bool MKInCodecStream::Refill()
{
    int got = m_source->Read(m_input, InputSize);
    if (got <= 0)
        return false;
    m_inputPosition = 0;
    m_inputLength = got;
    return true;
}
