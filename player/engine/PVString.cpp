#include "player/engine/PVString.h"

#include <cstdlib>
#include <cstring>

PVString::~PVString()
{
    Clear();
}

bool PVString::AssignAny(const char* text, int length)
{
    if (length <= 0) {
        Clear();
        return true;
    }
    // `text` may lie in this string's own bytes: copy before freeing them.
    if (length < kInlineSize) {
        std::memmove(inline_, text, length);
        if (bytes_ != inline_)
            std::free(bytes_);
        bytes_ = inline_;
    } else if (bytes_ == inline_ || !bytes_ || length > length_) {
        char* grown = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
        if (!grown)
            return false;
        std::memcpy(grown, text, length);
        if (bytes_ != inline_)
            std::free(bytes_);
        bytes_ = grown;
    } else {
        std::memmove(bytes_, text, length);
    }
    bytes_[length] = 0;
    length_ = length;
    return true;
}

void PVString::Clear()
{
    // Most strings never held a heap block; those skip the allocator's call.
    if (bytes_ && bytes_ != inline_)
        std::free(bytes_);
    bytes_ = nullptr;
    length_ = 0;
}

bool PVString::Equals(const char* text, int length) const
{
    return length == length_ && (length == 0 || std::memcmp(bytes_, text, length) == 0);
}
