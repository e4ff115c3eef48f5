#pragma once
#include "hostapi/PowerPointInterfaces.h"

#include <stdint.h>

class MKCoTaskMemBuffer;

// A product effect's data lives in the last two command behaviours of its
// PowerPoint effect: the marker with the effect's id, then the data as an
// effect data text.

// Writes the marker (when `id` is given, or for new behaviours) and the data.
// A custom effect with at most one behaviour gains two verb commands of
// 0.001 s; one with exactly two is refused; one with more has its last two
// rewritten when they already carry our marker, else gains two new ones.
// The data text is made before anything changes and is written before the
// marker, and new behaviours that cannot be completed are taken out again:
// the effect never carries a marker without its data. Never raises.
bool WriteShapeEffect(PowerPoint::Effect* effect, const wchar_t* id, const uint8_t* bytes, int length);

// The data of a marked effect in task memory the caller takes over; no or an
// empty data text gives true with length 0. False without the marker or for
// a data text that does not decode.
bool ReadShapeEffectData(PowerPoint::Effect* effect, MKCoTaskMemBuffer& data, int* length);
