#pragma once
#include <cstdint>

// Inflates one whole zlib stream from `source` into exactly
// `destinationLength` bytes. True when the stream ended cleanly and fit;
// a stream that ends short leaves the rest of the destination zero, so no
// caller ever sees bytes that were never written.
bool InflateBlock(const uint8_t* source, uint32_t sourceLength, uint8_t* destination, uint32_t destinationLength);
