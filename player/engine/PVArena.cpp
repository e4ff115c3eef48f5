#include "player/engine/PVArena.h"

#include <cstdlib>

namespace {

constexpr size_t kAlign = 8;
constexpr size_t kHeader = (sizeof(void*) + kAlign - 1) & ~(kAlign - 1);

}  // namespace

PVArena::~PVArena()
{
    while (blocks_) {
        Block* next = blocks_->next;
        std::free(blocks_);
        blocks_ = next;
    }
}

void* PVArena::Allocate(size_t size)
{
    size = (size + kAlign - 1) & ~(kAlign - 1);
    if (size > left_) {
        if (size > kMaxBlock - kHeader)
            return nullptr;
        while (nextBlock_ - kHeader < size)
            nextBlock_ *= 2;
        auto* block = static_cast<Block*>(std::malloc(nextBlock_));
        if (!block)
            return nullptr;
        block->next = blocks_;
        blocks_ = block;
        free_ = reinterpret_cast<char*>(block) + kHeader;
        left_ = nextBlock_ - kHeader;
        if (nextBlock_ < kMaxBlock)
            nextBlock_ *= 2;
    }
    void* at = free_;
    free_ += size;
    left_ -= size;
    return at;
}
