#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "player/engine/PVInStream.h"

// Input stream over bytes in memory. It hands out at most `chunk` bytes per
// read (`bytes` must outlive the stream), answers 0 at the end, and, when `failAt` is set, -1 once that many
// bytes have been delivered.
class MemoryInStream : public PVInStream {
public:
    explicit MemoryInStream(const std::vector<uint8_t>& bytes, int chunk = 1 << 30, int failAt = -1)
        : bytes_(bytes), chunk_(chunk), failAt_(failAt)
    {
    }

    int Read(void* buffer, int size) override
    {
        if (failAt_ >= 0 && offset_ >= static_cast<size_t>(failAt_))
            return -1;
        size_t n = std::min({static_cast<size_t>(size), static_cast<size_t>(chunk_), bytes_.size() - offset_});
        if (failAt_ >= 0)
            n = std::min(n, static_cast<size_t>(failAt_) - offset_);
        std::memcpy(buffer, bytes_.data() + offset_, n);
        offset_ += n;
        delivered_ += n;
        return static_cast<int>(n);
    }
    int Close() override { return 0; }

    size_t Delivered() const { return delivered_; }

private:
    const std::vector<uint8_t>& bytes_;
    int chunk_;
    int failAt_;
    size_t offset_ = 0;
    size_t delivered_ = 0;
};
