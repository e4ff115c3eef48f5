#include "base/MKInFileStream.h"

#include "base/MKStreamErrors.h"

#include <string.h>

MKInFileStream::~MKInFileStream()
{
    Close();
}

bool MKInFileStream::Open(const wchar_t* path)
{
    Close();
    m_file = path ? _wfopen(path, L"rb") : nullptr;
    m_owned = true;
    m_delivered = 0;
    return m_file != nullptr;
}

bool MKInFileStream::Close()
{
    bool ok = true;
    if (m_file && m_owned)
        ok = fclose(m_file) == 0;
    m_file = nullptr;
    m_owned = false;
    return ok;
}

int MKInFileStream::Read(void* buffer, int n)
{
    if (n <= 0)
        return 0;
    size_t got = m_file ? fread(buffer, 1, size_t(n), m_file) : 0;
    if (got == 0) {
        SetError(MKStreamErrorEnd);
        memset(buffer, 0, size_t(n));
        return -1;
    }
    m_delivered += int(got);
    return int(got);
}

int MKInFileStream::Skip(int n)
{
    if (n <= 0 || !m_file)
        return 0;
    long start = ftell(m_file);
    if (start < 0 || fseek(m_file, 0, SEEK_END) != 0)
        return 0;
    // fseek goes past the end of a file without complaint: stop at the end.
    long end = ftell(m_file);
    long target = end - start < n ? end : start + n;
    if (end < 0 || fseek(m_file, target, SEEK_SET) != 0) {
        fseek(m_file, start, SEEK_SET);
        return 0;
    }
    long moved = ftell(m_file) - start;
    if (moved < 0)
        return 0;
    m_delivered += int(moved);
    return int(moved);
}

bool MKInFileStream::Seek(int position)
{
    return m_file && fseek(m_file, position, SEEK_SET) == 0;
}

int MKInFileStream::GetPosition()
{
    return m_file ? int(ftell(m_file)) : 0;
}

char* MKInFileStream::ReadLine(char* buffer, int n)
{
    if (n <= 0)
        return nullptr;
    long before = m_file ? ftell(m_file) : -1;
    if (!m_file || !fgets(buffer, n, m_file)) {
        SetError(MKStreamErrorEnd);
        return nullptr;
    }
    long after = ftell(m_file);
    if (before >= 0 && after >= before)
        m_delivered += int(after - before);
    return buffer;
}
