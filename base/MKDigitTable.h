#pragma once
#include <stdint.h>

// The reverse of a digit alphabet, built at compile time where the alphabet is
// a constant: the digit value of each character, -1 for characters outside it
// (every one above 0xFF among them).
struct MKDigitTable {
    int8_t values[256];

    template <typename Char>
    constexpr MKDigitTable(const Char* alphabet, int n) : values()
    {
        for (int i = 0; i < 256; ++i)
            values[i] = -1;
        for (int i = 0; i < n; ++i) {
            if (uint32_t(alphabet[i]) < 256)
                values[uint32_t(alphabet[i])] = int8_t(i);
        }
    }
};
