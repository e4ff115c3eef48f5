#include "player/engine/PVAudioBlock.h"

#include <cstdlib>
#include <cstring>

PVAudioBlock* PVAudioBlock::Create(const uint8_t* bytes, int32_t size)
{
    if (size <= 0)
        return nullptr;
    auto* block = static_cast<PVAudioBlock*>(std::malloc(sizeof(PVAudioBlock) + static_cast<size_t>(size)));
    if (!block)
        return nullptr;
    block->previous = block->next = nullptr;
    block->size = size;
    std::memcpy(block->Data(), bytes, static_cast<size_t>(size));
    return block;
}

void PVAudioBlock::Free(PVAudioBlock* block)
{
    std::free(block);
}
