#pragma once
#include <cstdint>
#include <random>
#include <vector>

#include "FuzzTarget.h"

// Makes a new input from the seeds by one to four stacked mutations: bit
// flips, bytes set to boundary values, truncation, length fields inflated to
// huge or off-by-one values, ranges deleted or repeated, and splices of two
// seeds.
class Mutator {
public:
    Mutator(const std::vector<FuzzInput>& seeds, uint32_t seed) : seeds_(seeds), random_(seed) {}

    FuzzInput Next();

private:
    uint32_t Below(uint32_t n) { return n ? random_() % n : 0; }
    void Mutate(std::vector<uint8_t>& bytes);
    void FlipBits(std::vector<uint8_t>& bytes);
    void SetBoundaryByte(std::vector<uint8_t>& bytes);
    void Truncate(std::vector<uint8_t>& bytes);
    void InflateLength(std::vector<uint8_t>& bytes);
    void DeleteRange(std::vector<uint8_t>& bytes);
    void RepeatRange(std::vector<uint8_t>& bytes);
    void Splice(std::vector<uint8_t>& bytes);

    const std::vector<FuzzInput>& seeds_;
    std::mt19937 random_;
};
