#pragma once
#include <cstddef>

// Memory for the many small objects a movie's timeline is parsed into,
// carved from blocks that are freed together when the arena dies: one heap
// request per block instead of one per object. Objects are never freed one
// by one; their owner runs their destructors before the arena goes. Blocks
// start small and double up to kMaxBlock, so a movie with few records costs
// little and no single request grows with the movie.
class PVArena {
public:
    static constexpr size_t kFirstBlock = 1024;
    static constexpr size_t kMaxBlock = 16u << 10;

    PVArena() = default;
    ~PVArena();
    PVArena(const PVArena&) = delete;
    PVArena& operator=(const PVArena&) = delete;

    // `size` bytes aligned for any object up to 8-byte alignment; null when
    // no block can be had (or size exceeds a block).
    void* Allocate(size_t size)
    {
        size = (size + kAlign - 1) & ~(kAlign - 1);
        if (size > left_)
            return AllocateInNewBlock(size);
        void* at = free_;
        free_ += size;
        left_ -= size;
        return at;
    }

private:
    static constexpr size_t kAlign = 8;

    void* AllocateInNewBlock(size_t size);

    struct Block {
        Block* next;
    };
    Block* blocks_ = nullptr;
    char* free_ = nullptr;  // next unused byte of the newest block
    size_t left_ = 0;       // bytes unused after free_
    size_t nextBlock_ = kFirstBlock;
};
