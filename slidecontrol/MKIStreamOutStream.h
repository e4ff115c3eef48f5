#pragma once
#include "base/MKOutStream.h"

#include <objidl.h>

enum { MKStreamErrorMediumFull = -28 };

// An output stream over a platform IStream, holding a reference to it: a full
// medium stores MKStreamErrorMediumFull, any other failure or a short write
// MKStreamErrorNoTarget. Flush and Close do nothing.
class MKIStreamOutStream : public MKOutStream {
public:
    explicit MKIStreamOutStream(IStream* stream);
    ~MKIStreamOutStream() override;
    MKIStreamOutStream(const MKIStreamOutStream&) = delete;
    MKIStreamOutStream& operator=(const MKIStreamOutStream&) = delete;

    bool Reset() override { return true; }
    bool Flush() override { return true; }
    bool Close() override { return true; }
    bool Write(const void* data, int n) override;
    int GetCount() override { return m_count; }

private:
    IStream* m_stream;
    int m_count = 0;
};
