#pragma once
#include <stdint.h>

class UpdateClock;

// Codes 1 to 17 name how often the update check runs.
bool IsValidUpdateFrequency(int32_t code);

// 1 from 2010-07-01 00:00 to 2011-07-01 00:00 UTC (both ends included), else
// 2. With the system clock the answer is computed once and then kept, so it
// never changes while the process runs.
int32_t DefaultUpdateFrequency(const UpdateClock& clock);
