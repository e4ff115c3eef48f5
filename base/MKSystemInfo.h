#pragma once
#include "base/MKString.h"
#include "base/MKVersion.h"

#include <stdint.h>

class MKTextBuffer;

// Processor, operating-system, memory and Direct3D facts of the machine for
// the diagnostic report. A plain record: Collect fills it from the system,
// tests may fill it themselves.
class MKSystemInfo {
public:
    MKSystemInfo() = default;

    // Reads every fact; missing ones stay empty or 0. Always true.
    bool Collect();

    // "Processor: <id>, <vendor>, <n> Mhz, [<k> cores, ]SSE|NoSSE, SSE2|NoSSE2\n"
    void WriteProcessor(MKTextBuffer& out) const;
    // "Memory:\n" and the load, physical and virtual lines in MB.
    void WriteMemory(MKTextBuffer& out) const;

    MKString processorIdentifier;
    MKString vendorIdentifier;
    int32_t clockMhz = 0;
    int32_t processorCount = 0;
    bool hasSse = false;
    bool hasSse2 = false;
    MKString osVersion;  // "major.minor Build n"
    MKString osName;
    MKString productName;
    MKVersion direct3d9Version;  // 0.0.-1.-1 when unknown
    int32_t memoryLoad = 0;      // percent
    uint64_t physicalTotal = 0;
    uint64_t physicalAvailable = 0;
    uint64_t virtualTotal = 0;
    uint64_t virtualAvailable = 0;
};
