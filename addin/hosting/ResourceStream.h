#pragma once
#include "addin/hosting/ReadOnlyStream.h"

class MKInStream;

// A read-only IStream over one of our input streams: how hosted controls
// receive the content they asked for. The stream keeps its own reference on
// the input stream, so the creator may let go of it at once.
class ResourceStream final : public ReadOnlyStream {
public:
    // Count 0: the creator takes the first reference.
    explicit ResourceStream(MKInStream* input);

    // S_OK when at least one byte was read, S_FALSE at the end.
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;

private:
    ~ResourceStream() override;

    MKInStream* m_input;
};
