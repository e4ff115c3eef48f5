#include "player/engine/PVArena.h"

#include <cstdlib>

namespace {

constexpr size_t kHeader = (sizeof(void*) + 7) & ~size_t{7};

}  // namespace

PVArena::~PVArena()
{
    while (blocks_) {
        Block* next = blocks_->next;
        std::free(blocks_);
        blocks_ = next;
    }
}

void* PVArena::AllocateInNewBlock(size_t size)
{
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
    void* at = free_;
    free_ += size;
    left_ -= size;
    return at;
}
