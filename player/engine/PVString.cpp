#include "player/engine/PVString.h"

#include <cstdlib>
#include <cstring>

PVString::~PVString()
{
    std::free(bytes_);
}

bool PVString::Assign(const char* text, int length)
{
    if (length <= 0) {
        Clear();
        return true;
    }
    if (length > length_ || !bytes_) {
        char* grown = static_cast<char*>(std::realloc(bytes_, static_cast<size_t>(length) + 1));
        if (!grown)
            return false;
        bytes_ = grown;
    }
    std::memmove(bytes_, text, length);
    bytes_[length] = 0;
    length_ = length;
    return true;
}

void PVString::Clear()
{
    std::free(bytes_);
    bytes_ = nullptr;
    length_ = 0;
}

bool PVString::Equals(const char* text, int length) const
{
    return length == length_ && (length == 0 || std::memcmp(bytes_, text, length) == 0);
}
