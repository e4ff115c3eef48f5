#pragma once
#include "base/MKTArray.h"

// Appending raw characters and UTF-8 to zero-terminated byte arrays. Each
// answers false, leaving the array as it was, when memory runs out.

// Keeps the array zero-terminated: the n bytes replace a non-empty array's
// last (terminating) byte and a zero follows them; nothing for n < 1. The bytes
// may lie inside the array.
bool MKByteArrayAppendChars(MKByteArray& array, const char* bytes, int n);
// The UTF-8 form of count wide characters, appended as by MKByteArrayAppendChars.
bool MKByteArrayAppendUtf8(MKByteArray& array, const wchar_t* text, int count);
