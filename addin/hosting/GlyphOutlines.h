#pragma once
#include "base/MKString.h"

#include <stdint.h>

class MKBinaryWriter;

// The outlines of text in an installed font, as effect movies ask for them
// ("__vqz_GetGlyphs"): the request is a face name followed by a bold and an
// italic flag character ('0' off), ";" and the characters. The answer is the
// base-64 text of little-endian records: the font's four metrics (ascent,
// descent, internal and external leading) when no characters are asked for,
// else one record per UTF-16 code unit (each half of a surrogate pair too):
// uint8 ok (0: no outline, the record ends), int32 advance, int32 command
// count n, int32 coordinate count m, n command bytes (1 move-to, 2 line-to,
// 3 quadratic curve: control and end point) and m 16.16 coordinates in
// units of a 2048-unit em, y growing upward from the baseline. Malformed
// requests and fonts that cannot be made give an empty answer.
namespace GlyphOutlines {

MKString Answer(const MKString& request);

// Writes the record of one glyph from its native outline (the buffer
// GetGlyphOutline fills with GGO_NATIVE): ok 1 and the path, or the single
// byte 0 when a size field of the buffer does not fit inside it.
void WriteRecord(const uint8_t* outline, int size, int advance, MKBinaryWriter& writer);

}  // namespace GlyphOutlines
