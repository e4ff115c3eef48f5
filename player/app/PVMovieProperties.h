#pragma once
#include "base/MKString.h"

// The texts of the Movie Properties dialog that are more than one format.

// The length of frameCount frames at rate frames per second, rounded to whole
// seconds (at least 1; a movie without a clock, rate 0, reads 1 second):
// hours, minutes and seconds each only when not 0, joined by blanks; the three
// formats take one %d.
MKString PVFormatDuration(int frameCount, float rate, const char* hoursFormat, const char* minutesFormat,
                          const char* secondsFormat);
// Decimal digits grouped by three with a blank between groups, then " bytes";
// -1 (unreadable) reads "-1 bytes".
MKString PVFormatFileSize(int size);
// Drive and folder of the path without their trailing separator; a drive
// alone keeps its backslash ("C:\").
MKString PVFormatLocation(const char* path);
// File name and extension of the path.
MKString PVFormatFileName(const char* path);
