#include "base/MKOutFileStream.h"

#include <errno.h>

namespace {

// errno as a stored code; never 0, so a failure is never taken for success.
int ErrnoCode()
{
    return errno != 0 ? -errno : -EIO;
}

}  // namespace

MKOutFileStream::~MKOutFileStream()
{
    Close();
}

bool MKOutFileStream::Open(const wchar_t* path)
{
    Close();
    errno = 0;
    m_file = path ? _wfopen(path, L"wb") : nullptr;
    if (!m_file) {
        SetError(path ? ErrnoCode() : -EINVAL);
        return false;
    }
    m_owned = true;
    return true;
}

bool MKOutFileStream::Reset()
{
    m_written = 0;
    return true;
}

bool MKOutFileStream::Flush()
{
    if (m_error != 0)
        return false;
    if (!m_file) {
        SetError(-EBADF);
        return false;
    }
    errno = 0;
    if (fflush(m_file) != 0) {
        SetError(ErrnoCode());
        return false;
    }
    return true;
}

bool MKOutFileStream::Close()
{
    FILE* file = m_file;
    bool owned = m_owned;
    m_file = nullptr;
    m_owned = false;
    if (!file || !owned)
        return true;
    errno = 0;
    if (fclose(file) != 0) {
        SetError(ErrnoCode());
        return false;
    }
    return true;
}

bool MKOutFileStream::Write(const void* data, int n)
{
    if (m_error != 0)
        return false;
    if (n <= 0)
        return true;
    if (!m_file) {
        SetError(-EBADF);
        return false;
    }
    size_t written = fwrite(data, 1, size_t(n), m_file);
    m_written += int(written);
    if (written < size_t(n)) {
        int indicator = ferror(m_file);
        SetError(indicator != 0 ? -indicator : -EIO);
        return false;
    }
    return true;
}
