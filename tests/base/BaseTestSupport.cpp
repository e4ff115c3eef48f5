#include "BaseTestSupport.h"

std::wstring Text(const MKString& s)
{
    return std::wstring(s.GetText(), size_t(s.GetLength()));
}

ReaderOver::ReaderOver(Bytes bytes) : m_bytes(std::move(bytes))
{
    m_source.Attach(new MKMemInStream(m_bytes.data(), int(m_bytes.size())));
    m_reader.Attach(new MKBinaryReader(m_source.Get()));
}

bool RefusingStream::Write(const void*, int n)
{
    if (m_error != 0 || n > m_room) {
        SetError(-77);
        return false;
    }
    m_room -= n;
    return true;
}
