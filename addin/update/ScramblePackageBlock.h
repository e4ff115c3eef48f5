#pragma once
#include <stdint.h>

// Turns a block stored scrambled in a package back into plain bytes, in place,
// with the 32-bit key stored beside it. Each word's key entry depends on the
// stored words before it, so a block must be descrambled whole, from its start.
// One pass, no allocation; a null buffer or a length below 1 changes nothing.
void ScramblePackageBlock(void* buffer, int length, uint32_t key);
