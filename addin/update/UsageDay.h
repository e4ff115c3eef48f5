#pragma once
#include "base/MKDateTime.h"

#include <stdint.h>

// Usage is counted per local calendar day, numbered from 2009-01-01.

// Whole days from 2009-01-01 00:00 to the local time; 0 before that.
int32_t UsageDayIndex(const MKDateTime& localTime);
// 2009-01-01 plus index days, at midnight.
MKDateTime UsageDayDate(int32_t index);
