#pragma once
#include "base/MKInStream.h"

#include <objidl.h>

// An input stream over a platform IStream, holding a reference to it. Any read
// that does not deliver at least one byte stores MKStreamErrorEnd; so does a
// read after an error. Seeking goes to the IStream.
class MKIStreamInStream : public MKInStream {
public:
    explicit MKIStreamInStream(IStream* stream);
    ~MKIStreamInStream() override;
    MKIStreamInStream(const MKIStreamInStream&) = delete;
    MKIStreamInStream& operator=(const MKIStreamInStream&) = delete;

    bool Close() override;
    int Read(void* buffer, int n) override;
    // Bytes read so far.
    int Tell() override { return m_count; }
    bool Seek(int position) override;
    bool CanSeek() override { return m_stream != nullptr; }
    int GetPosition() override;
    // The IStream's size (0 when it cannot tell, or above 2 GB).
    int GetSize() override;

private:
    IStream* m_stream;
    int m_count = 0;
};
