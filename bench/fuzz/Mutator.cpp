#include "Mutator.h"

#include <algorithm>

FuzzInput Mutator::Next()
{
    FuzzInput input = seeds_[Below(uint32_t(seeds_.size()))];
    const int count = 1 + int(Below(4));
    for (int i = 0; i < count; ++i)
        Mutate(input.bytes);
    return input;
}

void Mutator::Mutate(std::vector<uint8_t>& bytes)
{
    if (bytes.empty()) {
        bytes.push_back(uint8_t(random_()));
        return;
    }
    switch (Below(10)) {
    case 0:
    case 1:
    case 2:
        FlipBits(bytes);
        break;
    case 3:
        SetBoundaryByte(bytes);
        break;
    case 4:
        Truncate(bytes);
        break;
    case 5:
    case 6:
        InflateLength(bytes);
        break;
    case 7:
        DeleteRange(bytes);
        break;
    case 8:
        RepeatRange(bytes);
        break;
    default:
        Splice(bytes);
        break;
    }
}

void Mutator::FlipBits(std::vector<uint8_t>& bytes)
{
    const int flips = 1 + int(Below(8));
    for (int i = 0; i < flips; ++i)
        bytes[Below(uint32_t(bytes.size()))] ^= uint8_t(1u << Below(8));
}

void Mutator::SetBoundaryByte(std::vector<uint8_t>& bytes)
{
    static const uint8_t kValues[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
    bytes[Below(uint32_t(bytes.size()))] = kValues[Below(sizeof(kValues))];
}

void Mutator::Truncate(std::vector<uint8_t>& bytes)
{
    bytes.resize(Below(uint32_t(bytes.size())));
}

// Readers size things from 16- and 32-bit fields of either byte order: one
// such field at a random place gets a value past what the data hold, or one
// off from what it was.
void Mutator::InflateLength(std::vector<uint8_t>& bytes)
{
    const bool wide = Below(2);
    const size_t width = wide ? 4 : 2;
    if (bytes.size() < width)
        return;
    const size_t at = Below(uint32_t(bytes.size() - width + 1));
    const bool bigEndian = Below(2);
    uint32_t old = 0;
    for (size_t i = 0; i < width; ++i)
        old |= uint32_t(bytes[at + i]) << (8 * (bigEndian ? width - 1 - i : i));
    static const uint32_t kHuge[] = {0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0x10000000, 0x00FFFFFF, 0xFFFF, 0x7FFF, 0x8000};
    uint32_t value;
    switch (Below(4)) {
    case 0:
        value = old + 1;
        break;
    case 1:
        value = old - 1;
        break;
    case 2:
        value = old * 2 + uint32_t(bytes.size());
        break;
    default:
        value = kHuge[Below(sizeof(kHuge) / sizeof(kHuge[0]))];
        break;
    }
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = uint8_t(value >> (8 * (bigEndian ? width - 1 - i : i)));
}

void Mutator::DeleteRange(std::vector<uint8_t>& bytes)
{
    const size_t at = Below(uint32_t(bytes.size()));
    const size_t length = 1 + Below(uint32_t(std::min<size_t>(bytes.size() - at, 256)));
    bytes.erase(bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + length));
}

void Mutator::RepeatRange(std::vector<uint8_t>& bytes)
{
    if (bytes.size() > (1u << 22))
        return;
    const size_t at = Below(uint32_t(bytes.size()));
    const size_t length = 1 + Below(uint32_t(std::min<size_t>(bytes.size() - at, 256)));
    const std::vector<uint8_t> range(bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + length));
    const int times = 1 + int(Below(16));
    const size_t to = Below(uint32_t(bytes.size() + 1));
    for (int i = 0; i < times; ++i)
        bytes.insert(bytes.begin() + ptrdiff_t(to), range.begin(), range.end());
}

// The start of this input and the rest of another from any point.
void Mutator::Splice(std::vector<uint8_t>& bytes)
{
    const std::vector<uint8_t>& other = seeds_[Below(uint32_t(seeds_.size()))].bytes;
    if (other.empty())
        return;
    bytes.resize(Below(uint32_t(bytes.size() + 1)));
    const size_t from = Below(uint32_t(other.size()));
    bytes.insert(bytes.end(), other.begin() + ptrdiff_t(from), other.end());
}
