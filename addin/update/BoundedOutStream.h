#pragma once
#include "base/MKOutStream.h"
#include <stdint.h>

// Passes writes on to a borrowed stream until they would exceed a limit; the
// write that would cross it fails unwritten (and every write after it), so a
// transfer feeding this stream ends as soon as it brings more than the limit.
class BoundedOutStream : public MKOutStream {
public:
    BoundedOutStream(MKOutStream* target, int64_t limit) : m_target(target), m_limit(limit) {}

    bool Reset() override { return false; }
    bool Flush() override { return m_target->Flush(); }
    bool Close() override { return m_target->Close(); }
    bool Write(const void* data, int n) override;
    int GetCount() override { return m_target->GetCount(); }
    // More was offered than the limit allows.
    bool IsExceeded() const { return m_exceeded; }

private:
    MKOutStream* m_target;
    int64_t m_limit;
    int64_t m_written = 0;
    bool m_exceeded = false;
};
